// The engine's display operations: event rows, status text, progress bar and the running state.
// They are called from the worker and send their messages, so each returns once the dialog's thread
// has updated the control.
//
// While a run is under way the event list's painting is held back (WM_SETREDRAW) and let through at
// most every 250 ms, and never more often than the painting itself allows: a verbose run inserts rows far
// faster than anyone can read them, and a visible list that repaints and scrolls after every row spends
// almost all of the run's time on pixels that are overwritten at once. The rows themselves are inserted,
// updated and removed at once as always; whenever the list is painted, and when the run ends, the last
// row inserted or updated is the selected one and is scrolled into view.
//
// A row of a verbose run costs one message to the dialog's thread, and the list's own work on it is
// small beside that message. A paint costs as much as a hundred rows or more (the whole visible list is
// drawn by whichever message first follows WM_SETREDRAW TRUE), and the paints are spread over the rows,
// so they stay few enough to take no more than a twentieth of a run, however short the run.
//
// Times are GetTickCount's 32-bit milliseconds (Windows XP has no 64-bit count), and only ever compared
// as differences of two counts, which stay right when the count wraps after 49.7 days of uptime.
#include "engine/ReportData.h"
#include "engine/StringTable.h"
#include "framework/CriticalSection.h"
#include "res/resource.h"

#include <commctrl.h>

#include <climits>
#include <vector>

namespace corvane {

namespace {
const wchar_t kDefaultStatusText[] = L"";

// The shortest time between two paints of a held list, and how many times its own painting time that
// gap is at least, so that painting never takes more than a small share of a run.
constexpr DWORD kPaintIntervalMs = 250;
constexpr DWORD kPaintCostFactor = 20;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return window ? ::SendMessageW(window, message, wParam, lParam) : 0;
}

void ShowAsLatestRow(HWND list, int index)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

// A row's text, icon and indent; selected and focused too, unless its painting is held (then it is
// selected when the list is next let through, since moving the selection of a scrolled list costs as
// much as painting it).
LVITEMW MakeRow(int position, DWORD style, const wchar_t* text, bool selected = true)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT | (selected ? LVIF_STATE : 0);
    item.iItem = position;
    item.pszText = const_cast<wchar_t*>(text ? text : L""); // the list copies the text
    item.iImage = static_cast<int>(LOWORD(style));
    item.iIndent = static_cast<int>(HIWORD(style) & 0x7FFF);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    return item;
}

int RowCount(HWND list)
{
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT));
}

// The painting of one engine's event list during a run. The worker changes it through the display
// operations, the dialog thread only when a run starts; the lock keeps the two apart.
struct HeldPainting
{
    const CReportData* engine;
    HWND list;
    bool held = false;   // WM_SETREDRAW FALSE is in force
    int latestRow = -1;  // the row last inserted or updated; -1 when it has been removed
    DWORD lastPaint = 0; // when the list was last let through
    DWORD gap = kPaintIntervalMs;
};

CCriticalSection g_paintingLock;
std::vector<HeldPainting> g_paintings;

HeldPainting* FindPainting(const CReportData* engine, HWND list)
{
    for (HeldPainting& painting : g_paintings)
    {
        if (painting.engine == engine && painting.list == list)
            return &painting;
    }
    return nullptr;
}

// Called on the dialog's thread, which keeps handling what workers send while it waits for the lock.
void StartHolding(const CReportData* engine, HWND list)
{
    CScopedLock lock(g_paintingLock, CScopedLock::Wait::HandlingSentMessages);
    if (!list || FindPainting(engine, list))
        return;
    g_paintings.push_back({engine, list, false, -1, ::GetTickCount(), kPaintIntervalMs});
}

// Shows the latest row: selected, focused and scrolled into view.
void ShowLatestRow(const HeldPainting& painting)
{
    if (painting.latestRow >= 0)
        ShowAsLatestRow(painting.list, painting.latestRow);
}

// Lets the held list paint now, with the latest row in view, and holds it again at the next change.
void PaintNow(HeldPainting& painting)
{
    if (!painting.held)
        return;
    const DWORD start = ::GetTickCount();
    Send(painting.list, WM_SETREDRAW, TRUE);
    painting.held = false;
    ShowLatestRow(painting);
    ::RedrawWindow(painting.list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const DWORD end = ::GetTickCount();
    const DWORD cost = (end - start) * kPaintCostFactor;
    painting.gap = cost > kPaintIntervalMs ? cost : kPaintIntervalMs;
    painting.lastPaint = end;
}

// Ends the holding at the end of a run: the list paints as it always did, with the latest row in view.
void StopHolding(const CReportData* engine, HWND list)
{
    CScopedLock lock(g_paintingLock);
    HeldPainting* painting = FindPainting(engine, list);
    if (!painting)
        return;
    if (painting->held)
    {
        Send(list, WM_SETREDRAW, TRUE);
        ShowLatestRow(*painting);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
    g_paintings.erase(g_paintings.begin() + (painting - g_paintings.data()));
}

// A change to the list of a running engine: taken with its painting held, let through when due.
class CHeldChange
{
public:
    CHeldChange(const CReportData* engine, HWND list)
        : lock_(g_paintingLock), painting_(FindPainting(engine, list))
    {
        if (painting_ && !painting_->held)
        {
            Send(list, WM_SETREDRAW, FALSE);
            painting_->held = true;
        }
    }
    CHeldChange(const CHeldChange&) = delete;
    CHeldChange& operator=(const CHeldChange&) = delete;
    ~CHeldChange()
    {
        if (painting_ && ::GetTickCount() - painting_->lastPaint >= painting_->gap)
            PaintNow(*painting_);
    }

    bool Held() const { return painting_ != nullptr; }

    void RowShown(int row)
    {
        if (painting_ && row >= 0)
            painting_->latestRow = row;
    }

    void RowRemoved(int row)
    {
        if (!painting_)
            return;
        if (row < 0 || row == painting_->latestRow)
            painting_->latestRow = -1;
        else if (row < painting_->latestRow)
            --painting_->latestRow;
    }

private:
    CScopedLock lock_;
    HeldPainting* painting_;
};
} // namespace

const wchar_t* const DefaultStatusText = kDefaultStatusText;

int CReportData::InsertEvent(int position, DWORD style, const wchar_t* text)
{
    if (!eventList)
        return -1;
    CHeldChange change(this, eventList);
    if (change.Held())
    {
        // One message: the list itself appends a row whose position is beyond its count. The row is
        // selected, focused and scrolled into view when the list is next painted.
        LVITEMW item = MakeRow(position < 0 ? INT_MAX : position, style, text, false);
        const int index =
            static_cast<int>(Send(eventList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        change.RowShown(index);
        return index;
    }
    const int count = RowCount(eventList);
    if (position < 0 || position > count)
        position = count;
    LVITEMW item = MakeRow(position, style, text);
    const int index = static_cast<int>(Send(eventList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index >= 0)
        ShowAsLatestRow(eventList, index);
    return index;
}

int CReportData::UpdateEvent(int position, DWORD style, const wchar_t* text)
{
    const int count = RowCount(eventList);
    if (count == 0 || position >= count)
        return InsertEvent(position, style, text);
    if (position < 0)
        position = count - 1;
    CHeldChange change(this, eventList);
    LVITEMW item = MakeRow(position, style, text, !change.Held());
    if (Send(eventList, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
    {
        if (change.Held())
            change.RowShown(position);
        else
            ShowAsLatestRow(eventList, position);
    }
    return position;
}

int CReportData::RemoveEvent(int position)
{
    CHeldChange change(this, eventList);
    const int count = RowCount(eventList);
    if (position >= count)
        return count;
    change.RowRemoved(position);
    if (position < 0)
    {
        Send(eventList, LVM_DELETEALLITEMS);
        return RowCount(eventList);
    }
    Send(eventList, LVM_DELETEITEM, static_cast<WPARAM>(position));
    return count - 1;
}

bool CReportData::UpdateProgress(int operation, int value, const wchar_t* text)
{
    switch (operation)
    {
    case ProgressReset:
        Send(progressBar, PBM_SETPOS, 0);
        if (value < 32767)
            Send(progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, value));
        else
            Send(progressBar, PBM_SETRANGE32, 0, value);
        break;
    case ProgressSetPos:
        Send(progressBar, PBM_SETPOS, static_cast<WPARAM>(value));
        break;
    case ProgressStep:
        Send(progressBar, PBM_DELTAPOS, 1);
        break;
    default:
        break;
    }
    if (text == DefaultStatusText)
    {
        const std::wstring defaultText = LoadResourceString(IDS_DEFAULT_STATUS);
        Send(statusText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(defaultText.c_str()));
    }
    else if (text)
    {
        Send(statusText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    return true;
}

void CReportData::SetRunning(CWorkerThread* thread)
{
    runningThread = thread;
    const bool running = thread != nullptr;
    if (running)
        StartHolding(this, eventList);
    else
        StopHolding(this, eventList);
    if (statusText)
        ::ShowWindow(statusText, running ? SW_SHOW : SW_HIDE);
    if (progressBar)
        ::ShowWindow(progressBar, running ? SW_SHOW : SW_HIDE);

    // The button that stays enabled takes the focus before its partner is disabled, so the keyboard
    // never lands on a disabled control.
    HWND active = running ? stopButton : executeButton;
    HWND inactive = running ? executeButton : stopButton;
    if (active)
        ::EnableWindow(active, TRUE);
    if (dialog && active)
        Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(active), TRUE);
    if (inactive)
        ::EnableWindow(inactive, FALSE);

    if (dialog)
    {
        for (int id : {IDC_VERBOSE, IDC_SAVE_REPORT, IDC_OUTPUT_LABEL, IDC_OUTPUT_FOLDER, IDC_BROWSE})
        {
            if (HWND control = ::GetDlgItem(dialog, id))
                ::EnableWindow(control, running ? FALSE : TRUE);
        }
    }
}

int CReportData::InsertEventF(int position, DWORD style, UINT stringId, ...)
{
    va_list arguments;
    va_start(arguments, stringId);
    const std::wstring text = FormatResourceStringV(stringId, arguments);
    va_end(arguments);
    return InsertEvent(position, style, text.c_str());
}

int CReportData::UpdateEventF(int position, DWORD style, UINT stringId, ...)
{
    va_list arguments;
    va_start(arguments, stringId);
    const std::wstring text = FormatResourceStringV(stringId, arguments);
    va_end(arguments);
    return UpdateEvent(position, style, text.c_str());
}

} // namespace corvane
