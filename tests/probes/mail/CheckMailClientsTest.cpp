// The registered mail clients probe: the Mail key's dump and the Outlook client's settings.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const wchar_t kComponentId[] = L"{FF1D0740-D227-11D1-A4B0-006008AF820E}";
const char kSection[] = "<ReportSection id=\"MailClients\" Title=\"Mail Clients Configuration\">";

class CheckMailClientsTest : public ::testing::Test
{
protected:
    std::string Rows() const { return RowsText(env.sink.Rows()); }

    void MakeOtherClient()
    {
        SetString(mail.Create().Get(), L"", L"Microsoft Outlook");
        SetString(mail.Create(L"Corvane Mail").Get(), L"DLLPath", L"C:\\corvane\\mail.dll");
    }

    // Outlook's client key as Outlook 2003 leaves it (values in name order, as the registry lists them).
    CRegKey MakeOutlookClient()
    {
        CRegKey outlook = mail.Create(L"Microsoft Outlook");
        SetString(outlook.Get(), L"", L"Microsoft Outlook");
        SetString(outlook.Get(), L"DLLPath", L"C:\\Office\\mapi32.dll");
        SetString(outlook.Get(), L"DLLPathEx", L"C:\\Office\\msmapi32.dll");
        SetMultiString(outlook.Get(), L"MSIApplicationLCID",
                       {L"Microsoft\\Office\\11.0\\Outlook", L"LastUILanguage"});
        SetString(outlook.Get(), L"MSIComponentID", kComponentId);
        SetMultiString(
            outlook.Get(), L"MSIOfficeLCID",
            {L"Microsoft\\Office\\11.0\\Common\\LanguageResources", L"UILanguage", L"InstallLanguage"});
        return outlook;
    }

    MailProbeEnvironment env;
    CRegistryScratch mail{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail"};
};

const char kOutlookFragment[] =
    "<DataList Type=\"RegHive\" Name=\"HKLM\\SOFTWARE\\Clients\\Mail\">\n"
    "<DataList Type=\"RegNode\" Name=\"Corvane Mail\">\n"
    "<DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\corvane\\mail.dll</DataItem>\n"
    "</DataList><DataList Type=\"RegNode\" Name=\"Microsoft Outlook\">\n"
    "<DataItem Type=\"REG_SZ\" Name=\"(Default)\">Microsoft Outlook</DataItem>\n"
    "<DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\Office\\mapi32.dll</DataItem>\n"
    "<DataItem Type=\"REG_SZ\" Name=\"DLLPathEx\">C:\\Office\\msmapi32.dll</DataItem>\n"
    "<DataItem Type=\"REG_MULTI_SZ\" "
    "Name=\"MSIApplicationLCID\">Microsoft\\Office\\11.0\\Outlook|LastUILanguage"
    "</DataItem>\n"
    "<DataItem Type=\"REG_SZ\" Name=\"MSIComponentID\">{FF1D0740-D227-11D1-A4B0-006008AF820E}</DataItem>\n"
    "<DataItem Type=\"REG_MULTI_SZ\" "
    "Name=\"MSIOfficeLCID\">Microsoft\\Office\\11.0\\Common\\LanguageResources|"
    "UILanguage|InstallLanguage</DataItem>\n"
    "</DataList><DataItem Type=\"REG_SZ\" Name=\"(Default)\">Microsoft Outlook</DataItem>\n"
    "</DataList>";

} // namespace

TEST_F(CheckMailClientsTest, VerboseShowsTheDumpAndTheOutlookSettings)
{
    MakeOtherClient();
    MakeOutlookClient();
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");

    EXPECT_EQ(S_OK, env.engine.CheckMailClients(report.Section()));
    EXPECT_EQ(
        "9 1 HKLM\\SOFTWARE\\Clients\\Mail\n"
        "10 2 Corvane Mail\n"
        "13 3 DLLPath: C:\\corvane\\mail.dll\n"
        "10 2 Microsoft Outlook\n"
        "13 3 (Default): Microsoft Outlook\n"
        "13 3 DLLPath: C:\\Office\\mapi32.dll\n"
        "13 3 DLLPathEx: C:\\Office\\msmapi32.dll\n"
        "19 3 MSIApplicationLCID: Microsoft\\Office\\11.0\\Outlook|LastUILanguage\n"
        "13 3 MSIComponentID: {FF1D0740-D227-11D1-A4B0-006008AF820E}\n"
        "19 3 MSIOfficeLCID: Microsoft\\Office\\11.0\\Common\\LanguageResources|UILanguage|InstallLanguage\n"
        "13 2 (Default): Microsoft Outlook\n"
        "7 1 Microsoft Outlook Settings\n"
        "4 2 MSIComponentID: {FF1D0740-D227-11D1-A4B0-006008AF820E}\n"
        "4 2 MSIApplicationLCID: Microsoft\\Office\\11.0\\Outlook\n"
        "4 2 MSIOfficeLCID: Microsoft\\Office\\11.0\\Common\\LanguageResources\n"
        "4 2 DLLPath: C:\\Office\\mapi32.dll\n"
        "4 2 DLLPathEx: C:\\Office\\msmapi32.dll\n",
        Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(ReportFile(kSection, kOutlookFragment), report.SavedText());
}

TEST_F(CheckMailClientsTest, KeepsTheSettingsAndTheWholeDataOfTheLanguageValues)
{
    MakeOutlookClient();
    EXPECT_EQ(S_OK, env.engine.CheckMailClients(nullptr));
    EXPECT_EQ(kComponentId, env.engine.facts.outlook.msiComponentId);
    EXPECT_EQ(MultiStringData({L"Microsoft\\Office\\11.0\\Outlook", L"LastUILanguage"}),
              env.engine.facts.outlook.msiApplicationLcid);
    EXPECT_EQ(MultiStringData(
                  {L"Microsoft\\Office\\11.0\\Common\\LanguageResources", L"UILanguage", L"InstallLanguage"}),
              env.engine.facts.outlook.msiOfficeLcid);
    // The ordinary text of a multi-string member is its first string.
    EXPECT_STREQ(L"Microsoft\\Office\\11.0\\Outlook", env.engine.facts.outlook.msiApplicationLcid.c_str());
    EXPECT_EQ(L"C:\\Office\\mapi32.dll", env.engine.facts.outlook.dllPath);
    EXPECT_EQ(L"C:\\Office\\msmapi32.dll", env.engine.facts.outlook.dllPathEx);
    EXPECT_TRUE(env.engine.facts.outlook.hasLcidKeys);
}

TEST_F(CheckMailClientsTest, NotVerboseLeavesOnlyTheKeyAndTheSettingsRows)
{
    MakeOtherClient();
    MakeOutlookClient();
    env.engine.verbose = FALSE;
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");

    EXPECT_EQ(S_OK, env.engine.CheckMailClients(report.Section()));
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Clients\\Mail\n"
              "7 1 Microsoft Outlook Settings\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection, kOutlookFragment), report.SavedText());
}

TEST_F(CheckMailClientsTest, WithoutOutlookClientSaysSoAndKeepsNoEarlierSettings)
{
    MakeOtherClient();
    env.engine.facts.outlook.msiComponentId = L"Earlier";
    env.engine.facts.outlook.msiApplicationLcid = L"Earlier";
    env.engine.facts.outlook.msiOfficeLcid = L"Run";
    env.engine.facts.outlook.dllPath = L"C:\\Earlier\\mapi32.dll";
    env.engine.facts.outlook.dllPathEx = L"C:\\Earlier\\msmapi32.dll";
    env.engine.facts.outlook.hasLcidKeys = TRUE;
    env.engine.verbose = FALSE;
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");

    EXPECT_EQ(S_OK, env.engine.CheckMailClients(report.Section()));
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Clients\\Mail\n"
              "7 1 Microsoft Outlook registry key not found\n",
              Rows());
    for (const std::wstring* setting :
         {&env.engine.facts.outlook.msiComponentId, &env.engine.facts.outlook.msiApplicationLcid,
          &env.engine.facts.outlook.msiOfficeLcid, &env.engine.facts.outlook.dllPath,
          &env.engine.facts.outlook.dllPathEx})
        EXPECT_EQ(L"", *setting);
    EXPECT_FALSE(env.engine.facts.outlook.hasLcidKeys);
    EXPECT_EQ(ReportFile(kSection,
                         "<DataList Type=\"RegHive\" Name=\"HKLM\\SOFTWARE\\Clients\\Mail\">\n"
                         "<DataList Type=\"RegNode\" Name=\"Corvane Mail\">\n"
                         "<DataItem Type=\"REG_SZ\" Name=\"DLLPath\">C:\\corvane\\mail.dll</DataItem>\n"
                         "</DataList><DataItem Type=\"REG_SZ\" Name=\"(Default)\">Microsoft Outlook"
                         "</DataItem>\n"
                         "</DataList>"),
              report.SavedText());
}

TEST_F(CheckMailClientsTest, MissingMailKeyFailsTheStep)
{
    env.engine.facts.outlook.hasLcidKeys = TRUE;
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), env.engine.CheckMailClients(report.Section()));
    EXPECT_EQ("1 1 Failed to query mail client information. (0x80070002)\n", Rows());
    EXPECT_FALSE(env.engine.facts.outlook.hasLcidKeys);
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}

// One client key that cannot be opened (a vendor installer's ACL) costs that key alone: the other clients,
// Outlook's settings and the sections after them are still examined.
TEST_F(CheckMailClientsTest, ClientKeyThatCannotBeOpenedIsItsMarkerAndTheOtherClientsFollow)
{
    MakeOtherClient();
    MakeOutlookClient();
    CRegKey mailKey = mail.Create();
    CBrokenRegistryLink link(mailKey.Get(), L"Broken Mail");
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");

    EXPECT_EQ(S_OK, env.engine.CheckMailClients(report.Section()));
    const std::string rows = Rows();
    EXPECT_EQ(0u, rows.find("9 1 HKLM\\SOFTWARE\\Clients\\Mail\n"
                            "10 2 Broken Mail\n"
                            "1 3 ##ERROR:0x80070002##\n"
                            "10 2 Corvane Mail\n"))
        << rows;
    EXPECT_NE(std::string::npos, rows.find("7 1 Microsoft Outlook Settings\n")) << rows;
    EXPECT_TRUE(env.engine.facts.outlook.hasLcidKeys);
    EXPECT_NE(std::string::npos,
              report.SavedText().find(
                  "<DataList Type=\"RegNode\" Name=\"Broken Mail\">##ERROR:0x80070002##</DataList>"))
        << report.SavedText();
}

TEST_F(CheckMailClientsTest, ExpandableDllPathsAreNotKept)
{
    CRegKey outlook = MakeOutlookClient();
    SetString(outlook.Get(), L"DLLPath", L"%ProgramFiles%\\Office\\mapi32.dll", REG_EXPAND_SZ);
    SetString(outlook.Get(), L"DLLPathEx", L"%ProgramFiles%\\Office\\msmapi32.dll", REG_EXPAND_SZ);
    env.engine.facts.outlook.dllPath = L"earlier";
    env.engine.facts.outlook.dllPathEx = L"earlier";
    CTestReport report(env.engine, L"MailClients", L"Mail Clients Configuration");

    EXPECT_EQ(S_OK, env.engine.CheckMailClients(report.Section()));
    EXPECT_EQ(L"", env.engine.facts.outlook.dllPath);
    EXPECT_EQ(L"", env.engine.facts.outlook.dllPathEx);
    EXPECT_EQ(
        "9 1 HKLM\\SOFTWARE\\Clients\\Mail\n"
        "10 2 Microsoft Outlook\n"
        "13 3 (Default): Microsoft Outlook\n"
        "14 3 DLLPath: %ProgramFiles%\\Office\\mapi32.dll\n"
        "14 3 DLLPathEx: %ProgramFiles%\\Office\\msmapi32.dll\n"
        "19 3 MSIApplicationLCID: Microsoft\\Office\\11.0\\Outlook|LastUILanguage\n"
        "13 3 MSIComponentID: {FF1D0740-D227-11D1-A4B0-006008AF820E}\n"
        "19 3 MSIOfficeLCID: Microsoft\\Office\\11.0\\Common\\LanguageResources|UILanguage|InstallLanguage\n"
        "7 1 Microsoft Outlook Settings\n"
        "4 2 MSIComponentID: {FF1D0740-D227-11D1-A4B0-006008AF820E}\n"
        "4 2 MSIApplicationLCID: Microsoft\\Office\\11.0\\Outlook\n"
        "4 2 MSIOfficeLCID: Microsoft\\Office\\11.0\\Common\\LanguageResources\n",
        Rows());
}

TEST_F(CheckMailClientsTest, MissingOrEmptySettingsAreEmptyAndTheLanguageKeysAreOff)
{
    CRegKey outlook = mail.Create(L"Microsoft Outlook");
    SetString(outlook.Get(), L"MSIApplicationLCID", L"Microsoft\\Office\\11.0\\Outlook");
    SetString(outlook.Get(), L"MSIComponentID", std::wstring(260, L'x'));
    SetBytes(outlook.Get(), L"MSIOfficeLCID", REG_MULTI_SZ, {});
    env.engine.facts.outlook.msiComponentId = L"earlier";
    env.engine.facts.outlook.msiOfficeLcid = L"earlier";
    env.engine.facts.outlook.dllPath = L"earlier";
    env.engine.verbose = TRUE;

    EXPECT_EQ(S_OK, env.engine.CheckMailClients(nullptr));
    EXPECT_EQ(std::wstring(260, L'x'),
              env.engine.facts.outlook.msiComponentId); // longer than the work buffer: read whole
    EXPECT_EQ(std::wstring(L"Microsoft\\Office\\11.0\\Outlook\0", 30),
              env.engine.facts.outlook.msiApplicationLcid);
    EXPECT_EQ(L"", env.engine.facts.outlook.msiOfficeLcid);
    EXPECT_EQ(L"", env.engine.facts.outlook.dllPath);
    EXPECT_FALSE(env.engine.facts.outlook.hasLcidKeys);
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Clients\\Mail\n"
              "10 2 Microsoft Outlook\n"
              "13 3 MSIApplicationLCID: Microsoft\\Office\\11.0\\Outlook\n"
              "13 3 MSIComponentID: " +
                  std::string(260, 'x') +
                  "\n"
                  "19 3 MSIOfficeLCID: \n"
                  "7 1 Microsoft Outlook Settings\n"
                  "4 2 MSIComponentID: " +
                  std::string(260, 'x') +
                  "\n"
                  "4 2 MSIApplicationLCID: Microsoft\\Office\\11.0\\Outlook\n"
                  "4 2 MSIOfficeLCID: \n",
              Rows());
}

// Settings longer than the 520-byte work buffer are read whole, whatever their length.
TEST_F(CheckMailClientsTest, LongSettingsAreReadWhole)
{
    for (size_t length : {300u, 3000u})
    {
        CRegKey outlook = MakeOutlookClient();
        const std::wstring component(length, L'c');
        const std::wstring path = L"C:\\" + std::wstring(length, L'p');
        const std::wstring language = std::wstring(length, L'l');
        SetString(outlook.Get(), L"MSIComponentID", component);
        SetString(outlook.Get(), L"DLLPath", path + L"\\mapi32.dll");
        SetString(outlook.Get(), L"DLLPathEx", path + L"\\msmapi32.dll");
        SetMultiString(outlook.Get(), L"MSIApplicationLCID", {language, L"LastUILanguage"});
        SetMultiString(outlook.Get(), L"MSIOfficeLCID", {language, L"UILanguage"});
        env.engine.verbose = FALSE;
        EXPECT_EQ(S_OK, env.engine.CheckMailClients(nullptr)) << length;
        EXPECT_EQ(component, env.engine.facts.outlook.msiComponentId) << length;
        EXPECT_EQ(path + L"\\mapi32.dll", env.engine.facts.outlook.dllPath) << length;
        EXPECT_EQ(path + L"\\msmapi32.dll", env.engine.facts.outlook.dllPathEx) << length;
        EXPECT_EQ(MultiStringData({language, L"LastUILanguage"}), env.engine.facts.outlook.msiApplicationLcid)
            << length;
        EXPECT_EQ(MultiStringData({language, L"UILanguage"}), env.engine.facts.outlook.msiOfficeLcid)
            << length;
        EXPECT_TRUE(env.engine.facts.outlook.hasLcidKeys) << length;
    }
}

TEST_F(CheckMailClientsTest, LanguageValueWithEmptyFirstStringTurnsTheLanguageKeysOff)
{
    CRegKey outlook = MakeOutlookClient();
    SetMultiString(outlook.Get(), L"MSIOfficeLCID", {L""});
    EXPECT_EQ(S_OK, env.engine.CheckMailClients(nullptr));
    EXPECT_FALSE(env.engine.facts.outlook.hasLcidKeys);
}
