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
        attached = engine.eventList;
    });
    EXPECT_FALSE(verbose);
    EXPECT_TRUE(save);
    EXPECT_EQ(L"C:\\Somewhere", folder);
    EXPECT_NE(nullptr, attached) << "the engine was not given the controls";
    EXPECT_EQ(nullptr, engine.eventList) << "the engine keeps the handles of a destroyed window";
}
