#include "probes/system/OsVersionRules.h"

#include "framework/StringTable.h"
#include "probes/system/FixedText.h"
#include "probes/system/ProductOptions.h"

#include <cwchar>
#include <cwctype>

namespace corvane {

namespace {

struct SuiteName
{
    WORD bit;
    const wchar_t* name;
};

// In the order in which the names are written.
constexpr SuiteName kSuiteNames[] = {
    {0x0001, L"SUITE_SMALLBUSINESS"},
    {0x0002, L"SUITE_ENTERPRISE"},
    {0x0004, L"SUITE_BACKOFFICE"},
    {0x0008, L"SUITE_COMMUNICATIONS"},
    {0x0010, L"SUITE_TERMINAL"},
    {0x0020, L"SUITE_SMALLBUSINESS_RESTRICTED"},
    {0x0040, L"SUITE_EMBEDDEDNT"},
    {0x0080, L"SUITE_DATACENTER"},
    {0x0100, L"SUITE_SINGLEUSERTS"},
    {0x0200, L"SUITE_PERSONAL"},
    {0x0400, L"SUITE_BLADE"},
    {0x0800, L"SUITE_EMBEDDED_RESTRICTED"},
    {0x1000, L"SUITE_SECURITY_APPLIANCE"},
};

// Only the letters A to C matter to the Windows 9x rules, so the ASCII upper case is exact.
wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool IsDecimalDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

void ApplyWindows9xRules(OsInfo* info, const OSVERSIONINFOEXW& record)
{
    SetFieldText(info->platform, PlatformWindows);
    SetFieldText(info->name, FormatText(L"Windows 9x %d.%d", static_cast<int>(record.dwMajorVersion),
                                        static_cast<int>(record.dwMinorVersion)));
    if (record.dwMajorVersion != 4)
        return;

    // The edition letter stands in the second character; an empty text has none.
    const wchar_t edition = record.szCSDVersion[0] ? AsciiUpper(record.szCSDVersion[1]) : L'\0';
    switch (record.dwMinorVersion)
    {
    case 0:
        if (edition == L'B' || edition == L'C')
            SetFieldText(info->name, L"Windows 95 OSR2");
        else
            SetFieldText(info->name, L"Windows 95");
        if (edition == L'A' || edition == L'B' || edition == L'C')
            SetFieldText(info->product_type, FormatText(L"WIN_%c", edition));
        break;
    case 10:
        SetFieldText(info->name, edition == L'A' ? L"Windows 98 SE" : L"Windows 98");
        if (edition == L'A')
            SetFieldText(info->product_type, L"WIN_A");
        break;
    case 90:
        SetFieldText(info->name, L"Windows ME");
        break;
    default:
        break;
    }
}

std::wstring ProductTypeName(BYTE productType)
{
    switch (productType)
    {
    case 0:
        return std::wstring();
    case VER_NT_WORKSTATION:
        return L"NT_WORKSTATION";
    case VER_NT_DOMAIN_CONTROLLER:
        return L"NT_DOMAIN_CONTROLLER";
    case VER_NT_SERVER:
        return L"NT_SERVER";
    default:
        return FormatText(L"NT_TYPE_%4.4X", static_cast<unsigned>(productType));
    }
}

const wchar_t* NtReleaseName(DWORD major, DWORD minor)
{
    struct Release
    {
        DWORD major;
        DWORD minor;
        const wchar_t* name;
    };
    static constexpr Release releases[] = {
        {5, 0, L"Windows 2000"},
        {5, 1, L"Windows XP"},
        {5, 2, L"Windows Server 2003"},
        {6, 0, L"Windows Vista"},
    };
    for (const Release& release : releases)
    {
        if (release.major == major && release.minor == minor)
            return release.name;
    }
    return nullptr;
}

// The basic record only has the service pack as free text, e.g. "Service Pack 6a": its number, upper
// case, up to the next blank.
void ServicePackFromText(OsInfo* info, const wchar_t* csdVersion)
{
    wchar_t upper[128];
    SetFieldText(upper, csdVersion);
    ::CharUpperBuffW(upper, static_cast<DWORD>(std::wcslen(upper)));

    static constexpr wchar_t phrase[] = L"SERVICE PACK";
    const wchar_t* cursor = std::wcsstr(upper, phrase);
    if (!cursor)
        return;
    cursor += sizeof(phrase) / sizeof(phrase[0]) - 1;
    while (*cursor && !IsDecimalDigit(*cursor))
        ++cursor;
    if (!*cursor)
        return;
    std::wstring servicePack = L"SP";
    while (*cursor && !std::iswspace(*cursor))
        servicePack += *cursor++;
    SetFieldText(info->service_pack, servicePack);
}

void ApplyNtRules(OsInfo* info, const OSVERSIONINFOEXW& record, bool extended)
{
    SetFieldText(info->platform, PlatformNt);
    const wchar_t* release = NtReleaseName(record.dwMajorVersion, record.dwMinorVersion);
    if (release)
        SetFieldText(info->name, release);
    else
        SetFieldText(info->name, FormatText(L"Windows NT %ld.%ld", static_cast<long>(record.dwMajorVersion),
                                            static_cast<long>(record.dwMinorVersion)));

    if (!extended)
    {
        ServicePackFromText(info, record.szCSDVersion);
        QueryProductOptions(info);
        return;
    }

    SetFieldText(info->product_type, ProductTypeName(record.wProductType));
    FormatSuiteNames(info, record.wSuiteMask);
    if (record.wServicePackMajor != 0)
    {
        const int major = record.wServicePackMajor;
        const int minor = record.wServicePackMinor;
        SetFieldText(info->service_pack,
                     minor != 0 ? FormatText(L"SP%d.%d", major, minor) : FormatText(L"SP%d", major));
        // The name carries only the major number.
        AppendFieldText(info->name, FormatText(L" Service Pack %d", major).c_str());
    }
}

} // namespace

int FormatSuiteNames(OsInfo* info, WORD suiteMask)
{
    info->suites[0] = L'\0';
    for (const SuiteName& suite : kSuiteNames)
    {
        if ((suiteMask & suite.bit) == 0)
            continue;
        const std::wstring addition = (info->suites[0] ? std::wstring(L"|") : std::wstring()) + suite.name;
        if (!AppendFieldText(info->suites, addition.c_str()))
            break;
    }
    return static_cast<int>(std::wcslen(info->suites));
}

std::wstring FormatVersionText(const OsInfo& info)
{
    return FormatText(L"%lu.%lu.%lu %s", static_cast<unsigned long>(info.major_version),
                      static_cast<unsigned long>(info.minor_version),
                      static_cast<unsigned long>(info.build_number), info.service_pack);
}

void ApplyVersionRecord(OsInfo* info, const OSVERSIONINFOEXW& record, bool extended)
{
    info->major_version = record.dwMajorVersion;
    info->minor_version = record.dwMinorVersion;
    info->build_number = record.dwBuildNumber;
    info->name[0] = L'\0';
    info->platform[0] = L'\0';
    info->service_pack[0] = L'\0';
    info->product_type[0] = L'\0';
    info->suites[0] = L'\0';

    switch (record.dwPlatformId)
    {
    case VER_PLATFORM_WIN32s:
        SetFieldText(info->name, L"Win32s (Wow!)");
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        ApplyWindows9xRules(info, record);
        break;
    case VER_PLATFORM_WIN32_NT:
        ApplyNtRules(info, record, extended);
        break;
    default:
        break; // an unknown family: no texts
    }
}

} // namespace corvane
