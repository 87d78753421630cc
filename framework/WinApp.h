#pragma once
// The application object: one per process, its start-up routine and the program's message boxes.

#include <windows.h>

#include <string>

namespace corvane {

class CDialog;

class CWinApp
{
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // The application object of the process; null before it is constructed.
    static CWinApp* Current();
    // The module that holds the dialogs, strings and icons: the executable.
    static HINSTANCE ResourceModule();

    // Runs the process: start-up routine, then either the message loop or, when the start-up
    // routine returned FALSE, the exit routine at once. The process exit code.
    int Run();

    // Start-up routine; FALSE ends the process after it returns.
    virtual BOOL InitInstance() { return TRUE; }
    // Exit routine; its result is the process exit code.
    virtual int ExitInstance() { return exitCode_; }

    // A message box captioned with the application's name.
    int MessageBox(HWND owner, const std::wstring& text, UINT type) const;

    // The executable's base name, the caption of the application's message boxes.
    const std::wstring& Name() const { return name_; }

    // The window that stands for the application while it runs; not owned.
    CDialog* mainWindow = nullptr;

private:
    std::wstring name_;
    int exitCode_ = 0;
};

} // namespace corvane
