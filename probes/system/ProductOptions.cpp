#include "probes/system/ProductOptions.h"

#include "framework/UniqueHandle.h"
#include "probes/system/FixedText.h"

namespace corvane {

namespace {
constexpr const wchar_t* kProductOptionsKey = L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr DWORD kValueBufferBytes = 256;
} // namespace

int QueryProductOptions(OsInfo* info)
{
    CRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductOptionsKey, 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS)
        return 0;

    // One character more than the buffer holds, so that a value without a terminator still ends.
    wchar_t value[kValueBufferBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kValueBufferBytes;
    const LONG status = ::RegQueryValueExW(key.Get(), L"ProductType", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(value), &size);
    key.Reset();
    if (status != ERROR_SUCCESS || size > kValueBufferBytes)
        return 0;
    value[size / sizeof(wchar_t)] = L'\0';

    if (::lstrcmpiW(value, L"WINNT") == 0)
    {
        SetFieldText(info->product_type, L"NT_WORKSTATION");
    }
    else if (::lstrcmpiW(value, L"LANMANNT") == 0)
    {
        SetFieldText(info->product_type, L"NT_SERVER");
    }
    else if (::lstrcmpW(value, L"SERVERNT") == 0) // only this spelling, unlike the two above
    {
        SetFieldText(info->product_type, L"NT_SERVER");
        SetFieldText(info->suites, L"SUITE_ENTERPRISE");
    }
    return 1;
}

} // namespace corvane
