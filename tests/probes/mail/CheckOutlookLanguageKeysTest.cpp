// The per-user keys that Outlook's language values name.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"MailClients\" Title=\"Mail Clients Configuration\">";

class CheckOutlookLanguageKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.engine.facts.outlook.msiApplicationLcid =
            MultiStringData({L"CorvaneMailTest\\Lcid\\Outlook", L"LastUILanguage"});
        env.engine.facts.outlook.msiOfficeLcid =
            MultiStringData({L"CorvaneMailTest\\Lcid\\Common", L"UILanguage"});
        env.engine.facts.outlook.hasLcidKeys = TRUE;
    }

    void MakeKeys(bool application, bool office)
    {
        if (application)
        {
            CRegKey key = scratch.Create(L"Outlook");
            SetDword(key.Get(), L"LastUILanguage", 1033);
            SetString(scratch.Create(L"Outlook\\Options").Get(), L"x", L"not read");
        }
        if (office)
            SetDword(scratch.Create(L"Common").Get(), L"UILanguage", 1031);
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
    CRegistryScratch scratch{HKEY_CURRENT_USER, L"Software\\CorvaneMailTest\\Lcid"};
};

} // namespace

TEST_F(CheckOutlookLanguageKeysTest, DoesNothingWithoutBothLanguageValues)
{
    MakeKeys(true, true);
    env.engine.facts.outlook.hasLcidKeys = FALSE;
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_FALSE, env.engine.CheckOutlookLanguageKeys(report.Section()));
    EXPECT_EQ("", Rows());
    EXPECT_EQ(L"", env.sink.StatusText());
    EXPECT_EQ(0, env.sink.ProgressPosition());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}

TEST_F(CheckOutlookLanguageKeysTest, VerboseCopiesBothKeysNamedByTheFirstStrings)
{
    MakeKeys(true, true);
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckOutlookLanguageKeys(report.Section()));
    EXPECT_EQ("9 1 HKCU\\Software\\CorvaneMailTest\\Lcid\\Outlook\n"
              "16 2 LastUILanguage: 0x00000409 (1033)\n"
              "9 1 HKCU\\Software\\CorvaneMailTest\\Lcid\\Common\n"
              "16 2 UILanguage: 0x00000407 (1031)\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(
        ReportFile(
            kSection,
            "<DataList Type=\"RegHive\" Name=\"HKCU\\Software\\CorvaneMailTest\\Lcid\\Outlook\">\n"
            "<DataItem Type=\"REG_DWORD\" Name=\"LastUILanguage\">0x00000409 (1033)</DataItem>\n"
            "</DataList><DataList Type=\"RegHive\" Name=\"HKCU\\Software\\CorvaneMailTest\\Lcid\\Common\">\n"
            "<DataItem Type=\"REG_DWORD\" Name=\"UILanguage\">0x00000407 (1031)</DataItem>\n"
            "</DataList>"),
        report.SavedText());
}

TEST_F(CheckOutlookLanguageKeysTest, NotVerboseShowsOnlyTheKeyRows)
{
    MakeKeys(true, true);
    env.engine.verbose = FALSE;
    EXPECT_EQ(S_OK, env.engine.CheckOutlookLanguageKeys(nullptr));
    EXPECT_EQ("9 1 HKCU\\Software\\CorvaneMailTest\\Lcid\\Outlook\n"
              "9 1 HKCU\\Software\\CorvaneMailTest\\Lcid\\Common\n",
              Rows());
}

TEST_F(CheckOutlookLanguageKeysTest, MissingFirstKeyIsLoggedAndTheRunGoesOn)
{
    MakeKeys(false, true);
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_FALSE, env.engine.CheckOutlookLanguageKeys(report.Section()));
    EXPECT_EQ("1 1 Failed to query mail client information. (0x80070002)\n", Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}

TEST_F(CheckOutlookLanguageKeysTest, MissingSecondKeyKeepsTheFirst)
{
    MakeKeys(true, false);
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(S_FALSE, env.engine.CheckOutlookLanguageKeys(report.Section()));
    EXPECT_EQ("9 1 HKCU\\Software\\CorvaneMailTest\\Lcid\\Outlook\n"
              "16 2 LastUILanguage: 0x00000409 (1033)\n"
              "1 1 Failed to query mail client information. (0x80070002)\n",
              Rows());
    EXPECT_EQ(
        ReportFile(kSection,
                   "<DataList Type=\"RegHive\" Name=\"HKCU\\Software\\CorvaneMailTest\\Lcid\\Outlook\">\n"
                   "<DataItem Type=\"REG_DWORD\" Name=\"LastUILanguage\">0x00000409 (1033)</DataItem>\n"
                   "</DataList>"),
        report.SavedText());
}
