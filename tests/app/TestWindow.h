#pragma once
// A real top-level window holding the main dialog's event list, progress bar and status text, with the
// dialog's side of the engine's sink attached to them and answering the list's questions as the dialog
// does.

#include "app/EventListView.h"
#include "tests/support/RecordingSink.h"

#include <windows.h>

#include <string>
#include <vector>

namespace corvane::test {

class CTestWindow
{
public:
    CTestWindow();
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    ~CTestWindow();

    HWND Window() const { return window_; }
    CEventListView& Sink() { return view_; }
    HWND Control(int id) const { return ::GetDlgItem(window_, id); }

    std::vector<EventRow> Rows() const;
    int SelectedRow() const;
    int FocusedRow() const;
    bool IsRowVisible(int row) const;
    std::wstring StatusText() const;
    int ProgressPosition() const;
    int ProgressHigh() const;

    // Handles whatever is waiting in this thread's queue.
    static void PumpMessages();

    // The running states the window was told of, in order.
    const std::vector<bool>& RunningChanges() const { return runningChanges_; }

private:
    static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);

    HWND window_ = nullptr;
    CEventListView view_;
    std::vector<bool> runningChanges_;
};

} // namespace corvane::test
