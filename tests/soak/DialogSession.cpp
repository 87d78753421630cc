#include "tests/soak/DialogSession.h"

#include "app/AppMainDlg.h"
#include "res/resource.h"
#include "tests/hostile/RunHarness.h"
#include "tests/support/Deadline.h"
#include "tests/support/TestThread.h"

#include <commctrl.h>

#include <atomic>

namespace corvane::scale {

namespace {

class CSessionDialog : public CAppMainDlg
{
public:
    explicit CSessionDialog(CReportData* engine) : CAppMainDlg(engine) { ::InitCommonControls(); }

    std::atomic<HWND> shown{nullptr};

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CAppMainDlg::OnInitDialog();
        shown = Handle();
        return result;
    }
};

} // namespace

void CDialogSession::Run(CReportData& engine, const std::function<void(CDialogSession&)>& script)
{
    CSessionDialog dialog(&engine);
    test::CTestThread driver([&] {
        while (!dialog.shown)
            ::Sleep(10);
        CDialogSession session(dialog.shown);
        script(session);
        ::PostMessageW(dialog.shown, WM_CLOSE, 0, 0);
    });
    dialog.DoModal();
    driver.Join();
}

bool CDialogSession::IsIdle() const
{
    return ::IsWindowEnabled(::GetDlgItem(dialog_, IDC_EXECUTE)) &&
           !::IsWindowEnabled(::GetDlgItem(dialog_, IDC_STOP));
}

double CDialogSession::Execute(bool verbose, bool saveReport, const std::wstring& outputFolder,
                               DWORD timeoutMs)
{
    ::SendMessageW(::GetDlgItem(dialog_, IDC_VERBOSE), BM_SETCHECK, verbose ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(::GetDlgItem(dialog_, IDC_SAVE_REPORT), BM_SETCHECK,
                   saveReport ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(::GetDlgItem(dialog_, IDC_OUTPUT_FOLDER), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(outputFolder.c_str()));
    HWND execute = ::GetDlgItem(dialog_, IDC_EXECUTE);
    const double start = NowSeconds();
    ::SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_EXECUTE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(execute));
    const test::CDeadline deadline(timeoutMs);
    while (!IsIdle())
    {
        if (deadline.Passed())
            return -1;
        ::Sleep(1);
    }
    return (NowSeconds() - start) * 1000.0;
}

} // namespace corvane::scale
