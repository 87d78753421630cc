#include "probes/inventory/RegistryView.h"

#include "framework/SystemLibrary.h"

namespace corvane {

bool RunsUnderWow64()
{
#ifdef _WIN64
    return false;
#else
    using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = GetKernelProcAs<IsWow64ProcessProc>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
#endif
}

RegistryViews ThisProgramRegistryViews()
{
#ifdef _WIN64
    return {{Bitness::X64, 0}, RegistryView{Bitness::X86, KEY_WOW64_32KEY}};
#else
    if (RunsUnderWow64())
        return {{Bitness::X86, 0}, RegistryView{Bitness::X64, KEY_WOW64_64KEY}};
    return {{Bitness::X86, 0}, std::nullopt};
#endif
}

std::optional<RegistryView> SixtyFourBitView(const RegistryViews& views)
{
    if (views.own.bitness == Bitness::X64)
        return views.own;
    return views.other;
}

} // namespace corvane
