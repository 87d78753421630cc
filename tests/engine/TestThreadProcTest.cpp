// The run driver on a thread of its own, its display recorded.
#include "engine/TestThreadProc.h"

#include "engine/OutputFolder.h"
#include "engine/ReportData.h"
#include "res/resource.h"
#include "tests/support/Deadline.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestThread.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cwctype>
#include <functional>

using namespace corvane;
using namespace corvane::test;

namespace {

// Stands for the worker's thread object: the driver only stores and clears the pointer.
CWorkerThread* const kSomeThread = reinterpret_cast<CWorkerThread*>(static_cast<INT_PTR>(0x1000));

// An engine with a fresh recording, set running the way Execute leaves it.
class CDriverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.AttachSink(&sink);
        engine.outputFolder = folder.Path();
        engine.verbose = FALSE;
    }

    // Runs the driver on its own thread, answering its messages here until it returns.
    int Run(const std::function<void()>& onWorker = nullptr)
    {
        engine.SetRunning(kSomeThread);
        std::atomic<bool> done{false};
        int result = 0;
        test::CTestThread worker([&] {
            if (onWorker)
                onWorker();
            result = static_cast<int>(TestThreadProc(&engine));
            done = true;
        });
        worker.Join();
        return done ? result : RunReportFailed;
    }

    std::wstring ReportPath() const { return folder.File(L"Corvane.xml"); }

    CRecordingSink sink;
    CScratchFolder folder;
    CReportData engine;
};

bool IsStamped(const std::wstring& text, const std::wstring& prefix)
{
    const std::wstring pattern = L"dddd-dd-dd dd:dd:dd.";
    if (text.size() != prefix.size() + pattern.size() || text.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = 0; i < pattern.size(); ++i)
    {
        const wchar_t c = text[prefix.size() + i];
        if (pattern[i] == L'd' ? !std::iswdigit(c) : c != pattern[i])
            return false;
    }
    return true;
}

std::string StampOf(const std::wstring& row)
{
    return ToUtf8(row.substr(row.size() - 20, 19));
}

std::string Describe(const std::vector<EventRow>& rows)
{
    std::string text;
    for (const EventRow& row : rows)
        text += "  [" + std::to_string(row.icon) + "," + std::to_string(row.indent) + "] " +
                ToUtf8(row.text) + "\n";
    return text;
}

bool IsIdle(const CRecordingSink& sink)
{
    return !sink.IsRunning();
}

} // namespace

TEST_F(CDriverTest, AStopSetBeforeTheFirstSectionEndsTheRunBeforeItsTitle)
{
    engine.stopEvent.SetEvent();
    EXPECT_EQ(RunAborted, Run());
    const auto rows = sink.Rows();
    ASSERT_EQ(3u, rows.size()) << Describe(rows);
    EXPECT_TRUE(IsStamped(rows[0].text, L"Test started at ")) << ToUtf8(rows[0].text);
    EXPECT_EQ((EventRow{rows[0].text, 0, 0}), rows[0]);
    EXPECT_EQ((EventRow{L"Report saved to the Corvane.xml file.", 5, 0}), rows[1]);
    EXPECT_TRUE(IsStamped(rows[2].text, L"Test aborted by user at ")) << ToUtf8(rows[2].text);
    EXPECT_EQ(1, rows[2].icon);
    EXPECT_EQ(0, rows[2].indent);

    EXPECT_EQ(nullptr, engine.runningThread);
    EXPECT_TRUE(IsIdle(sink));
    EXPECT_EQ(nullptr, engine.report);

    const std::string report = ReadFileBytes(ReportPath());
    const std::string ended = StampOf(rows[2].text);
    EXPECT_NE(std::string::npos, report.find("<Title>Corvane</Title>")) << report;
    EXPECT_NE(std::string::npos, report.find("<StartedAt>" + StampOf(rows[0].text) + "</StartedAt>"))
        << report;
    EXPECT_NE(std::string::npos, report.find("<AbortedAt>" + ended + "</AbortedAt>")) << report;
    EXPECT_NE(std::string::npos, report.find("<CreatedAt>" + ended + "</CreatedAt>")) << report;
    EXPECT_EQ(std::string::npos, report.find("<ReportSection")) << report;
}

TEST_F(CDriverTest, WithoutAReportThereIsNoFileAndNoSavedRow)
{
    engine.saveReport = FALSE;
    engine.stopEvent.SetEvent();
    EXPECT_EQ(RunAborted, Run());
    const auto rows = sink.Rows();
    ASSERT_EQ(2u, rows.size()) << Describe(rows);
    EXPECT_TRUE(IsStamped(rows[1].text, L"Test aborted by user at "));
    EXPECT_FALSE(FileExists(ReportPath()));
}

TEST_F(CDriverTest, AStopSeenInOneRunDoesNotCarryIntoTheNext)
{
    engine.saveReport = FALSE;
    engine.stopEvent.SetEvent();
    EXPECT_EQ(RunAborted, Run());
    EXPECT_TRUE(engine.stopSeen);
    Run();
    const auto rows = sink.Rows();
    EXPECT_FALSE(IsStamped(rows.back().text, L"Test aborted by user at ")) << Describe(rows);
    bool sawMailClients = false;
    for (const EventRow& row : rows)
        sawMailClients = sawMailClients || (row.indent == 0 && row.text == L"Mail Clients Configuration");
    EXPECT_TRUE(sawMailClients) << Describe(rows);
}

TEST_F(CDriverTest, TheRunClearsTheListAndResetsTheProgressBar)
{
    engine.saveReport = FALSE;
    engine.InsertEvent(-1, EventStyle(EventIcon::Gem, 2), L"a row of the last run");
    sink.Progress(ProgressReset, 50, nullptr);
    sink.Progress(ProgressSetPos, 40, nullptr);
    engine.stopEvent.SetEvent();
    Run();
    const auto rows = sink.Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(IsStamped(rows[0].text, L"Test started at ")) << Describe(rows);
    EXPECT_EQ(10, sink.ProgressHigh());
    EXPECT_EQ(0, sink.ProgressPosition());
    EXPECT_EQ(L"Test process is running...", sink.StatusText());
}

TEST_F(CDriverTest, TheWorkerWaitsAtItsStartBarrierWhileExecuteHoldsTheLock)
{
    engine.saveReport = FALSE;
    engine.stopEvent.SetEvent();
    engine.InsertEvent(-1, EventStyle(EventIcon::Info, 0), L"still here");
    engine.SetRunning(kSomeThread);
    std::atomic<bool> done{false};
    test::CTestThread worker;
    {
        CScopedLock execute(engine, CScopedLock::Wait::HandlingSentMessages);
        worker.Start([&] {
            TestThreadProc(&engine);
            done = true;
        });
        ::Sleep(200);
        EXPECT_FALSE(done);
        EXPECT_EQ(1u, sink.Rows().size()) << "the worker went past its start barrier";
    }
    worker.Join();
    EXPECT_TRUE(IsStamped(sink.Rows().back().text, L"Test aborted by user at "));
}

TEST_F(CDriverTest, NothingAnEarlierRunFoundIsUsedByTheNext)
{
    // As a run on a machine with Outlook leaves them; this machine has no Outlook client key.
    const std::wstring stale = L"C:\\Stale\\Earlier Run";
    engine.facts.systemFolder = stale;
    engine.facts.outlook.hasLcidKeys = TRUE;
    engine.facts.outlook.msiComponentId = stale;
    engine.facts.outlook.msiApplicationLcid = stale + L"\\Outlook";
    engine.facts.outlook.msiOfficeLcid = stale + L"\\Office";
    engine.facts.outlook.dllPath = stale + L"\\MAPI.DLL";
    engine.facts.outlook.dllPathEx = stale + L"\\MSMAPI32.DLL";
    engine.facts.outlookFolder = stale;
    engine.verbose = TRUE;
    Run();
    const auto rows = sink.Rows();
    for (const EventRow& row : rows)
        EXPECT_EQ(std::wstring::npos, row.text.find(L"Stale")) << Describe(rows);
    EXPECT_EQ(std::string::npos, ReadFileBytes(ReportPath()).find("Stale"));
    EXPECT_EQ(L"", engine.facts.outlook.dllPathEx);
    EXPECT_FALSE(engine.facts.outlook.hasLcidKeys);
}

TEST_F(CDriverTest, ABlankOrQuotedOutputFolderIsNotTheRootOfTheDrive)
{
    struct Case
    {
        std::wstring typed;
        std::wstring report;
    };
    const std::wstring programReport = ProgramFolder() + L"\\Corvane.xml";
    const Case cases[] = {
        {L"", programReport},
        {L"   ", programReport},
        {L"\"\"", programReport},
        {L" \" \" ", programReport},
        {L"\"" + folder.Path() + L"\"", ReportPath()},
        {L"  " + folder.Path() + L"\\  ", ReportPath()},
    };
    engine.stopEvent.SetEvent(); // the report of an aborted run is saved all the same
    for (const Case& c : cases)
    {
        ::DeleteFileW(c.report.c_str());
        ::DeleteFileW(L"\\Corvane.xml");
        engine.outputFolder = c.typed;
        engine.stopEvent.SetEvent();
        Run();
        EXPECT_TRUE(FileExists(c.report)) << ToUtf8(c.typed);
        EXPECT_FALSE(FileExists(L"\\Corvane.xml")) << ToUtf8(c.typed);
        ::DeleteFileW(c.report.c_str());
    }
}

// The page beside the report is written whenever the report is; a page that cannot be written (here a
// folder has its name) is a row of its own, and the report and the run's result stay as they are.
TEST_F(CDriverTest, APageThatCannotBeWrittenIsARowOfItsOwnAndCostsNothingElse)
{
    engine.stopEvent.SetEvent();
    ASSERT_EQ(RunAborted, Run());
    EXPECT_FALSE(ReadFileBytes(folder.File(L"Corvane.html")).empty()) << "no page beside the report";

    ASSERT_TRUE(::DeleteFileW(folder.File(L"Corvane.html").c_str()));
    ASSERT_TRUE(::CreateDirectoryW(folder.File(L"Corvane.html").c_str(), nullptr));
    engine.stopEvent.SetEvent();
    EXPECT_EQ(RunAborted, Run());
    const auto rows = sink.Rows();
    ASSERT_EQ(4u, rows.size()) << Describe(rows);
    EXPECT_EQ((EventRow{L"Report saved to the Corvane.xml file.", 5, 0}), rows[1]);
    EXPECT_EQ(0u, rows[2].text.find(L"Failed to write the report's page to the Corvane.html file. (0x8007"))
        << ToUtf8(rows[2].text);
    EXPECT_EQ(1, rows[2].icon);
    EXPECT_TRUE(IsStamped(rows[3].text, L"Test aborted by user at ")) << ToUtf8(rows[3].text);
    EXPECT_NE(std::string::npos, ReadFileBytes(ReportPath()).find("<AbortedAt>"));
    ::RemoveDirectoryW(folder.File(L"Corvane.html").c_str());
}

// After the four sections, whether they completed or a step failed, the inventory and the findings: two
// more sections of the list and the report, before the report is saved. They take no step of the
// progress bar and leave the run's result as the sections made it.
TEST_F(CDriverTest, TheInventoryAndTheFindingsFollowTheSectionsAndLeaveTheResultAlone)
{
    const int result = Run();
    ASSERT_NE(RunAborted, result);
    ASSERT_NE(RunReportFailed, result);
    std::vector<std::wstring> driver;
    for (const EventRow& row : sink.Rows())
    {
        if (row.indent == 0)
            driver.push_back(row.text);
    }
    ASSERT_GE(driver.size(), 5u) << Describe(sink.Rows());
    const size_t n = driver.size();
    EXPECT_EQ(L"Inventory", driver[n - 4]) << Describe(sink.Rows());
    EXPECT_EQ(L"Findings", driver[n - 3]);
    EXPECT_EQ(L"Report saved to the Corvane.xml file.", driver[n - 2]);
    EXPECT_TRUE(IsStamped(driver[n - 1], result == RunCompleted ? L"Test completed at " : L"Test failed at "))
        << ToUtf8(driver[n - 1]) << ", result " << result;
    EXPECT_EQ(10, sink.ProgressHigh());
    EXPECT_LE(sink.ProgressPosition(), 9) << "a full run takes at most nine steps";

    const std::string report = ReadFileBytes(ReportPath());
    const size_t inventory =
        report.find("</ReportSection><ReportSection id=\"Inventory\" Title=\"Inventory\">");
    const size_t findings = report.find("</ReportSection><ReportSection id=\"Findings\" Title=\"Findings\">");
    ASSERT_NE(std::string::npos, inventory) << report;
    ASSERT_NE(std::string::npos, findings) << report;
    EXPECT_LT(inventory, findings);
    EXPECT_NE(std::string::npos, report.find(result == RunCompleted ? "<CompletedAt>" : "<FailedAt>"));
}
