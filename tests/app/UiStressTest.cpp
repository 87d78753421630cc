// Hundreds of runs with Execute and Stop pressed as fast as the window takes them, end phases included.
#include "res/resource.h"
#include "tests/app/TestWorld.h"
#include "tests/support/Deadline.h"
#include "tests/support/TestThread.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace corvane::uitest;

namespace {

class UiStress : public CUiTest
{};

const std::vector<std::wstring> kSections = {L"System Information", L"Mail Clients Configuration",
                                             L"MAPI Configuration", L"Microsoft Outlook"};
// The parts after the sections, for a run that was not stopped before them.
const std::vector<std::wstring> kParts = {L"Inventory", L"Findings"};

// The driver's rows of one run, whatever moment it was stopped at: the start, a prefix of the section
// titles (none when the Stop came before the first) and, after all of them, a prefix of the inventory's
// and the findings' titles, the saved report, and one outcome. Empty when they are in order; otherwise
// what is wrong.
std::string CheckRun(const std::vector<EventRow>& rows)
{
    const auto driver = DriverRows(rows);
    if (driver.size() < 3)
        return "too few rows";
    if (!IsStamped(driver.front(), L"Test started at "))
        return "first row " + Narrow(driver.front());
    size_t i = 1;
    while (i < driver.size() && i - 1 < kSections.size() && driver[i] == kSections[i - 1])
        ++i;
    const size_t sections = i - 1;
    size_t parts = 0;
    while (sections == kSections.size() && i < driver.size() && parts < kParts.size() &&
           driver[i] == kParts[parts])
    {
        ++i;
        ++parts;
    }
    if (i >= driver.size() || driver[i] != L"Report saved to the Corvane.xml file.")
        return "no report row after the sections";
    if (i + 2 != driver.size())
        return "rows after the report row";
    const std::wstring& outcome = driver.back();
    if (IsStamped(outcome, L"Test aborted by user at "))
        return std::string();
    if (IsStamped(outcome, L"Test completed at "))
        return parts == kParts.size() ? std::string() : "completed without every section and part";
    return "outcome " + Narrow(outcome);
}

std::vector<std::wstring> Texts(const std::vector<EventRow>& rows)
{
    std::vector<std::wstring> texts;
    for (const EventRow& row : rows)
        texts.push_back(row.text.substr(0, row.text.find(L" at 20")));
    return texts;
}

} // namespace

TEST_F(UiStress, HundredsOfRunsWithStopAndExecutePressedAsFastAsTheWindowTakesThem)
{
    ui.Type(IDC_OUTPUT_FOLDER, kReports);
    ui.SetChecked(IDC_VERBOSE, false);
    ui.SetChecked(IDC_SAVE_REPORT, true);

    // A run nobody stops: the rows every complete run must show.
    ASSERT_TRUE(ui.Click(IDC_EXECUTE));
    ASSERT_TRUE(ui.WaitUntilIdle(60000));
    const auto reference = Texts(ui.Rows());
    ASSERT_EQ("", CheckRun(ui.Rows()));

    // Stop is pressed all the time from a second hand, whatever state the window is in, except in the
    // runs that are left to complete.
    std::atomic<bool> done{false};
    std::atomic<bool> stopping{false};
    std::atomic<bool> parked{false};
    std::atomic<int> unanswered{0};
    corvane::test::CTestThread stopper([&] {
        while (!done)
        {
            parked = !stopping;
            if (!stopping)
            {
                ::Sleep(1);
                continue;
            }
            if (!ui.Click(IDC_STOP))
                ++unanswered;
        }
    });

    constexpr int kRuns = 300;
    int completed = 0;
    int aborted = 0;
    for (int run = 0; run < kRuns; ++run)
    {
        stopping = run % 5 != 0;
        // A run left to complete starts only once no Stop click of the last one is still on its way.
        while (!stopping && !parked)
            ::Sleep(1);
        // Execute as soon as the window takes it: the click waits while the last worker ends.
        ASSERT_TRUE(ui.Click(IDC_EXECUTE)) << "Execute did not answer in run " << run;
        ASSERT_TRUE(ui.WaitUntilIdle(60000)) << "run " << run << " did not end";
        ASSERT_TRUE(ui.Responds()) << "the window stopped answering after run " << run;
        const auto rows = ui.Rows();
        const std::string problem = CheckRun(rows);
        ASSERT_EQ("", problem) << "run " << run << ":\n" << Narrow(Describe(rows));
        if (IsStamped(rows.back().text, L"Test completed at "))
        {
            ++completed;
            // A run that was not stopped lost no row.
            EXPECT_EQ(reference, Texts(rows)) << "run " << run << ":\n" << Narrow(Describe(rows));
        }
        else
        {
            ++aborted;
        }
    }
    EXPECT_EQ(kRuns, completed + aborted);
    EXPECT_GE(completed, kRuns / 5) << "a run that nobody stopped did not complete";
    EXPECT_GT(aborted, 0) << "no Stop ever reached a run";
    GTEST_LOG_(INFO) << completed << " runs completed, " << aborted << " aborted";

    // Then Execute too is pressed without pause, so that it lands in end phases, while the lock is
    // still held and the worker is still sending to the window.
    stopping = true;
    std::atomic<int> executes{0};
    corvane::test::CTestThread executor([&] {
        while (!done)
        {
            if (!ui.Click(IDC_EXECUTE))
                ++unanswered;
            ++executes;
        }
    });
    const corvane::test::CDeadline end(20000);
    while (!end.Passed())
    {
        ASSERT_TRUE(ui.Responds(10000)) << "the window stopped answering";
        ::Sleep(100);
    }
    done = true;
    executor.Join();
    stopper.Join();
    ASSERT_TRUE(ui.WaitUntilIdle(60000)) << "the last run did not end";
    EXPECT_EQ("", CheckRun(ui.Rows())) << Narrow(Describe(ui.Rows()));
    EXPECT_EQ(0, unanswered.load()) << "clicks that were not answered in time";
    GTEST_LOG_(INFO) << executes.load() << " Execute clicks in the last phase";
}
