#pragma once
// Modal dialog from a template: flat message dispatch to small virtual handlers, and data exchange
// between controls and members in one function per dialog.

#include <windows.h>

#include <string>

namespace corvane {

class CDialog
{
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // Runs the dialog modally; its end result, or -1 when the dialog could not be created. Without a
    // parent the application's main window (when it is another dialog) owns it.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    // Copies controls to members (save) or members to controls (!save) through DoDataExchange.
    void UpdateData(bool save);

    HWND Handle() const { return window_; }
    HWND Item(int id) const { return ::GetDlgItem(window_, id); }
    // A control's text; empty when there is no such control.
    std::wstring ItemText(int id) const;

protected:
    // Default: members into controls; TRUE lets the dialog manager set the initial focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange() {}
    // Default: controls into members, then end with IDOK.
    virtual void OnOK();
    // Default: end with IDCANCEL.
    virtual void OnCancel();

    // Each returns true when it handled the message; false gives it the dialog manager's default.
    virtual bool OnCommand(int id, int notification, HWND control);
    virtual bool OnSysCommand(UINT command, LPARAM position);
    virtual bool OnClose() { return false; }
    virtual void OnSize(UINT /*type*/, int /*width*/, int /*height*/) {}
    virtual bool OnGetMinMaxInfo(MINMAXINFO* /*info*/) { return false; }
    virtual void OnDestroy() {}
    // A control's WM_NOTIFY; the notifications handled here need no result.
    virtual bool OnNotify(const NMHDR* /*header*/) { return false; }
    // A context menu asked for in window (the control itself or a child of it), at a screen point;
    // (-1, -1) when it was asked for from the keyboard.
    virtual bool OnContextMenu(HWND /*window*/, POINT /*point*/) { return false; }

    // The dispatch itself; a dialog that needs a message not listed here overrides it.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Data exchange, in the direction UpdateData asked for.
    void ExchangeCheck(int id, BOOL& value);
    void ExchangeText(int id, std::wstring& value);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    HWND window_ = nullptr;
    bool saving_ = false;
};

} // namespace corvane
