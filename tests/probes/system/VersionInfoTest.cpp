// The version resource reader on the fixture modules: translations, fixed versions, strings, and the
// steps at which loading fails.
#include "probes/system/VersionInfo.h"

#include "tests/probes/system/SystemProbeTesting.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvane;
using test::SystemFixturePath;

TEST(VersionInfo, EmptyObjectAnswersNothing)
{
    CVersionInfo info;
    EXPECT_EQ(0u, info.Translation());
    VS_FIXEDFILEINFO fixed{};
    EXPECT_FALSE(info.GetFixedInfo(fixed));
    EXPECT_EQ(L"", info.GetFileVersionText(L'.'));
    std::wstring text = L"stale";
    ::SetLastError(0xdeadbeef);
    EXPECT_FALSE(info.QueryString(L"CompanyName", text));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_DATA), ::GetLastError());
    EXPECT_EQ(L"", text);
}

TEST(VersionInfo, LoadsTranslationFixedVersionsAndStrings)
{
    CVersionInfo info;
    ASSERT_EQ(S_FALSE, info.Load(SystemFixturePath(L"versioned_en.dll").c_str()));
    EXPECT_EQ(0x040904B0u, info.Translation());
    VS_FIXEDFILEINFO fixed{};
    ASSERT_TRUE(info.GetFixedInfo(fixed));
    EXPECT_EQ(0x000B0000u, fixed.dwFileVersionMS);
    EXPECT_EQ(0x20190000u, fixed.dwFileVersionLS);
    EXPECT_EQ(L"11.0.8217.0", info.GetFileVersionText(L'.'));
    EXPECT_EQ(L"11,0,8217,0", info.GetFileVersionText(L','));
    EXPECT_EQ(L"11.0.5510.0", info.GetProductVersionText(L'.'));

    std::wstring company;
    EXPECT_TRUE(info.QueryString(L"CompanyName", company));
    EXPECT_EQ(L"Corvane Fixtures & Partners", company); // the value's terminator is not part of the text
    EXPECT_FALSE(info.QueryString(L"LegalCopyright", company));
    EXPECT_EQ(L"", company);

    info.Free();
    EXPECT_EQ(0u, info.Translation());
    EXPECT_FALSE(info.GetFixedInfo(fixed));
}

TEST(VersionInfo, StringSubBlockHasTheTranslationInLowerCaseHex)
{
    EXPECT_EQ(L"\\StringFileInfo\\040904b0\\CompanyName",
              CVersionInfo::StringSubBlock(0x040904B0, L"CompanyName"));
}

TEST(VersionInfo, AnotherTranslationIsTakenFromTheTable)
{
    CVersionInfo info;
    ASSERT_EQ(S_FALSE, info.Load(SystemFixturePath(L"versioned_de.dll").c_str()));
    EXPECT_EQ(0x040704E4u, info.Translation());
    std::wstring company;
    EXPECT_TRUE(info.QueryString(L"CompanyName", company));
    EXPECT_EQ(L"Pr\u00fcfmodul GmbH", company);
    EXPECT_FALSE(info.QueryString(L"CompanyName", company, 0x040904B0));
}

TEST(VersionInfo, EachFailingStepGivesItsCodeAndLeavesTheObjectEmpty)
{
    struct Failure
    {
        const wchar_t* module;
        HRESULT code;
    };
    const Failure failures[] = {
        {L"no such module.dll", static_cast<HRESULT>(0x80070002)}, // short path: file not found
        {L"unversioned.dll", static_cast<HRESULT>(0x80070714)},    // size: resource data not found
        {L"untranslated.dll", static_cast<HRESULT>(0x80070715)},   // translation table: type not found
    };
    for (const Failure& failure : failures)
    {
        CVersionInfo info;
        ASSERT_EQ(S_FALSE, info.Load(SystemFixturePath(L"versioned_en.dll").c_str()));
        EXPECT_EQ(failure.code, info.Load(SystemFixturePath(failure.module).c_str()))
            << test::ToUtf8(failure.module);
        EXPECT_EQ(0u, info.Translation());
        std::wstring company;
        EXPECT_FALSE(info.QueryString(L"CompanyName", company));
    }
}

// Hand-made version blocks: a value of length 0, and a last value whose length has no terminator in
// it, directly followed by the next block's header. Each is exactly what its length says.
TEST(VersionInfo, AStringIsExactlyItsOwnLengthEvenWithoutATerminator)
{
    struct Case
    {
        const wchar_t* module;
        const wchar_t* company;
    };
    const Case cases[] = {{L"company_empty.dll", L""},
                          {L"company_unterminated.dll", L"Corvane Unterminated"}};
    for (const Case& c : cases)
    {
        CVersionInfo info;
        ASSERT_EQ(S_FALSE, info.Load(SystemFixturePath(c.module).c_str())) << test::ToUtf8(c.module);
        std::wstring company = L"stale";
        EXPECT_TRUE(info.QueryString(L"CompanyName", company)) << test::ToUtf8(c.module);
        EXPECT_EQ(c.company, company) << test::ToUtf8(c.module);
    }
}

TEST(VersionInfo, AStepThatFailsWithoutLastErrorIsStillAFailure)
{
    // A short path too long for the buffer comes back as its length alone, with no last error.
    test::CDeepModuleCopy deep(SystemFixturePath(L"versioned_en.dll"));
    ASSERT_TRUE(deep.IsValid());
    CVersionInfo info;
    ::SetLastError(ERROR_ACCESS_DENIED); // stale, from an earlier call
    EXPECT_EQ(E_FAIL, info.Load(deep.Path().c_str()));
}

TEST(VersionInfo, NullPathMeansTheProgramsOwnFile)
{
    wchar_t own[MAX_PATH];
    ASSERT_NE(0u, ::GetModuleFileNameW(nullptr, own, MAX_PATH)) << "GetModuleFileNameW";
    CVersionInfo named;
    CVersionInfo implicit;
    EXPECT_EQ(named.Load(own), implicit.Load(nullptr));
    EXPECT_EQ(named.Translation(), implicit.Translation());
    EXPECT_EQ(named.GetFileVersionText(L'.'), implicit.GetFileVersionText(L'.'));
}
