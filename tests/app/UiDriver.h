#pragma once

#include "res/resource.h"
// Drives a running Corvane.exe from another process, as a person would: finds its window, clicks its
// buttons, types into the edit box, reads the event list and answers its message boxes.

#include <windows.h>

#include <string>
#include <vector>

namespace corvane::uitest {

struct EventRow
{
    std::wstring text;
    int icon;
    int indent;
};

class CUiDriver
{
public:
    CUiDriver() = default;
    CUiDriver(const CUiDriver&) = delete;
    CUiDriver& operator=(const CUiDriver&) = delete;
    // Ends the program if a test left it running.
    ~CUiDriver();

    // Starts the program (the build's Corvane.exe unless another copy is named) and waits for its main
    // window; false when it does not appear.
    bool Start(const std::wstring& executable = std::wstring());
    bool HasExited(DWORD timeout = 0) const;

    HWND Window() const { return window_; }
    HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    DWORD ProcessId() const { return processId_; }

    // A click that returns when the program has handled it; false when it did not answer in time.
    bool Click(int id);
    // A click for a button whose handler opens a modal box: it does not wait.
    void ClickWithoutWaiting(int id);
    bool IsEnabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    bool IsVisible(int id) const { return ::IsWindowVisible(Control(id)) != FALSE; }
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    std::wstring Text(int id) const;
    void Type(int id, const std::wstring& text);
    // Enter or Esc pressed in the edit box.
    void PressKey(int id, WORD virtualKey);

    // Answers a trivial message within the timeout: the window has not stopped answering.
    bool Responds(DWORD timeout = 5000) const;

    // A click on a row of the event list, sent as the messages the mouse sends (twice: a double-click);
    // false when the row has no place on the screen.
    bool ClickRow(int index, bool twice = false);
    // A right-click on a row, with the mouse pointer moved there first (the context menu opens at it).
    bool RightClickRow(int index);
    // Ctrl+C typed on the keyboard into the window (the focused control takes it).
    bool TypeCtrlC();

    // The event list, row by row, read from the program's own memory.
    std::vector<EventRow> Rows() const;
    int RowCount() const;
    // One row; an empty text when there is no such row.
    EventRow Row(int index) const;
    EventRow LastRow() const { return Row(RowCount() - 1); }

    // Idle: Execute enabled and Stop disabled. Running: the reverse.
    bool IsIdle() const { return IsEnabled(IDC_EXECUTE) && !IsEnabled(IDC_STOP); }
    bool WaitUntilIdle(DWORD timeout);
    bool WaitUntil(bool (*condition)(const CUiDriver&), DWORD timeout) const;

    // A message box (or other dialog) owned by the main window; null when none shows in time.
    HWND WaitForOwnedDialog(DWORD timeout) const;
    static std::wstring MessageText(HWND box);
    static void PressOk(HWND box);

    // Opens the window's system menu from the keyboard (Alt+Space), chooses its last item (Up from the
    // first item wraps to the last) and presses Enter; false when no menu opened.
    bool ChooseLastSystemMenuItem();
    // The open popup menu; null when none shows in time.
    static HWND WaitForMenu(DWORD timeout);
    // Up (from no item or the first, the last item) and Enter in an open menu.
    static void ChooseLastMenuItem(HWND menu);
    // Down as many times as given (from no item, the first is the first item; separators are passed
    // over) and Enter in an open menu.
    static void ChooseMenuItem(HWND menu, int downs);

    // The title-bar close button; the program may refuse.
    void RequestClose();
    // Closes the idle program and waits for the process to end.
    bool Close();

private:
    HWND FindMainWindow() const;
    // A row's place in the list's client area, scrolled into view first.
    bool RowRect(int index, RECT& rect) const;

    PROCESS_INFORMATION process_{};
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// The clipboard's Unicode text; empty when it holds none.
std::wstring ClipboardText();
void EmptyClipboardNow();

// The path of the program that the build made (Corvane.exe, or Corvane64.exe for x64), as Windows sees it.
std::wstring CorvaneExecutable();

// The window size, in pixels, that dialog template 102 gives on this display.
SIZE TemplateWindowSize();

// Registry helpers for the world a test needs (the prefix is the test's own copy).
bool SetRegistryString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value);
bool DeleteRegistryTree(HKEY root, const wchar_t* key);

// Whole-file helpers for the report.
bool FileExists(const std::wstring& path);
std::string ReadFile(const std::wstring& path);
bool DeleteFileIfThere(const std::wstring& path);

} // namespace corvane::uitest
