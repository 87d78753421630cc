// The version information of Outlook's main module in Outlook's folder.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"OutlookInfo\" Title=\"Microsoft Outlook\">";

class CheckOutlookModuleTest : public ::testing::Test
{
protected:
    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
};

} // namespace

TEST_F(CheckOutlookModuleTest, PrefersOutllibOverOutlookExe)
{
    env.engine.facts.outlookFolder = FixturePath(L"outlook");
    CTestReport report(env.engine, L"OutlookInfo", L"Microsoft Outlook");
    EXPECT_EQ(S_OK, env.engine.CheckOutlookModule(report.Section()));
    EXPECT_EQ(FixturePath(L"outlook\\"), env.engine.facts.outlookFolder);
    const std::string path = ToUtf8(FixturePath(L"outlook\\OUTLLIB.DLL"));
    EXPECT_EQ("5 1 Version Info: " + path +
                  "\n"
                  "4 2 Product Version: 11.0.0.0\n"
                  "4 2 File Version: 11.0.8217.0\n"
                  "4 2 Vendor: Microsoft Corporation\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(ReportFile(kSection,
                         "<DataStruct Type=\"VersionInfo\" ModulePath=\"" + path +
                             "\">\n"
                             "<DataMember Type=\"Version\" Name=\"ProductVersion\">11.0.0.0</DataMember>\n"
                             "<DataMember Type=\"Version\" Name=\"FileVersion\">11.0.8217.0</DataMember>\n"
                             "<DataMember Type=\"String\" Name=\"CompanyName\">Microsoft Corporation"
                             "</DataMember>\n"
                             "</DataStruct>"),
              report.SavedText());
}

TEST_F(CheckOutlookModuleTest, TakesOutlookExeWhenThereIsNoOutllib)
{
    env.engine.facts.outlookFolder = FixturePath(L"outlookexe\\");
    env.engine.verbose = FALSE;
    EXPECT_EQ(S_OK, env.engine.CheckOutlookModule(nullptr));
    EXPECT_EQ(FixturePath(L"outlookexe\\"), env.engine.facts.outlookFolder);
    EXPECT_EQ("5 1 Version Info: " + ToUtf8(FixturePath(L"outlookexe\\OUTLOOK.EXE")) + "\n", Rows());
}

TEST_F(CheckOutlookModuleTest, FolderWithNeitherModuleFailsTheStep)
{
    env.engine.facts.outlookFolder = FixturePath(L"mapi");
    CTestReport report(env.engine, L"OutlookInfo", L"Microsoft Outlook");
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), env.engine.CheckOutlookModule(report.Section()));
    EXPECT_EQ("1 1 Failed to query file version. (0x80070002)\n"
              "1 1 Failed to query MS Outlook information. (0x80070002)\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(ReportFile(kSection, "<DataStruct Type=\"VersionInfo\" ModulePath=\"" +
                                       ToUtf8(FixturePath(L"mapi\\OUTLOOK.EXE")) +
                                       "\">##ERROR:0x80070002##</DataStruct>\n"),
              report.SavedText());
}

TEST_F(CheckOutlookModuleTest, DoesNothingWithoutOutlookFolder)
{
    EXPECT_EQ(S_FALSE, env.engine.CheckOutlookModule(nullptr));
    EXPECT_EQ("", Rows());
    EXPECT_EQ(L"", env.sink.StatusText());
    EXPECT_EQ(0, env.sink.ProgressPosition());
}
