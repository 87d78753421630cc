// The dialog's side of the sink on real controls: rows with icon and indent, status, progress, painting.
#include "engine/ReportData.h"
#include "engine/TestThreadProc.h"
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "res/resource.h"
#include "tests/app/TestWindow.h"
#include "tests/support/Deadline.h"
#include "tests/support/TestThread.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>

using namespace corvane;
using test::EventRow;

namespace {

class EventDisplayTest : public testing::Test
{
protected:
    void SetUp() override { engine.AttachSink(&window.Sink()); }

    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i)
            engine.InsertEvent(-1, EventStyle(EventIcon::Info, 0), (L"row " + std::to_wstring(i)).c_str());
    }

    bool Visible(int id) const { return (::GetWindowLongW(window.Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }

    test::CTestWindow window;
    CReportData engine;
};

} // namespace

TEST_F(EventDisplayTest, InsertBeyondTheCountAppendsAndAtZeroMakesTheFirstRow)
{
    AddRows(3);
    EXPECT_EQ(3, engine.InsertEvent(5, EventStyle(EventIcon::Warning, 0), L"appended"));
    EXPECT_EQ(0, engine.InsertEvent(0, EventStyle(EventIcon::Warning, 0), L"first"));
    EXPECT_EQ(5, engine.InsertEvent(-7, EventStyle(EventIcon::Warning, 0), L"negative appends"));
    const std::vector<EventRow> expected = {{L"first", 1, 0},    {L"row 0", 0, 0},
                                            {L"row 1", 0, 0},    {L"row 2", 0, 0},
                                            {L"appended", 1, 0}, {L"negative appends", 1, 0}};
    EXPECT_EQ(expected, window.Rows());
}

TEST_F(EventDisplayTest, UpdateAtMinusOneReplacesTheLastRowAndOnAnEmptyListAppends)
{
    EXPECT_EQ(0, engine.UpdateEvent(-1, EventStyle(EventIcon::Monitor, 1), L"only"));
    EXPECT_EQ((std::vector<EventRow>{{L"only", 7, 1}}), window.Rows());
    AddRows(3);
    EXPECT_EQ(3, engine.UpdateEvent(-1, EventStyle(EventIcon::Warning, 2), L"replaced"));
    EXPECT_EQ(
        (std::vector<EventRow>{{L"only", 7, 1}, {L"row 0", 0, 0}, {L"row 1", 0, 0}, {L"replaced", 1, 2}}),
        window.Rows());
    EXPECT_EQ(4, engine.UpdateEvent(9, EventStyle(EventIcon::Info, 0), L"beyond appends"));
    EXPECT_EQ(5u, window.Rows().size());
}

TEST_F(EventDisplayTest, RemoveBeyondTheCountKeepsAllAndNegativeEmptiesTheList)
{
    AddRows(3);
    EXPECT_EQ(3, engine.RemoveEvent(7));
    EXPECT_EQ(3u, window.Rows().size());
    EXPECT_EQ(2, engine.RemoveEvent(1));
    EXPECT_EQ((std::vector<EventRow>{{L"row 0", 0, 0}, {L"row 2", 0, 0}}), window.Rows());
    EXPECT_EQ(0, engine.RemoveEvent(-1));
    EXPECT_TRUE(window.Rows().empty());
}

TEST_F(EventDisplayTest, StyleCarriesIconInTheLowHalfAndIndentInTheHighHalf)
{
    engine.InsertEvent(-1, 65539, L"placeholder");
    engine.InsertEvent(-1, 131076, L"detail");
    engine.InsertEvent(-1, EventStyle(EventIcon::MuiSz, 3), L"deep");
    EXPECT_EQ((std::vector<EventRow>{{L"placeholder", 3, 1}, {L"detail", 4, 2}, {L"deep", 24, 3}}),
              window.Rows());
}

TEST_F(EventDisplayTest, LastInsertedOrUpdatedRowIsSelectedFocusedAndVisible)
{
    AddRows(60);
    EXPECT_EQ(59, window.SelectedRow());
    EXPECT_EQ(59, window.FocusedRow());
    EXPECT_TRUE(window.IsRowVisible(59));

    engine.InsertEvent(0, EventStyle(EventIcon::Info, 0), L"top");
    EXPECT_EQ(0, window.SelectedRow());
    EXPECT_TRUE(window.IsRowVisible(0));

    engine.UpdateEvent(40, EventStyle(EventIcon::Warning, 1), L"updated");
    EXPECT_EQ(40, window.SelectedRow());
    EXPECT_EQ(40, window.FocusedRow());
    EXPECT_TRUE(window.IsRowVisible(40));
    // Single selection: no other row stays selected.
    EXPECT_EQ(-1, static_cast<int>(
                      ::SendMessageW(window.Control(IDC_EVENT_LIST), LVM_GETNEXTITEM, 40, LVNI_SELECTED)));

    // Typing selects the next row that begins with what was typed.
    ::SendMessageW(window.Control(IDC_EVENT_LIST), WM_CHAR, L'R', 1); // a repeat count of one
    EXPECT_EQ(41, window.SelectedRow());
}

TEST_F(EventDisplayTest, ResetThenFourStepsGivesPositionFourOfTen)
{
    ::SetWindowTextW(window.Control(IDC_STATUS_TEXT), L"before");
    engine.UpdateProgress(ProgressReset, 10, DefaultStatusText);
    for (int i = 0; i < 4; ++i)
        engine.UpdateProgress(ProgressStep, 0, nullptr);
    EXPECT_EQ(4, window.ProgressPosition());
    EXPECT_EQ(10, window.ProgressHigh());
    EXPECT_EQ(L"Test process is running...", window.StatusText());

    engine.UpdateProgress(ProgressStep, 0, L"Checking system version...");
    EXPECT_EQ(5, window.ProgressPosition());
    EXPECT_EQ(L"Checking system version...", window.StatusText());
    engine.UpdateProgress(ProgressKeep, 99, nullptr);
    EXPECT_EQ(5, window.ProgressPosition());
    EXPECT_EQ(L"Checking system version...", window.StatusText());
    engine.UpdateProgress(ProgressSetPos, 2, DefaultStatusText);
    EXPECT_EQ(2, window.ProgressPosition());
    EXPECT_EQ(L"Test process is running...", window.StatusText());
}

TEST_F(EventDisplayTest, LargeRangeUsesTheThirtyTwoBitForm)
{
    engine.UpdateProgress(ProgressReset, 40000, nullptr);
    PBRANGE range{};
    ::SendMessageW(window.Control(IDC_PROGRESS), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(40000, range.iHigh);
    engine.UpdateProgress(ProgressSetPos, 39000, nullptr);
    EXPECT_EQ(39000, window.ProgressPosition());
}

TEST_F(EventDisplayTest, SetRunningTellsTheDialogOnceEachWayAfterThePaintingIsHeldOrLetThrough)
{
    const auto thread = reinterpret_cast<CWorkerThread*>(0x1000);
    engine.SetRunning(thread);
    EXPECT_EQ(thread, engine.runningThread);
    engine.SetRunning(nullptr);
    EXPECT_EQ(nullptr, engine.runningThread);
    EXPECT_EQ((std::vector<bool>{true, false}), window.RunningChanges());
    EXPECT_TRUE(Visible(IDC_EVENT_LIST));
}

TEST_F(EventDisplayTest, CallsFromAWorkerThreadArriveInOrderWhileTheWindowPumps)
{
    bool done = false;
    test::CTestThread worker([&] {
        engine.RemoveEvent(-1);
        engine.UpdateProgress(ProgressReset, 10, DefaultStatusText);
        for (int i = 0; i < 200; ++i)
        {
            const int placeholder =
                engine.InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), L"placeholder");
            int position = placeholder;
            engine.InsertEvent(position++, EventStyle(EventIcon::Gem, 2),
                               (L"detail " + std::to_wstring(i)).c_str());
            engine.RemoveEvent(position);
            engine.UpdateProgress(ProgressStep, 0, nullptr);
        }
        engine.UpdateEvent(-1, EventStyle(EventIcon::Info, 0), L"last");
        done = true;
        ::PostMessageW(window.Window(), WM_NULL, 0, 0);
    });
    MSG message;
    while (!done && ::GetMessageW(&message, nullptr, 0, 0))
        ::DispatchMessageW(&message);
    worker.Join();

    const std::vector<EventRow> rows = window.Rows();
    ASSERT_EQ(200u, rows.size());
    for (int i = 0; i < 199; ++i)
        EXPECT_EQ((EventRow{L"detail " + std::to_wstring(i), 4, 2}), rows[static_cast<size_t>(i)]);
    EXPECT_EQ((EventRow{L"last", 0, 0}), rows.back());
    EXPECT_EQ(10, window.ProgressPosition()); // 200 steps: the bar stops at its end
}

// During a run the list's painting is held back; the rows change at once all the same, and when the run
// ends the list paints again with the last row inserted or updated selected, focused and in view.
TEST_F(EventDisplayTest, ARunningListKeepsEveryChangeAndEndsWithTheLatestRowInView)
{
    HWND list = window.Control(IDC_EVENT_LIST);
    engine.SetRunning(reinterpret_cast<CWorkerThread*>(0x1000));
    AddRows(300);
    EXPECT_EQ(300u, window.Rows().size());
    engine.UpdateEvent(120, EventStyle(EventIcon::GearArrow, 1), L"updated");
    engine.InsertEvent(0, EventStyle(EventIcon::Warning, 0), L"top");
    engine.RemoveEvent(0); // the latest row goes: the one before it in time is not brought back
    engine.InsertEvent(-1, EventStyle(EventIcon::GemMoving, 2), L"latest");
    engine.RemoveEvent(10); // a row above the latest one: the latest moves up by one
    engine.SetRunning(nullptr);

    const std::vector<EventRow> rows = window.Rows();
    ASSERT_EQ(300u, rows.size());
    EXPECT_EQ((EventRow{L"row 0", 0, 0}), rows[0]);
    EXPECT_EQ((EventRow{L"row 11", 0, 0}), rows[10]);
    EXPECT_EQ((EventRow{L"updated", 2, 1}), rows[119]);
    EXPECT_EQ((EventRow{L"latest", 3, 2}), rows[299]);
    EXPECT_EQ(299, window.SelectedRow());
    EXPECT_EQ(299, window.FocusedRow());
    EXPECT_TRUE(window.IsRowVisible(299));
    EXPECT_EQ(-1, static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, 299, LVNI_SELECTED)));
    // Painting is let through again (WM_SETREDRAW FALSE takes the visible style away).
    EXPECT_TRUE(Visible(IDC_EVENT_LIST));

    // Outside a run every change is painted and shown at once, as before.
    engine.UpdateEvent(5, EventStyle(EventIcon::Info, 0), L"after the run");
    EXPECT_EQ(5, window.SelectedRow());
    EXPECT_TRUE(window.IsRowVisible(5));
}

TEST_F(EventDisplayTest, TheDialogThreadTakingTheLockDuringTheEndPhaseNeverWaitsForTheWorker)
{
    engine.saveReport = FALSE;
    // The end phase sends to the window under the lock; the dialog thread asks for the lock the
    // whole time, as Stop and Execute do, and must keep answering.
    engine.stopEvent.SetEvent();
    engine.SetRunning(reinterpret_cast<CWorkerThread*>(0x1000));
    std::atomic<bool> done{false};
    test::CTestThread worker([&] {
        TestThreadProc(&engine);
        done = true;
    });
    int taken = 0;
    const test::CDeadline deadline(60000);
    while (!done && !deadline.Passed())
    {
        {
            CScopedLock stop(engine, CScopedLock::Wait::HandlingSentMessages);
            ++taken;
        }
        // Between clicks the dialog thread is back in its message loop.
        test::CTestWindow::PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    const bool ended = done;
    while (!done)
    {
        test::CTestWindow::PumpMessages();
        ::Sleep(1);
    }
    worker.Join();
    ASSERT_TRUE(ended) << "the worker did not end while the lock was asked for";
    EXPECT_GT(taken, 0);
    EXPECT_EQ((std::vector<bool>{true, false}), window.RunningChanges());
    EXPECT_EQ(0u, window.Rows().back().text.find(L"Test aborted by user at "));
}

TEST(EventText, UnknownIdGivesAnEmptyTextAndCodesShowAsEightHexDigits)
{
    EXPECT_EQ(L"", FormatResourceString(4242, L"ignored"));
    EXPECT_EQ(L"Failed to query mail client information. (0x80070002)",
              FormatResourceString(IDS_MAIL_CLIENTS_FAILED, HResultFromWin32(ERROR_FILE_NOT_FOUND)));
    EXPECT_EQ(L"Failed to save report to the Corvane.xml file.\n\nError code: 0x8007000E",
              FormatResourceString(IDS_SAVE_FAILED, L"Corvane.xml", E_OUTOFMEMORY));
    EXPECT_EQ(L"Language Dependent Path (MAPI\u00dc.DLL)",
              FormatResourceString(IDS_LANGUAGE_DEPENDENT_PATH, L"MAPI\u00dc.DLL"));
}
