// The main dialog in this process, for what cannot be reached from outside: its system menu, and a
// worker thread that cannot be created.
#include "app/AppMainDlg.h"

#include "engine/ReportData.h"
#include "res/resource.h"
#include "tests/support/TestThread.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using namespace corvane;

namespace {

class CTestableMainDlg : public CAppMainDlg
{
public:
    explicit CTestableMainDlg(CReportData* engine) : CAppMainDlg(engine) { ::InitCommonControls(); }

    std::atomic<HWND> shown{nullptr};
    bool failThreadCreation = false;
    bool failResume = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CAppMainDlg::OnInitDialog();
        shown = Handle();
        return result;
    }
    CWorkerThread* CreateWorker() override
    {
        if (!failThreadCreation)
            return CAppMainDlg::CreateWorker();
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bool ResumeWorker(CWorkerThread* worker) override
    {
        if (!failResume)
            return CAppMainDlg::ResumeWorker(worker);
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
};

// Runs the dialog modally while the script drives it from another thread; the script's end closes it.
void RunWithScript(CTestableMainDlg& dialog, const std::function<void(HWND)>& script)
{
    test::CTestThread driver([&] {
        while (!dialog.shown)
            ::Sleep(10);
        script(dialog.shown);
        ::PostMessageW(dialog.shown, WM_CLOSE, 0, 0);
    });
    dialog.DoModal();
    driver.Join();
}

HWND WaitForOwnedBox(HWND owner)
{
    for (int i = 0; i < 500; ++i)
    {
        HWND found = nullptr;
        for (HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD); window;
             window = ::GetWindow(window, GW_HWNDNEXT))
        {
            if (window != owner && ::GetWindow(window, GW_OWNER) == owner && ::IsWindowVisible(window))
                found = window;
        }
        if (found)
            return found;
        ::Sleep(20);
    }
    return nullptr;
}

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

} // namespace

TEST(CAppMainDlg, TheSystemMenuEndsWithASeparatorAndTheAboutItem)
{
    CReportData engine;
    CTestableMainDlg dialog(&engine);
    int count = 0;
    std::wstring last;
    UINT lastId = 0;
    UINT separatorType = 0;
    RunWithScript(dialog, [&](HWND window) {
        HMENU menu = ::GetSystemMenu(window, FALSE);
        count = ::GetMenuItemCount(menu);
        last = MenuText(menu, count - 1);
        lastId = ::GetMenuItemID(menu, count - 1);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(count - 2), TRUE, &info);
        separatorType = info.fType;
    });
    ASSERT_GT(count, 2);
    EXPECT_EQ(L"&About Corvane...", last);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), lastId);
    EXPECT_TRUE(separatorType & MFT_SEPARATOR);
}

TEST(AppendAboutItem, AnEmptyTextAddsNeitherSeparatorNorItem)
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"&Close");
    AppendAboutItem(menu, L"");
    EXPECT_EQ(1, ::GetMenuItemCount(menu));
    AppendAboutItem(menu, L"&About Corvane...");
    EXPECT_EQ(3, ::GetMenuItemCount(menu));
    EXPECT_EQ(L"&About Corvane...", MenuText(menu, 2));
    ::DestroyMenu(menu);
}

// The worker cannot be created, or created but not let run: either way the run never starts.
TEST(CAppMainDlg, AWorkerThatCannotStartShows10002AndLeavesTheDialogIdleAndCompact)
{
    for (const bool atResume : {false, true})
    {
        CReportData engine;
        CTestableMainDlg dialog(&engine);
        dialog.failThreadCreation = !atResume;
        dialog.failResume = atResume;
        std::wstring text;
        bool executeEnabled = false;
        bool stopEnabled = true;
        bool resizable = true;
        bool running = true;
        RunWithScript(dialog, [&](HWND window) {
            ::PostMessageW(::GetDlgItem(window, IDC_EXECUTE), BM_CLICK, 0, 0);
            HWND box = WaitForOwnedBox(window);
            if (!box)
                return;
            wchar_t message[256] = {};
            ::GetDlgItemTextW(box, 0xFFFF, message, 256);
            text = message;
            ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            while (::IsWindow(box))
                ::Sleep(10);
            executeEnabled = ::IsWindowEnabled(::GetDlgItem(window, IDC_EXECUTE)) != FALSE;
            stopEnabled = ::IsWindowEnabled(::GetDlgItem(window, IDC_STOP)) != FALSE;
            resizable = (::GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
            running = engine.runningThread != nullptr;
        });
        EXPECT_EQ(L"Failed to create thread. Test can't be started.", text) << atResume;
        EXPECT_TRUE(executeEnabled) << atResume;
        EXPECT_FALSE(stopEnabled) << atResume;
        EXPECT_FALSE(resizable) << "the dialog grew without a run; " << atResume;
        EXPECT_FALSE(running) << atResume;
    }
}

TEST(CAppMainDlg, InitialisationShowsTheEnginesOptions)
{
    CReportData engine;
    engine.verbose = FALSE;
    engine.outputFolder = L"C:\\Somewhere";
    CTestableMainDlg dialog(&engine);
    bool verbose = true;
    bool save = false;
    std::wstring folder;
    HWND attached = nullptr;
    RunWithScript(dialog, [&](HWND window) {
        verbose = ::IsDlgButtonChecked(window, IDC_VERBOSE) == BST_CHECKED;
        save = ::IsDlgButtonChecked(window, IDC_SAVE_REPORT) == BST_CHECKED;
        wchar_t text[MAX_PATH] = {};
        ::GetDlgItemTextW(window, IDC_OUTPUT_FOLDER, text, MAX_PATH);
        folder = text;
        attached = reinterpret_cast<HWND>(engine.Sink());
    });
    EXPECT_FALSE(verbose);
    EXPECT_TRUE(save);
    EXPECT_EQ(L"C:\\Somewhere", folder);
    EXPECT_NE(nullptr, attached) << "the engine was not given the dialog's sink";
    EXPECT_EQ(nullptr, engine.Sink()) << "the engine keeps the sink of a destroyed window";
}

// The engine says that a run has started or ended; the dialog alone decides what that does to its
// controls.
TEST(CAppMainDlg, TheRunningStateSwitchesExactlyItsControls)
{
    CReportData engine;
    CTestableMainDlg dialog(&engine);
    const int options[] = {IDC_VERBOSE, IDC_SAVE_REPORT, IDC_OUTPUT_LABEL, IDC_OUTPUT_FOLDER, IDC_BROWSE};
    std::vector<bool> running;
    std::vector<bool> idle;
    HWND focusRunning = nullptr;
    HWND stop = nullptr;
    RunWithScript(dialog, [&](HWND window) {
        const auto look = [window, &options](std::vector<bool>& into) {
            for (int id : {IDC_STATUS_TEXT, IDC_PROGRESS})
                into.push_back((::GetWindowLongW(::GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0);
            for (int id : {IDC_EXECUTE, IDC_STOP})
                into.push_back(::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE);
            for (int id : options)
                into.push_back(::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE);
        };
        engine.SetRunning(reinterpret_cast<CWorkerThread*>(0x1000));
        look(running);
        stop = ::GetDlgItem(window, IDC_STOP);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof(gui);
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui))
            focusRunning = gui.hwndFocus;
        engine.SetRunning(nullptr);
        look(idle);
    });
    // Status and progress shown, Execute off, Stop on, every option off; and the other way round.
    EXPECT_EQ((std::vector<bool>{true, true, false, true, false, false, false, false, false}), running);
    EXPECT_EQ((std::vector<bool>{false, false, true, false, true, true, true, true, true}), idle);
    EXPECT_EQ(stop, focusRunning) << "the enabled button takes the focus";
}
