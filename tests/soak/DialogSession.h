#pragma once
// The real main dialog in this process, driven as a person drives it: a script on another thread sets
// the options in the controls, clicks Execute and waits until the dialog is idle again, while the dialog
// runs modally on the calling thread. Every run is the real thing: the Execute handler, its worker, the
// probes, the display operations on the visible window and the report file.

#include "engine/ReportData.h"

#include <functional>
#include <string>

namespace corvane::scale {

class CDialogSession
{
public:
    explicit CDialogSession(HWND dialog) : dialog_(dialog) {}

    // Runs the dialog until the script returns; the script gets the session.
    static void Run(CReportData& engine, const std::function<void(CDialogSession&)>& script);

    HWND Window() const { return dialog_; }

    // One run with these options; its time from the click to the idle dialog in milliseconds, or a
    // negative number when it did not end within the timeout.
    double Execute(bool verbose, bool saveReport, const std::wstring& outputFolder, DWORD timeoutMs = 600000);

    bool IsIdle() const;

private:
    HWND dialog_;
};

} // namespace corvane::scale
