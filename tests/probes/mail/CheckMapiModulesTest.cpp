// The version information of the MAPI libraries in the System folder and of Outlook's DLLPathEx module.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"MAPIConfig\" Title=\"MAPI Configuration\">";

class CheckMapiModulesTest : public ::testing::Test
{
protected:
    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
};

std::string Path(const std::wstring& relative)
{
    return ToUtf8(FixturePath(relative));
}

std::string MockRows(const std::string& path)
{
    return "5 1 Version Info: " + path +
           "\n"
           "4 2 Product Version: 1.2.0.0\n"
           "4 2 File Version: 1.2.3.4\n"
           "4 2 Vendor: Corvane Mock MAPI\n";
}

std::string MockStruct(const std::string& path)
{
    return "<DataStruct Type=\"VersionInfo\" ModulePath=\"" + path +
           "\">\n"
           "<DataMember Type=\"Version\" Name=\"ProductVersion\">1.2.0.0</DataMember>\n"
           "<DataMember Type=\"Version\" Name=\"FileVersion\">1.2.3.4</DataMember>\n"
           "<DataMember Type=\"String\" Name=\"CompanyName\">Corvane Mock MAPI</DataMember>\n"
           "</DataStruct>";
}

} // namespace

TEST_F(CheckMapiModulesTest, ReadsTheStubThenTheLibraryInTheSystemFolder)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckMapiModules(report.Section()));
    EXPECT_EQ(FixturePath(L"mapi\\"), env.engine.facts.systemFolder);
    // Wine reads its own mapi32 for any file of that name, so the library shows Wine's version.
    EXPECT_EQ(MockRows(Path(L"mapi\\MAPISTUB.DLL")) + "5 1 Version Info: " + Path(L"mapi\\MAPI32.DLL") +
                  "\n"
                  "4 2 Product Version: 1.0.0.0\n"
                  "4 2 File Version: 1.0.0.0\n"
                  "4 2 Vendor: Microsoft Corporation\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(ReportFile(kSection,
                         MockStruct(Path(L"mapi\\MAPISTUB.DLL")) +
                             "<DataStruct Type=\"VersionInfo\" ModulePath=\"" + Path(L"mapi\\MAPI32.DLL") +
                             "\">\n"
                             "<DataMember Type=\"Version\" Name=\"ProductVersion\">1.0.0.0</DataMember>\n"
                             "<DataMember Type=\"Version\" Name=\"FileVersion\">1.0.0.0</DataMember>\n"
                             "<DataMember Type=\"String\" Name=\"CompanyName\">Microsoft Corporation"
                             "</DataMember>\n"
                             "</DataStruct>"),
              report.SavedText());
}

TEST_F(CheckMapiModulesTest, DllPathExIsAThirdModuleAfterTheLibrary)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.facts.outlook.dllPathEx = FixturePath(L"ex\\MAPIEX.DLL");
    env.engine.verbose = FALSE;
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckMapiModules(report.Section()));
    EXPECT_EQ("5 1 Version Info: " + Path(L"mapi\\MAPISTUB.DLL") + "\n" + "5 1 Version Info: " +
                  Path(L"mapi\\MAPI32.DLL") + "\n" + "5 1 Version Info: " + Path(L"ex\\MAPIEX.DLL") + "\n",
              Rows());
    const std::string saved = report.SavedText();
    const size_t library = saved.find("MAPI32.DLL");
    const size_t extra = saved.find("MAPIEX.DLL");
    EXPECT_NE(std::string::npos, library);
    EXPECT_LT(library, extra);
    EXPECT_NE(std::string::npos, saved.find(MockStruct(Path(L"ex\\MAPIEX.DLL")) + "</ReportSection>"));
}

TEST_F(CheckMapiModulesTest, MissingStubFailsTheStepAndSkipsTheLibrary)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi32only\\");
    env.engine.facts.outlook.dllPathEx = FixturePath(L"ex\\MAPIEX.DLL");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), env.engine.CheckMapiModules(report.Section()));
    EXPECT_EQ(FixturePath(L"mapi32only\\"), env.engine.facts.systemFolder);
    EXPECT_EQ("1 1 Failed to query file version. (0x80070002)\n" + MockRows(Path(L"ex\\MAPIEX.DLL")) +
                  "1 1 Failed to query MAPI config information. (0x80070002)\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(ReportFile(kSection, "<DataStruct Type=\"VersionInfo\" ModulePath=\"" +
                                       Path(L"mapi32only\\MAPISTUB.DLL") +
                                       "\">##ERROR:0x80070002##</DataStruct>\n" +
                                       MockStruct(Path(L"ex\\MAPIEX.DLL"))),
              report.SavedText());
}

TEST_F(CheckMapiModulesTest, StubWithoutVersionResourceFailsTheStep)
{
    env.engine.facts.systemFolder = FixturePath(L"noversion");
    env.engine.verbose = FALSE;
    const HRESULT hr = env.engine.CheckMapiModules(nullptr);
    EXPECT_EQ(static_cast<HRESULT>(0x80070714), hr); // the system's code for a missing resource
    EXPECT_EQ("1 1 Failed to query file version. (0x80070714)\n"
              "1 1 Failed to query MAPI config information. (0x80070714)\n",
              Rows());
}

TEST_F(CheckMapiModulesTest, DoesNothingWithoutSystemFolder)
{
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_FALSE, env.engine.CheckMapiModules(report.Section()));
    EXPECT_EQ("", Rows());
    EXPECT_EQ(L"", env.sink.StatusText());
    EXPECT_EQ(0, env.sink.ProgressPosition());
    EXPECT_EQ(L"", env.engine.facts.systemFolder);
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}
