#pragma once
// Where a run's display goes: the event rows, the progress and status text, and the run's start and end.
// The engine calls it from the worker; each call returns once the change has been taken, so that a row's
// index is known when the call returns. The dialog's side keeps the rows for its list, /run keeps them
// as text for the console, and the tests record them.

#include <windows.h>

namespace corvane {

// Progress operation codes of UpdateProgress.
enum ProgressOperation : int
{
    ProgressKeep = 0,
    ProgressReset = 1,
    ProgressSetPos = 2,
    ProgressStep = 3,
};

class IEventSink
{
public:
    // A row's style is EventStyle's: indent level in the high half, icon index in the low half. Insert
    // and Update return the row's index, negative when the row could not be kept; a position out of range
    // appends. Update of a row that is not there inserts it; -1 updates the last row. Remove returns the
    // new count; -1 removes every row.
    virtual int InsertRow(int position, DWORD style, const wchar_t* text) = 0;
    virtual int UpdateRow(int position, DWORD style, const wchar_t* text) = 0;
    virtual int RemoveRow(int position) = 0;
    // One of ProgressOperation with its value; text, when not null, is the new status text.
    virtual void Progress(int operation, int value, const wchar_t* text) = 0;
    // A run has started (true) or has ended (false).
    virtual void RunningChanged(bool running) = 0;

protected:
    ~IEventSink() = default;
};

} // namespace corvane
