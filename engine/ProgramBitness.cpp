#include "engine/ProgramBitness.h"

#include "framework/SystemLibrary.h"
#include "report/ReportVocabulary.h"

#include <windows.h>

namespace corvane {

const wchar_t* ProgramBitnessText()
{
#ifdef _WIN64
    return xml::Program64Bit;
#else
    // Windows XP before SP2 has no IsWow64Process; it is looked up so that the program still starts there,
    // and a system without it runs no 64-bit code at all.
    using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = GetKernelProcAs<IsWow64ProcessProc>("IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64)
        return xml::Program32BitUnderWow64;
    return xml::Program32Bit;
#endif
}

} // namespace corvane
