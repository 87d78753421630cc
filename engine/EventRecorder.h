#pragma once
// A sink with no window: it keeps the rows, the status text and the progress as they would be shown.
// /run prints its rows when the run has ended; the tests read it at any time, so it has a lock of its own.

#include "engine/EventRows.h"
#include "engine/EventSink.h"
#include "framework/CriticalSection.h"

#include <string>
#include <vector>

namespace corvane {

class CEventRecorder : public IEventSink
{
public:
    int InsertRow(int position, DWORD style, const wchar_t* text) override;
    int UpdateRow(int position, DWORD style, const wchar_t* text) override;
    int RemoveRow(int position) override;
    void Progress(int operation, int value, const wchar_t* text) override;
    void RunningChanged(bool running) override;

    std::vector<EventRowData> Rows() const;
    // Every row as EventRowsText gives it.
    std::wstring Text() const;
    std::wstring StatusText() const;
    int ProgressPosition() const;
    int ProgressHigh() const;
    bool IsRunning() const;

private:
    mutable CCriticalSection lock_;
    CEventRows rows_;
    std::wstring status_;
    int position_ = 0;
    int high_ = 100; // a progress bar's range until it is set
    bool running_ = false;
};

} // namespace corvane
