// The component paths that the MAPI libraries' FGetComponentPath gives under each language choice.
#include "engine/ReportData.h"
#include "framework/HResult.h"
#include "framework/PathText.h"
#include "probes/mail/ComponentPathChild.h"
#include "tests/probes/mail/MailTestSupport.h"
#include "tests/support/TestThread.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"MAPIConfig\" Title=\"MAPI Configuration\">";
const char kComponent[] = "{FF1D0740-D227-11D1-A4B0-006008AF820E}";
const char kOutlookQualifier[] = "Microsoft\\Office\\11.0\\Outlook|LastUILanguage|";
const char kOfficeQualifier[] =
    "Microsoft\\Office\\11.0\\Common\\LanguageResources|UILanguage|InstallLanguage|";

class CheckMapiComponentPathsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.engine.facts.outlook.msiComponentId = L"{FF1D0740-D227-11D1-A4B0-006008AF820E}";
        env.engine.facts.outlook.msiApplicationLcid =
            MultiStringData({L"Microsoft\\Office\\11.0\\Outlook", L"LastUILanguage"});
        env.engine.facts.outlook.msiOfficeLcid = MultiStringData(
            {L"Microsoft\\Office\\11.0\\Common\\LanguageResources", L"UILanguage", L"InstallLanguage"});
        env.engine.facts.outlook.hasLcidKeys = TRUE;
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
};

// What the answering mock library returns: every argument it received.
std::string Answer(const std::string& module, const std::string& qualifier)
{
    return "C:\\Mock\\" + module + "\\" + kComponent + "\\" + qualifier + "\\520,0";
}

std::string AnswerRows(const std::string& module)
{
    return "8 2 MS Outlook: " + Answer(module, kOutlookQualifier) + "\n" +
           "8 2 MS Office: " + Answer(module, kOfficeQualifier) + "\n" +
           "8 2 Generic: " + Answer(module, "(null)") + "\n";
}

std::string AnswerStruct(const std::string& modulePath, const std::string& module)
{
    return "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" ModulePath=\"" + modulePath +
           "\">\n" + "<DataMember Type=\"Path\" Name=\"MSIApplicationLCID\">" +
           Answer(module, kOutlookQualifier) + "</DataMember>\n" +
           "<DataMember Type=\"Path\" Name=\"MSIOfficeLCID\">" + Answer(module, kOfficeQualifier) +
           "</DataMember>\n" + "<DataMember Type=\"Path\" Name=\"UnspecifiedLCID\">" +
           Answer(module, "(null)") + "</DataMember>\n" + "</DataStruct>";
}

std::string FailedStruct(const std::string& modulePath, const std::string& code)
{
    const std::string marker = "##ERROR:" + code + "##\n";
    return "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" ModulePath=\"" + modulePath +
           "\">\n" + "<DataMember Type=\"Path\" Name=\"MSIApplicationLCID\">" + marker + "</DataMember>\n" +
           "<DataMember Type=\"Path\" Name=\"MSIOfficeLCID\">" + marker + "</DataMember>\n" +
           "<DataMember Type=\"Path\" Name=\"UnspecifiedLCID\">" + marker + "</DataMember>\n" +
           "</DataStruct>";
}

} // namespace

// The libraries are the System folder's, whatever the search order would find first by their bare names
// (here a stub without the export); rows and report name them as the bare names.
TEST_F(CheckMapiComponentPathsTest, AsksTheStubAndTheLibraryOfTheSystemFolder)
{
    CDllDirectory searchedFirst(FixturePath(L"noexport"));
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckMapiComponentPaths(report.Section()));
    // MAPI32.DLL is Wine's own library (Wine puts it in place of any module of that name): it has the
    // export and fails every call, and the step still succeeds.
    EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n" + AnswerRows("MAPISTUB.DLL") +
                  "7 1 Language Dependent Path (MAPI32.DLL)\n"
                  "8 2 MS Outlook: \n"
                  "8 2 MS Office: \n"
                  "8 2 Generic: \n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(ReportFile(kSection, AnswerStruct("MAPISTUB.DLL", "MAPISTUB.DLL") +
                                       FailedStruct("MAPI32.DLL", "0x80070583")),
              report.SavedText());
}

TEST_F(CheckMapiComponentPathsTest, DllPathExIsAskedThirdAndNotVerboseGivesOneRowPerModule)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.facts.outlook.dllPathEx = FixturePath(L"ex\\MAPIEX.DLL");
    env.engine.verbose = FALSE;
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.CheckMapiComponentPaths(report.Section()));
    const std::string extra = ToUtf8(env.engine.facts.outlook.dllPathEx);
    EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n"
              "7 1 Language Dependent Path (MAPI32.DLL)\n"
              "7 1 Language Dependent Path (" +
                  extra + ")\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection, AnswerStruct("MAPISTUB.DLL", "MAPISTUB.DLL") +
                                       FailedStruct("MAPI32.DLL", "0x80070583") +
                                       AnswerStruct(extra, "MAPIEX.DLL")),
              report.SavedText());
}

// The folder holds the stub alone: MAPI32.DLL is not found there, and not looked for anywhere else.
TEST_F(CheckMapiComponentPathsTest, StubWithoutTheExportFailsTheStepAtIndentTwo)
{
    env.engine.facts.systemFolder = FixturePath(L"noexport");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(static_cast<HRESULT>(0x8007007F), env.engine.CheckMapiComponentPaths(report.Section()));
    EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n"
              "7 1 Language Dependent Path (MAPI32.DLL)\n"
              "1 2 Failed to query MAPI config information. (0x8007007F)\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(ReportFile(kSection, "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" "
                                   "ModulePath=\"MAPISTUB.DLL\">##ERROR:0x8007007F##\n</DataStruct>\n"
                                   "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" "
                                   "ModulePath=\"MAPI32.DLL\">##ERROR:0x8007007E##\n</DataStruct>\n"),
              report.SavedText());
}

TEST_F(CheckMapiComponentPathsTest, DllPathExThatCannotBeLoadedFailsTheStep)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.facts.outlook.dllPathEx = FixturePath(L"missing\\MAPIEX.DLL");
    env.engine.verbose = FALSE;
    EXPECT_EQ(static_cast<HRESULT>(0x8007007E), env.engine.CheckMapiComponentPaths(nullptr));
    EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n"
              "7 1 Language Dependent Path (MAPI32.DLL)\n"
              "7 1 Language Dependent Path (" +
                  ToUtf8(env.engine.facts.outlook.dllPathEx) + ")\n" +
                  "1 2 Failed to query MAPI config information. (0x8007007E)\n",
              Rows());
}

// A DLLPathEx that is no absolute path would be looked for along the search order: it is not loaded.
TEST_F(CheckMapiComponentPathsTest, DllPathExThatIsNoAbsolutePathIsNotLoaded)
{
    CDllDirectory searchable(FixturePath(L"ex"));
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.verbose = FALSE;
    for (const wchar_t* relative : {L"MAPIEX.DLL", L"ex\\MAPIEX.DLL", L"C:MAPIEX.DLL"})
    {
        env.engine.RemoveEvent(-1);
        env.engine.facts.outlook.dllPathEx = relative;
        EXPECT_EQ(static_cast<HRESULT>(0x8007007E), env.engine.CheckMapiComponentPaths(nullptr))
            << ToUtf8(relative);
        EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n"
                  "7 1 Language Dependent Path (MAPI32.DLL)\n"
                  "7 1 Language Dependent Path (" +
                      ToUtf8(relative) + ")\n" +
                      "1 2 Failed to query MAPI config information. (0x8007007E)\n",
                  Rows());
    }
}

TEST_F(CheckMapiComponentPathsTest, DoesNothingWithoutBothLanguageValues)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.facts.outlook.hasLcidKeys = FALSE;
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_FALSE, env.engine.CheckMapiComponentPaths(report.Section()));
    EXPECT_EQ("", Rows());
    EXPECT_EQ(L"", env.sink.StatusText());
    EXPECT_EQ(0, env.sink.ProgressPosition());
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}

TEST_F(CheckMapiComponentPathsTest, LanguageValuesFromTheRegistryReachTheLibraryWhole)
{
    CRegistryScratch mail(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail");
    CRegKey outlook = mail.Create(L"Microsoft Outlook");
    SetMultiString(outlook.Get(), L"MSIApplicationLCID",
                   {L"Microsoft\\Office\\11.0\\Outlook", L"LastUILanguage"});
    SetString(outlook.Get(), L"MSIComponentID", L"{FF1D0740-D227-11D1-A4B0-006008AF820E}");
    SetMultiString(
        outlook.Get(), L"MSIOfficeLCID",
        {L"Microsoft\\Office\\11.0\\Common\\LanguageResources", L"UILanguage", L"InstallLanguage"});
    env.engine.verbose = FALSE;
    ASSERT_EQ(S_OK, env.engine.CheckMailClients(nullptr));
    ASSERT_TRUE(env.engine.facts.outlook.hasLcidKeys);
    env.engine.RemoveEvent(-1);

    env.engine.verbose = TRUE;
    int position = -1;
    const std::wstring module = FixturePath(L"mapi\\MAPISTUB.DLL");
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), nullptr, position, 1));
    EXPECT_EQ("7 1 Language Dependent Path (" + ToUtf8(module) + ")\n" + AnswerRows("MAPISTUB.DLL"), Rows());
}

// A library that faults inside the call ends the child that asked it, with the fault's code as its
// marker; one that faults while it is loaded fails the load as the loader says (Wine's loader catches the
// fault and fails with ERROR_NOACCESS; where a loader lets it through, the child ends with the fault's
// code). Either way the step ends as for any library that cannot be loaded.
TEST_F(CheckMapiComponentPathsTest, ALibraryThatFaultsCostsItsStepTheAnswerWithTheFaultsCode)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.verbose = FALSE;
    const struct
    {
        const wchar_t* library;
        HRESULT expected; // S_OK: any failure
    } cases[] = {{L"misbehaving\\CALL.DLL", static_cast<HRESULT>(0xC0000005)},
                 {L"misbehaving\\ATTACH.DLL", S_OK}};
    for (const auto& faulting : cases)
    {
        env.engine.RemoveEvent(-1);
        env.engine.facts.outlook.dllPathEx = FixturePath(faulting.library);
        const std::string extra = ToUtf8(env.engine.facts.outlook.dllPathEx);
        CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
        const HRESULT hr = env.engine.CheckMapiComponentPaths(report.Section());
        EXPECT_TRUE(FAILED(hr)) << extra;
        if (faulting.expected != S_OK)
        {
            EXPECT_EQ(faulting.expected, hr) << extra;
        }
        char code[16] = {};
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
        EXPECT_EQ("7 1 Language Dependent Path (MAPISTUB.DLL)\n"
                  "7 1 Language Dependent Path (MAPI32.DLL)\n"
                  "7 1 Language Dependent Path (" +
                      extra + ")\n" + "1 2 Failed to query MAPI config information. (" + code + ")\n",
                  Rows());
        EXPECT_EQ(
            ReportFile(kSection, AnswerStruct("MAPISTUB.DLL", "MAPISTUB.DLL") +
                                     FailedStruct("MAPI32.DLL", "0x80070583") +
                                     "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" "
                                     "ModulePath=\"" +
                                     extra + "\">##ERROR:" + code + "##\n</DataStruct>\n"),
            report.SavedText());
    }
}

// Stop while a library does not return ends its child at once; the run sees the Stop.
TEST_F(CheckMapiComponentPathsTest, StopDuringACallThatNeverReturnsEndsTheChild)
{
    env.engine.facts.systemFolder = FixturePath(L"mapi");
    env.engine.facts.outlook.dllPathEx = FixturePath(L"misbehaving\\HANG.DLL");
    env.engine.verbose = FALSE;
    CTestThread stopper([this] {
        ::Sleep(1500);
        env.engine.stopEvent.SetEvent();
    });
    EXPECT_EQ(HResultFromWin32(ERROR_CANCELLED), env.engine.CheckMapiComponentPaths(nullptr));
    stopper.Join();
    EXPECT_TRUE(env.engine.StopRequested()) << "the wait took the Stop away from the run";
}

// A child that runs past its time is ended, and the question fails with the time-out.
TEST(ComponentPathChild, AChildPastItsTimeIsEndedWithTheTimeOutAndTheNextQuestionGetsANewOne)
{
    std::wstring program;
    ASSERT_EQ(S_OK, QueryProgramPath(program));
    CComponentPathChild child(program);
    bool stopped = true;
    const ComponentPathAnswer late = child.Query(FixturePath(L"misbehaving\\HANG.DLL").c_str(),
                                                 L"{component}", L"", L"", nullptr, 1000, stopped);
    EXPECT_EQ(HResultFromWin32(ERROR_TIMEOUT), late.load);
    EXPECT_FALSE(stopped);
    // The next question gets a new child, which answers.
    const ComponentPathAnswer next = child.Query(FixturePath(L"mapi\\MAPISTUB.DLL").c_str(), L"{component}",
                                                 L"", L"", nullptr, kComponentPathChildTimeoutMs, stopped);
    EXPECT_EQ(S_OK, next.load);
    EXPECT_EQ(S_OK, next.results[AnyLanguage]);
}
