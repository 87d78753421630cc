// The dialog base: modal run from a template, dispatch to handlers, data exchange, OK and Cancel.
#include "framework/Dialog.h"

#include "framework/WinApp.h"
#include "res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

using namespace corvane;

namespace {

// The main dialog's template with a test's own exchange and a script run at initialisation.
class CScriptedDialog : public CDialog
{
public:
    CScriptedDialog() : CDialog(IDD_MAIN) { ::InitCommonControls(); }

    std::function<void(CScriptedDialog&)> script;
    BOOL verbose = TRUE;
    BOOL saveReport = FALSE;
    std::wstring folder = L"C:\\Reports";
    int sizes = 0;
    int destroyed = 0;

    using CDialog::HandleMessage;
    using CDialog::UpdateData;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (script)
            script(*this);
        return TRUE;
    }
    void DoDataExchange() override
    {
        ExchangeCheck(IDC_VERBOSE, verbose);
        ExchangeCheck(IDC_SAVE_REPORT, saveReport);
        ExchangeText(IDC_OUTPUT_FOLDER, folder);
    }
    void OnSize(UINT, int, int) override { ++sizes; }
    void OnDestroy() override { ++destroyed; }
};

std::wstring TextOf(HWND control)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(control, text, 512);
    return text;
}

} // namespace

TEST(CDialog, InitialisationCopiesTheMembersIntoTheControls)
{
    CScriptedDialog dialog;
    BOOL verboseShown = FALSE;
    BOOL saveShown = TRUE;
    std::wstring folderShown;
    dialog.script = [&](CScriptedDialog& d) {
        verboseShown = ::IsDlgButtonChecked(d.Handle(), IDC_VERBOSE) == BST_CHECKED;
        saveShown = ::IsDlgButtonChecked(d.Handle(), IDC_SAVE_REPORT) == BST_CHECKED;
        folderShown = TextOf(d.Item(IDC_OUTPUT_FOLDER));
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(verboseShown);
    EXPECT_FALSE(saveShown);
    EXPECT_EQ(L"C:\\Reports", folderShown);
}

TEST(CDialog, SavingCopiesTheControlsIntoTheMembers)
{
    CScriptedDialog dialog;
    dialog.script = [](CScriptedDialog& d) {
        ::CheckDlgButton(d.Handle(), IDC_VERBOSE, BST_UNCHECKED);
        ::CheckDlgButton(d.Handle(), IDC_SAVE_REPORT, BST_CHECKED);
        ::SetDlgItemTextW(d.Handle(), IDC_OUTPUT_FOLDER, L"D:\\Elsewhere\\");
        d.UpdateData(true);
        d.EndDialog(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_FALSE(dialog.verbose);
    EXPECT_TRUE(dialog.saveReport);
    EXPECT_EQ(L"D:\\Elsewhere\\", dialog.folder);
}

TEST(CDialog, OkSavesTheControlsAndEndsWithOk)
{
    CScriptedDialog dialog;
    dialog.script = [](CScriptedDialog& d) {
        ::SetDlgItemTextW(d.Handle(), IDC_OUTPUT_FOLDER, L"E:\\");
        ::PostMessageW(d.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"E:\\", dialog.folder);
}

TEST(CDialog, CancelEndsWithCancelAndLeavesTheMembers)
{
    CScriptedDialog dialog;
    dialog.script = [](CScriptedDialog& d) {
        ::SetDlgItemTextW(d.Handle(), IDC_OUTPUT_FOLDER, L"E:\\");
        ::PostMessageW(d.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(L"C:\\Reports", dialog.folder);
}

TEST(CDialog, ACloseRequestWithoutHandlerEndsWithCancel)
{
    CScriptedDialog dialog;
    dialog.script = [](CScriptedDialog& d) { ::PostMessageW(d.Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.destroyed);
}

TEST(CDialog, SizeChangesReachTheHandler)
{
    CScriptedDialog dialog;
    int sizesSeen = 0;
    dialog.script = [&](CScriptedDialog& d) {
        const int before = d.sizes;
        ::SetWindowPos(d.Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        sizesSeen = d.sizes - before;
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ(1, sizesSeen);
}

TEST(CDialog, TheHelpRequestOfF1IsTakenByTheDialogItself)
{
    CScriptedDialog dialog;
    INT_PTR taken = FALSE;
    dialog.script = [&](CScriptedDialog& d) {
        HELPINFO help{};
        help.cbSize = sizeof(help);
        taken = d.HandleMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ(TRUE, taken);
}

TEST(CWinApp, AStartUpRoutineThatReturnsFalseEndsWithoutAMessageLoop)
{
    class CQuickApp : public CWinApp
    {
    public:
        int starts = 0;
        BOOL InitInstance() override
        {
            ++starts;
            // A message loop would end with this code instead of the exit routine's.
            ::PostQuitMessage(99);
            return FALSE;
        }
        int ExitInstance() override { return 5; }
    } application;
    EXPECT_EQ(5, application.Run());
    EXPECT_EQ(1, application.starts);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {}
}
