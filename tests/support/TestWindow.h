#pragma once
// A real top-level window holding the controls the engine drives, with the ids of the main dialog.

#include <windows.h>

#include <string>
#include <vector>

namespace corvane::test {

struct EventRow
{
    std::wstring text;
    int icon;
    int indent;

    bool operator==(const EventRow&) const = default;
};

class CTestWindow
{
public:
    CTestWindow();
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    ~CTestWindow();

    HWND Window() const { return window_; }
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

private:
    HWND window_ = nullptr;
};

} // namespace corvane::test
