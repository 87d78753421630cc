// The rules that turn a version record into the operating system record, fed with records of every
// family, and the language helpers on the system's own locale data.
#include "probes/system/OsVersionRules.h"
#include "framework/HResult.h"
#include "probes/system/LanguageInfo.h"
#include "probes/system/QueryOsInfo.h"
#include "tests/probes/system/SystemProbeTesting.h"
#include "tests/support/RegistryScratch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

using namespace corvane;

namespace {

OSVERSIONINFOEXW Record(DWORD platform, DWORD major, DWORD minor, DWORD build,
                        const wchar_t* csdVersion = L"", WORD servicePackMajor = 0, WORD servicePackMinor = 0,
                        BYTE productType = 0, WORD suiteMask = 0)
{
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    record.dwBuildNumber = build;
    record.dwPlatformId = platform;
    ::lstrcpynW(record.szCSDVersion, csdVersion, 128);
    record.wServicePackMajor = servicePackMajor;
    record.wServicePackMinor = servicePackMinor;
    record.wProductType = productType;
    record.wSuiteMask = suiteMask;
    return record;
}

OSVERSIONINFOEXW Nt(DWORD major, DWORD minor, DWORD build, WORD servicePackMajor, WORD servicePackMinor,
                    BYTE productType, WORD suiteMask)
{
    return Record(VER_PLATFORM_WIN32_NT, major, minor, build, L"", servicePackMajor, servicePackMinor,
                  productType, suiteMask);
}

OSVERSIONINFOEXW Win9x(DWORD major, DWORD minor, DWORD build, const wchar_t* csdVersion)
{
    return Record(VER_PLATFORM_WIN32_WINDOWS, major, minor, build, csdVersion);
}

struct RuleCase
{
    const char* what;
    OSVERSIONINFOEXW record;
    const wchar_t* name;
    const wchar_t* platform;
    const wchar_t* servicePack;
    const wchar_t* product;
    const wchar_t* suites;
    const wchar_t* version;
};

OsInfo Apply(const OSVERSIONINFOEXW& record, bool extended)
{
    OsInfo info{};
    info.size = sizeof(info);
    ApplyVersionRecord(&info, record, extended);
    return info;
}

void ExpectInfo(const RuleCase& expected, const OsInfo& info)
{
    SCOPED_TRACE(expected.what);
    EXPECT_STREQ(expected.name, info.name);
    EXPECT_STREQ(expected.platform, info.platform);
    EXPECT_STREQ(expected.servicePack, info.service_pack);
    EXPECT_STREQ(expected.product, info.product_type);
    EXPECT_STREQ(expected.suites, info.suites);
    EXPECT_EQ(expected.version, FormatVersionText(info));
}

} // namespace

TEST(OsVersionRules, ExtendedRecords)
{
    const RuleCase cases[] = {
        {"XP SP2", Nt(5, 1, 2600, 2, 0, 1, 0x0100), L"Windows XP Service Pack 2", L"WIN32.NT", L"SP2",
         L"NT_WORKSTATION", L"SUITE_SINGLEUSERTS", L"5.1.2600 SP2"},
        {"minor number only in the short text", Nt(5, 1, 2600, 1, 1, 1, 0), L"Windows XP Service Pack 1",
         L"WIN32.NT", L"SP1.1", L"NT_WORKSTATION", L"", L"5.1.2600 SP1.1"},
        {"service pack 2.1", Nt(5, 2, 3790, 2, 1, 3, 0), L"Windows Server 2003 Service Pack 2", L"WIN32.NT",
         L"SP2.1", L"NT_SERVER", L"", L"5.2.3790 SP2.1"},
        {"no service pack", Nt(5, 0, 2195, 0, 0, 1, 0), L"Windows 2000", L"WIN32.NT", L"", L"NT_WORKSTATION",
         L"", L"5.0.2195 "},
        {"6.1 has no name of its own", Nt(6, 1, 7600, 0, 0, 1, 0), L"Windows NT 6.1", L"WIN32.NT", L"",
         L"NT_WORKSTATION", L"", L"6.1.7600 "},
        {"suites in table order", Nt(5, 2, 3790, 0, 0, 3, 0x0112), L"Windows Server 2003", L"WIN32.NT", L"",
         L"NT_SERVER", L"SUITE_ENTERPRISE|SUITE_TERMINAL|SUITE_SINGLEUSERTS", L"5.2.3790 "},
        {"unknown product type and suite bit", Nt(6, 0, 6002, 0, 0, 4, 0x2000), L"Windows Vista", L"WIN32.NT",
         L"", L"NT_TYPE_0004", L"", L"6.0.6002 "},
        {"domain controller", Nt(5, 2, 3790, 0, 0, 2, 0), L"Windows Server 2003", L"WIN32.NT", L"",
         L"NT_DOMAIN_CONTROLLER", L"", L"5.2.3790 "},
        {"no product type", Nt(4, 0, 1381, 6, 0, 0, 0), L"Windows NT 4.0 Service Pack 6", L"WIN32.NT", L"SP6",
         L"", L"", L"4.0.1381 SP6"},
        // Windows 9x builds carry the version in the high word; the build number is shown whole.
        {"98 SE", Win9x(4, 10, 0x040A08AE, L" A "), L"Windows 98 SE", L"WIN32.WINDOWS", L"", L"WIN_A", L"",
         L"4.10.67766446 "},
        {"98 SE in lower case", Win9x(4, 10, 2222, L" a"), L"Windows 98 SE", L"WIN32.WINDOWS", L"", L"WIN_A",
         L"", L"4.10.2222 "},
        {"98", Win9x(4, 10, 1998, L" "), L"Windows 98", L"WIN32.WINDOWS", L"", L"", L"", L"4.10.1998 "},
        {"95 OSR2 from a lower-case c", Win9x(4, 0, 950, L" c"), L"Windows 95 OSR2", L"WIN32.WINDOWS", L"",
         L"WIN_C", L"", L"4.0.950 "},
        {"95 with A", Win9x(4, 0, 950, L" a"), L"Windows 95", L"WIN32.WINDOWS", L"", L"WIN_A", L"",
         L"4.0.950 "},
        {"95 plain", Win9x(4, 0, 950, L""), L"Windows 95", L"WIN32.WINDOWS", L"", L"", L"", L"4.0.950 "},
        {"ME", Win9x(4, 90, 3000, L" A"), L"Windows ME", L"WIN32.WINDOWS", L"", L"", L"", L"4.90.3000 "},
        {"unnamed 9x", Win9x(4, 20, 1, L" A"), L"Windows 9x 4.20", L"WIN32.WINDOWS", L"", L"", L"",
         L"4.20.1 "},
        {"Win32s", Record(VER_PLATFORM_WIN32s, 3, 10, 0, L"Service Pack 1", 1, 0, 1, 0x0100),
         L"Win32s (Wow!)", L"", L"", L"", L"", L"3.10.0 "},
        {"unknown platform", Record(3, 10, 0, 19045, L"", 1, 0, 1, 0x0100), L"", L"", L"", L"", L"",
         L"10.0.19045 "},
    };
    for (const RuleCase& expected : cases)
        ExpectInfo(expected, Apply(expected.record, true));
}

TEST(OsVersionRules, BasicNtRecordReadsServicePackTextAndRegistryProductType)
{
    struct BasicCase
    {
        const wchar_t* productType;
        RuleCase expected;
    };
    const BasicCase cases[] = {
        {L"LanmanNT",
         {"LanmanNT", Record(2, 5, 1, 2600, L"Service Pack 3"), L"Windows XP", L"WIN32.NT", L"SP3",
          L"NT_SERVER", L"", L"5.1.2600 SP3"}},
        {L"WinNT",
         {"WinNT, letter after the number", Record(2, 4, 0, 1381, L"Service Pack 6a"), L"Windows NT 4.0",
          L"WIN32.NT", L"SP6A", L"NT_WORKSTATION", L"", L"4.0.1381 SP6A"}},
        {L"ServerNT",
         {"ServerNT is compared case-sensitively", Record(2, 5, 0, 2195, L"Service Pack 4 (beta)"),
          L"Windows 2000", L"WIN32.NT", L"SP4", L"", L"", L"5.0.2195 SP4"}},
        {L"SERVERNT",
         {"SERVERNT", Record(2, 5, 0, 2195, L"Update, service pack: 2"), L"Windows 2000", L"WIN32.NT", L"SP2",
          L"NT_SERVER", L"SUITE_ENTERPRISE", L"5.0.2195 SP2"}},
        {L"WinNT",
         {"phrase without a number", Record(2, 5, 1, 2600, L"Service Pack"), L"Windows XP", L"WIN32.NT", L"",
          L"NT_WORKSTATION", L"", L"5.1.2600 "}},
    };
    for (const BasicCase& basic : cases)
    {
        test::CRegistryScratch productOptions(HKEY_LOCAL_MACHINE,
                                              L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions");
        const CRegKey key = productOptions.Create();
        const auto* data = reinterpret_cast<const BYTE*>(basic.productType);
        const DWORD bytes = static_cast<DWORD>((std::wcslen(basic.productType) + 1) * sizeof(wchar_t));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key.Get(), L"ProductType", 0, REG_SZ, data, bytes))
            << "RegSetValueExW ProductType";
        ExpectInfo(basic.expected, Apply(basic.expected.record, false));
    }
}

TEST(OsVersionRules, AllThirteenSuiteNamesFit)
{
    OsInfo info{};
    EXPECT_EQ(251, FormatSuiteNames(&info, 0xFFFF));
    EXPECT_STREQ(L"SUITE_SMALLBUSINESS|SUITE_ENTERPRISE|SUITE_BACKOFFICE|SUITE_COMMUNICATIONS|SUITE_TERMINAL|"
                 L"SUITE_SMALLBUSINESS_RESTRICTED|SUITE_EMBEDDEDNT|SUITE_DATACENTER|SUITE_SINGLEUSERTS|"
                 L"SUITE_PERSONAL|SUITE_BLADE|SUITE_EMBEDDED_RESTRICTED|SUITE_SECURITY_APPLIANCE",
                 info.suites);
}

TEST(QueryOsInfo, RefusesANullOrTooSmallRecordAndLeavesItAlone)
{
    EXPECT_EQ(E_INVALIDARG, QueryOsInfo(nullptr));
    OsInfo info{};
    std::memset(&info, 0x5A, sizeof(info));
    info.size = sizeof(info) - 1;
    EXPECT_EQ(E_INVALIDARG, QueryOsInfo(&info));
    EXPECT_EQ(0x5A5A5A5Au, info.major_version);
}

TEST(QueryOsInfo, TakesNumbersAndLanguagesFromTheRunningSystem)
{
    OSVERSIONINFOEXW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    ASSERT_TRUE(::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record))) << "GetVersionExW";
    OsInfo info{};
    info.size = sizeof(info);
    ASSERT_EQ(S_OK, QueryOsInfo(&info));
    EXPECT_EQ(record.dwBuildNumber, info.build_number);
    EXPECT_EQ(::GetUserDefaultLangID(), info.user_lang_id);
    EXPECT_EQ(test::LanguageCodeText(info.system_lang_id), info.system_lang_code);
    EXPECT_EQ(test::LanguageCodeText(info.user_lang_id), info.user_lang_code);
}

TEST(LanguageInfo, CodeIsLanguageUnderscoreCountry)
{
    wchar_t code[LanguageCodeLength] = L"xxxxx";
    EXPECT_EQ(S_OK, FormatLanguageCode(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), code));
    EXPECT_STREQ(L"de_AT", code);
    EXPECT_EQ(E_INVALIDARG, FormatLanguageCode(0x0409, nullptr));
}

TEST(LanguageInfo, ThreeLetterLanguageNameGivesNoCode)
{
    // Konkani's ISO 639 name is "kok": it does not fit the three-character buffer.
    wchar_t code[LanguageCodeLength] = L"xxxxx";
    EXPECT_EQ(HResultFromWin32(ERROR_INSUFFICIENT_BUFFER),
              FormatLanguageCode(MAKELANGID(LANG_KONKANI, SUBLANG_KONKANI_INDIA), code));
    EXPECT_STREQ(L"", code);
}

TEST(LanguageInfo, DisplayNameIsEmptyWhenItDoesNotFit)
{
    wchar_t name[260] = L"stale";
    EXPECT_EQ(S_OK, GetLanguageName(0x0C07, name, 260));
    EXPECT_EQ(test::LanguageDisplayName(0x0C07), name);
    wchar_t tiny[3] = L"xx";
    EXPECT_EQ(HResultFromWin32(ERROR_INSUFFICIENT_BUFFER), GetLanguageName(0x0C07, tiny, 3));
    EXPECT_STREQ(L"", tiny);
    EXPECT_EQ(E_INVALIDARG, GetLanguageName(0x0409, nullptr, 260));
}
