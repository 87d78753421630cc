// The module probes against Wine's own MAPI libraries, as the prefix has them.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"MAPIConfig\" Title=\"MAPI Configuration\">";

class WineMapiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH] = {};
        ::GetSystemDirectoryW(folder, MAX_PATH);
        env.engine.facts.systemFolder = folder;
        env.engine.facts.outlook.msiComponentId = L"{FF1D0740-D227-11D1-A4B0-006008AF820E}";
        env.engine.facts.outlook.msiApplicationLcid =
            MultiStringData({L"Microsoft\\Office\\11.0\\Outlook", L"LastUILanguage"});
        env.engine.facts.outlook.msiOfficeLcid =
            MultiStringData({L"Microsoft\\Office\\11.0\\Common\\LanguageResources", L"UILanguage"});
        env.engine.facts.outlook.hasLcidKeys = TRUE;
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
};

} // namespace

TEST_F(WineMapiTest, StubWithoutVersionResourceFailsTheStep)
{
    // Wine's MAPISTUB.DLL carries no version resource, so a run under Wine ends at this step.
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(static_cast<HRESULT>(0x80070714), env.engine.CheckMapiModules(report.Section()));
    EXPECT_EQ("C:\\windows\\system32\\", ToUtf8(env.engine.facts.systemFolder));
    EXPECT_EQ("1 1 Failed to query file version. (0x80070714)\n"
              "1 1 Failed to query MAPI config information. (0x80070714)\n",
              Rows());
    EXPECT_EQ(
        ReportFile(kSection,
                   "<DataStruct Type=\"VersionInfo\" ModulePath=\"C:\\windows\\system32\\MAPISTUB.DLL\">"
                   "##ERROR:0x80070714##</DataStruct>\n"),
        report.SavedText());
}

TEST_F(WineMapiTest, BothLibrariesHaveTheExportAndKnowNoComponent)
{
    // Wine's libraries answer every call with ERROR_CLASS_DOES_NOT_EXIST (1411): no Outlook is installed.
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckMapiComponentPaths(report.Section()));
    EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n"
              "8 2 MS Outlook: \n"
              "8 2 MS Office: \n"
              "8 2 Generic: \n"
              "7 1 Language Dependent Path (MAPI32.DLL)\n"
              "8 2 MS Outlook: \n"
              "8 2 MS Office: \n"
              "8 2 Generic: \n",
              Rows());
    EXPECT_EQ(
        ReportFile(
            kSection,
            "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" "
            "ModulePath=\"MAPISTUB.DLL\">\n"
            "<DataMember Type=\"Path\" Name=\"MSIApplicationLCID\">##ERROR:0x80070583##\n</DataMember>\n"
            "<DataMember Type=\"Path\" Name=\"MSIOfficeLCID\">##ERROR:0x80070583##\n</DataMember>\n"
            "<DataMember Type=\"Path\" Name=\"UnspecifiedLCID\">##ERROR:0x80070583##\n</DataMember>\n"
            "</DataStruct><DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" "
            "ModulePath=\"MAPI32.DLL\">\n"
            "<DataMember Type=\"Path\" Name=\"MSIApplicationLCID\">##ERROR:0x80070583##\n</DataMember>\n"
            "<DataMember Type=\"Path\" Name=\"MSIOfficeLCID\">##ERROR:0x80070583##\n</DataMember>\n"
            "<DataMember Type=\"Path\" Name=\"UnspecifiedLCID\">##ERROR:0x80070583##\n</DataMember>\n"
            "</DataStruct>"),
        report.SavedText());
}
