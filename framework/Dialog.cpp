#include "framework/Dialog.h"

#include "framework/WinApp.h"

#include <windowsx.h>

namespace corvane {

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR CDialog::DoModal()
{
    HWND owner = parent_;
    if (!owner)
    {
        CWinApp* application = CWinApp::Current();
        if (application && application->mainWindow && application->mainWindow != this)
            owner = application->mainWindow->Handle();
    }
    const INT_PTR result = ::DialogBoxParamW(CWinApp::ResourceModule(), MAKEINTRESOURCEW(templateId_), owner,
                                             &DialogProc, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (window_)
        ::EndDialog(window_, result);
}

std::wstring CDialog::ItemText(int id) const
{
    HWND control = Item(id);
    const int length = control ? ::GetWindowTextLengthW(control) : 0;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = length > 0 ? ::GetWindowTextW(control, text.data(), length + 1) : 0;
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void CDialog::UpdateData(bool save)
{
    saving_ = save;
    DoDataExchange();
    saving_ = false;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id, int notification, HWND /*control*/)
{
    // Buttons, menus and accelerators only: a control's other notifications reuse the command message.
    if (notification != BN_CLICKED && notification != 1)
        return false;
    switch (id)
    {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

bool CDialog::OnSysCommand(UINT /*command*/, LPARAM /*position*/)
{
    return false;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_CLOSE:
        return OnClose();
    case WM_SIZE:
        // Notification only: the dialog manager's default does nothing that the handler must precede.
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_HELP:
        // The program ships no help file: F1 opens nothing, and the request goes no further.
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NOTIFY:
        return lParam && OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        return OnContextMenu(reinterpret_cast<HWND>(wParam),
                             POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    default:
        return FALSE;
    }
}

void CDialog::ExchangeCheck(int id, BOOL& value)
{
    if (saving_)
        value = ::IsDlgButtonChecked(window_, id) == BST_CHECKED ? TRUE : FALSE;
    else
        ::CheckDlgButton(window_, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void CDialog::ExchangeText(int id, std::wstring& value)
{
    if (saving_)
        value = ItemText(id);
    else
        ::SetDlgItemTextW(window_, id, value.c_str());
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG)
    {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        if (dialog)
            dialog->window_ = window;
    }
    else
    {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    // Messages that come before WM_INITDIALOG (the font, the frame) get the default handling.
    if (!dialog)
        return FALSE;
    // No C++ exception may cross the window procedure into the system's code, which cannot unwind it:
    // a handler that throws (std::bad_alloc, most likely) leaves the message to the default handling.
    INT_PTR result = FALSE;
    try
    {
        result = dialog->HandleMessage(message, wParam, lParam);
    }
    catch (...)
    {
        result = FALSE;
    }
    if (message == WM_NCDESTROY)
    {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->window_ = nullptr;
    }
    return result;
}

} // namespace corvane
