// One MAPI library's FGetComponentPath, called three times: what it receives and what comes back.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"MAPIConfig\" Title=\"MAPI Configuration\">";

class QueryComponentPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        env.engine.facts.outlook.msiComponentId = L"{C}";
        env.engine.facts.outlook.msiApplicationLcid = MultiStringData({L"App", L"Lang"});
        env.engine.facts.outlook.msiOfficeLcid = MultiStringData({L"Office"});
        // Rows go above a placeholder, as in a step.
        env.engine.InsertEvent(-1, EventStyle(EventIcon::PageCheck, 0), L"Section");
        env.engine.InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), L"Placeholder");
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
    int position = 1;
};

} // namespace

TEST_F(QueryComponentPathTest, PassesEveryQualifierStringThenANullQualifier)
{
    const std::wstring module = FixturePath(L"mapi\\MAPISTUB.DLL");
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), nullptr, position, 1));
    EXPECT_EQ(5, position);
    EXPECT_EQ("6 0 Section\n"
              "7 1 Language Dependent Path (" +
                  ToUtf8(module) + ")\n" +
                  "8 2 MS Outlook: C:\\Mock\\MAPISTUB.DLL\\{C}\\App|Lang|\\520,0\n"
                  "8 2 MS Office: C:\\Mock\\MAPISTUB.DLL\\{C}\\Office|\\520,0\n"
                  "8 2 Generic: C:\\Mock\\MAPISTUB.DLL\\{C}\\(null)\\520,0\n"
                  "3 1 Placeholder\n",
              Rows());
}

TEST_F(QueryComponentPathTest, QualifierWithoutClosingEmptyStringStillEndsForTheLibrary)
{
    env.engine.facts.outlook.msiApplicationLcid =
        std::wstring(L"App\0Lang", 8); // the registry's data may lack its end
    env.engine.facts.outlook.msiOfficeLcid = L"Office";
    env.engine.verbose = TRUE;
    const std::wstring module = FixturePath(L"mapi\\MAPISTUB.DLL");
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), nullptr, position, 1));
    EXPECT_EQ("6 0 Section\n"
              "7 1 Language Dependent Path (" +
                  ToUtf8(module) + ")\n" +
                  "8 2 MS Outlook: C:\\Mock\\MAPISTUB.DLL\\{C}\\App|Lang|\\520,0\n"
                  "8 2 MS Office: C:\\Mock\\MAPISTUB.DLL\\{C}\\Office|\\520,0\n"
                  "8 2 Generic: C:\\Mock\\MAPISTUB.DLL\\{C}\\(null)\\520,0\n"
                  "3 1 Placeholder\n",
              Rows());
}

TEST_F(QueryComponentPathTest, FailingCallsGiveTheErrorTextWithTheLastError)
{
    CEnvironmentVariable error(L"CORVANE_MOCK_MAPI_ERROR", L"5");
    const std::wstring module = FixturePath(L"failing\\FAILMAPI.DLL");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    env.engine.verbose = FALSE;
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), report.Section(), position, 1));
    EXPECT_EQ(2, position);
    const std::string path = ToUtf8(module);
    EXPECT_EQ(ReportFile(kSection,
                         "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" ModulePath=\"" +
                             path +
                             "\">\n"
                             "<DataMember Type=\"Path\" Name=\"MSIApplicationLCID\">##ERROR:0x80070005##\n"
                             "</DataMember>\n"
                             "<DataMember Type=\"Path\" Name=\"MSIOfficeLCID\">##ERROR:0x80070005##\n"
                             "</DataMember>\n"
                             "<DataMember Type=\"Path\" Name=\"UnspecifiedLCID\">##ERROR:0x80070005##\n"
                             "</DataMember>\n"
                             "</DataStruct>"),
              report.SavedText());
}

TEST_F(QueryComponentPathTest, CallFailingWithoutLastErrorIsStillAFailure)
{
    CEnvironmentVariable error(L"CORVANE_MOCK_MAPI_ERROR", L"0");
    const std::wstring module = FixturePath(L"failing\\FAILMAPI.DLL");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), report.Section(), position, 1));
    EXPECT_NE(
        std::string::npos,
        report.SavedText().find("<DataMember Type=\"Path\" Name=\"UnspecifiedLCID\">##ERROR:0x80004005##\n"
                                "</DataMember>"));
}

TEST_F(QueryComponentPathTest, FailedCallRowShowsTheBufferButNothingBeyondIt)
{
    CEnvironmentVariable scribble(L"CORVANE_MOCK_MAPI_SCRIBBLE", L"1");
    const std::wstring module = FixturePath(L"failing\\FAILMAPI.DLL");
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), nullptr, position, 1));
    const std::string buffer(520, '#');
    EXPECT_EQ("6 0 Section\n"
              "7 1 Language Dependent Path (" +
                  ToUtf8(module) + ")\n" + "8 2 MS Outlook: " + buffer + "\n" + "8 2 MS Office: " + buffer +
                  "\n" + "8 2 Generic: " + buffer + "\n" + "3 1 Placeholder\n",
              Rows());
}

TEST_F(QueryComponentPathTest, ModuleThatCannotBeLoadedGivesTheErrorStructAndKeepsItsRow)
{
    const std::wstring module = FixturePath(L"missing\\MAPISTUB.DLL");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(static_cast<HRESULT>(0x8007007E),
              env.engine.QueryComponentPath(module.c_str(), report.Section(), position, 1));
    EXPECT_EQ(2, position);
    EXPECT_EQ("6 0 Section\n"
              "7 1 Language Dependent Path (" +
                  ToUtf8(module) + ")\n" + "3 1 Placeholder\n",
              Rows());
    EXPECT_EQ(ReportFile(kSection,
                         "<DataStruct Type=\"ProcedureCall\" Procedure=\"FGetComponentPath\" ModulePath=\"" +
                             ToUtf8(module) + "\">##ERROR:0x8007007E##\n</DataStruct>\n"),
              report.SavedText());
}

TEST_F(QueryComponentPathTest, ModuleWithoutTheExportFailsWithProcedureNotFound)
{
    const std::wstring module = FixturePath(L"noexport\\MAPISTUB.DLL");
    EXPECT_EQ(static_cast<HRESULT>(0x8007007F),
              env.engine.QueryComponentPath(module.c_str(), nullptr, position, 1));
    EXPECT_EQ(2, position);
}

// What the finding rules read: a failed call's buffer is never taken for a path, a failed load keeps its
// code.
TEST_F(QueryComponentPathTest, TheExaminedAnswerHoldsOnlyWhatTheCallsFound)
{
    ComponentPathFacts found;
    const std::wstring stub = FixturePath(L"mapi\\MAPISTUB.DLL");
    env.engine.QueryComponentPath(stub.c_str(), nullptr, position, 1, nullptr, &found);
    EXPECT_EQ(S_OK, found.loadResult);
    EXPECT_TRUE(found.applicationLcid.found);
    EXPECT_EQ(L"C:\\Mock\\MAPISTUB.DLL\\{C}\\Office|\\520,0", found.officeLcid.path);
    EXPECT_EQ(L"C:\\Mock\\MAPISTUB.DLL\\{C}\\(null)\\520,0", found.noQualifier.path);

    CEnvironmentVariable scribble(L"CORVANE_MOCK_MAPI_SCRIBBLE", L"1");
    ComponentPathFacts failing;
    const std::wstring failingModule = FixturePath(L"failing\\FAILMAPI.DLL");
    env.engine.QueryComponentPath(failingModule.c_str(), nullptr, position, 1, nullptr, &failing);
    EXPECT_EQ(S_OK, failing.loadResult);
    for (const ComponentPathCall* call :
         {&failing.applicationLcid, &failing.officeLcid, &failing.noQualifier})
    {
        EXPECT_FALSE(call->found);
        EXPECT_EQ(L"", call->path);
    }

    ComponentPathFacts exportless;
    const std::wstring noExport = FixturePath(L"noexport\\MAPISTUB.DLL");
    env.engine.QueryComponentPath(noExport.c_str(), nullptr, position, 1, nullptr, &exportless);
    EXPECT_EQ(static_cast<HRESULT>(0x8007007F), exportless.loadResult);
}

TEST_F(QueryComponentPathTest, TextOutsideAsciiTravelsInTheAnsiCodePageBothWays)
{
    const std::wstring component = L"{\u00DCbersicht}";
    const std::wstring qualifier = L"B\u00FCro";
    if (!AnsiCodePageCarries(component + qualifier))
        GTEST_SKIP() << "the thread's ANSI code page " << ::GetACP() << " lacks the characters";
    env.engine.facts.outlook.msiComponentId = component;
    env.engine.facts.outlook.msiApplicationLcid = MultiStringData({qualifier, L"Gr\u00F6\u00DFe"});
    const std::wstring module = FixturePath(L"mapi\\MAPISTUB.DLL");
    CTestReport report(env.engine, L"MAPIConfig", L"MAPI Configuration");
    EXPECT_EQ(S_OK, env.engine.QueryComponentPath(module.c_str(), report.Section(), position, 1));
    EXPECT_EQ(L"MS Outlook: C:\\Mock\\MAPISTUB.DLL\\{\u00DCbersicht}\\B\u00FCro|Gr\u00F6\u00DFe|\\520,0",
              env.sink.Rows().at(2).text);
    EXPECT_NE(std::string::npos,
              report.SavedText().find(
                  "<DataMember Type=\"Path\" Name=\"MSIApplicationLCID\">C:\\Mock\\MAPISTUB.DLL\\{"
                  "\xC3\x9C"
                  "bersicht}\\B\xC3\xBCro|Gr\xC3\xB6\xC3\x9F"
                  "e|\\520,0</DataMember>"));
}
