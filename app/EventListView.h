#pragma once
// The dialog's side of the engine's sink: the event list's rows, their painting, and the progress bar and
// status text. The list view is a virtual one (LVS_OWNERDATA): it keeps no row of its own, and asks the
// dialog for a row's text, icon and indent whenever it draws or is asked for one; the dialog asks this.
// The rows are kept here, on the thread that owns the dialog, which is the only thread that ever touches
// them: every change arrives as one synchronous message to a window of that thread, sent from whichever
// thread makes it, and answered once the controls have taken the change.

#include "engine/EventRows.h"
#include "engine/EventSink.h"

#include <windows.h>

#include <commctrl.h>

namespace corvane {

// Sent to the dialog, on its thread, when a run starts (wParam TRUE) or ends (FALSE), after the list's
// painting has been held back or let through.
constexpr UINT kRunningChangedMessage = WM_APP + 0x0E2;

struct EventListControls
{
    HWND dialog;
    HWND list; // a virtual list view
    HWND progressBar;
    HWND statusText;
};

class CEventListView final : public IEventSink
{
public:
    CEventListView() = default;
    CEventListView(const CEventListView&) = delete;
    CEventListView& operator=(const CEventListView&) = delete;
    ~CEventListView();

    // On the dialog's thread. A list without LVS_OWNERDATA, or none, leaves the rows with nowhere to go
    // (as if there were no list). Replaces whatever was attached before.
    void Attach(const EventListControls& controls);
    void Detach();

    // The sink (any thread).
    int InsertRow(int position, DWORD style, const wchar_t* text) override;
    int UpdateRow(int position, DWORD style, const wchar_t* text) override;
    int RemoveRow(int position) override;
    void Progress(int operation, int value, const wchar_t* text) override;
    void RunningChanged(bool running) override;

    // The dialog's questions (its thread): a row for the list to draw, the row that typing looks for.
    void FillDisplayInfo(LVITEMW& item) const;
    int FindRow(int start, const LVFINDINFOW& find) const;
    const std::vector<EventRowData>& Rows() const { return rows_.Rows(); }

private:
    enum class Operation
    {
        Insert,
        Update,
        Remove,
        Progress,
        Running,
    };
    struct Request
    {
        Operation operation;
        int position;
        DWORD style;
        const wchar_t* text;
    };

    LRESULT Send(Operation operation, int position = 0, DWORD style = 0, const wchar_t* text = nullptr);
    LRESULT Handle(const Request& request);

    // On the dialog's thread.
    int InsertRowNow(int position, DWORD style, const wchar_t* text);
    int UpdateRowNow(int position, DWORD style, const wchar_t* text);
    int RemoveRowNow(int position);
    void ProgressNow(int operation, int value, const wchar_t* text);
    void ShowAsLatest(int row);
    void StartHolding();
    void StopHolding();
    void BeforeChange();
    void AfterChange();
    void LetThrough(UINT redrawFlags);
    void PaintNow();

    static LRESULT CALLBACK MailboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    EventListControls controls_{};
    HWND mailbox_ = nullptr; // takes the changes on the dialog's thread
    CEventRows rows_;

    // The painting of a run (see EventListView.cpp).
    bool holding_ = false; // a run is under way
    bool held_ = false;    // WM_SETREDRAW FALSE is in force
    int latestRow_ = -1;   // the row last inserted or updated; -1 when it has been removed
    DWORD lastPaint_ = 0;  // when the list was last let through
    DWORD paintGap_ = 0;   // the time to leave before the next paint
};

} // namespace corvane
