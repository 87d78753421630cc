// The rows live here rather than in the list view because a list view keeps each row in several small
// blocks of its own heap: a verbose run on a large machine leaves tens of thousands of rows, and their
// memory then came to more than all the rest of the run. Here a row is its style and its text.
//
// While a run is under way the event list's painting is held back (WM_SETREDRAW) and let through at
// most every 250 ms, and never more often than the painting itself allows: a verbose run inserts rows far
// faster than anyone can read them, and a visible list that repaints and scrolls after every row spends
// almost all of the run's time on pixels that are overwritten at once. The rows themselves are inserted,
// updated and removed at once as always; whenever the list is painted, and when the run ends, the last
// row inserted or updated is the selected one and is scrolled into view.
//
// A row of a verbose run costs one message to the list's thread, and the list's own work on it is small
// beside that message. A paint costs as much as a hundred rows or more (the whole visible list is drawn
// by whichever message first follows WM_SETREDRAW TRUE), and the paints are spread over the rows, so
// they stay few enough to take no more than a twentieth of a run, however short the run.
//
// Times are GetTickCount's 32-bit milliseconds (Windows XP has no 64-bit count), and only ever compared
// as differences of two counts, which stay right when the count wraps after 49.7 days of uptime.
#include "app/EventListView.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <new>

namespace corvane {

namespace {

// The changes go to a message-only window of the dialog's thread, the mailbox: wParam is unused, lParam
// the request. Not to the list or the dialog, which would have to be subclassed to take them: under Wine
// every message through a subclassed window costs two more round trips to the wineserver (the subclass
// chain is a window property), as much as a third of a row.
constexpr UINT kRowMessage = WM_APP + 0x0E1;
const wchar_t kMailboxClass[] = L"CorvaneEventRows";

// The shortest time between two paints of a held list, and how many times its own painting time that
// gap is at least, so that painting never takes more than a small share of a run.
constexpr DWORD kPaintIntervalMs = 250;
constexpr DWORD kPaintCostFactor = 20;

constexpr int kNoRow = -1;

// Whether the row's text matches what the list is looking for as someone types: the whole text, or its
// beginning, in either case.
bool Matches(const std::wstring& text, const LVFINDINFOW& find)
{
    if (!find.psz)
        return false;
    const int wanted = static_cast<int>(std::wcslen(find.psz));
    const bool partial = (find.flags & LVFI_PARTIAL) != 0;
    if (partial && static_cast<size_t>(wanted) > text.size())
        return false;
    const int compared = partial ? wanted : static_cast<int>(text.size());
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), compared, find.psz, wanted) ==
           CSTR_EQUAL;
}

} // namespace

CEventListView::~CEventListView()
{
    Detach();
}

void CEventListView::Attach(const EventListControls& controls)
{
    Detach();
    if (!controls.list || !controls.dialog ||
        !(::GetWindowLongPtrW(controls.list, GWL_STYLE) & LVS_OWNERDATA))
        return;
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW mailboxClass{};
    mailboxClass.cbSize = sizeof(mailboxClass);
    mailboxClass.lpfnWndProc = MailboxProc;
    mailboxClass.hInstance = module;
    mailboxClass.lpszClassName = kMailboxClass;
    if (!::RegisterClassExW(&mailboxClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return;
    mailbox_ =
        ::CreateWindowExW(0, kMailboxClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    if (!mailbox_)
        return;
    ::SetWindowLongPtrW(mailbox_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controls_ = controls;
    // Rows kept for an earlier list are no rows of this one.
    rows_.Remove(-1);
    ::SendMessageW(controls_.list, LVM_SETITEMCOUNT, 0, 0);
}

void CEventListView::Detach()
{
    if (mailbox_)
        ::DestroyWindow(mailbox_);
    mailbox_ = nullptr;
    controls_ = {};
    holding_ = false;
    held_ = false;
}

int CEventListView::InsertRow(int position, DWORD style, const wchar_t* text)
{
    return static_cast<int>(Send(Operation::Insert, position, style, text));
}

int CEventListView::UpdateRow(int position, DWORD style, const wchar_t* text)
{
    return static_cast<int>(Send(Operation::Update, position, style, text));
}

int CEventListView::RemoveRow(int position)
{
    return static_cast<int>(Send(Operation::Remove, position));
}

void CEventListView::Progress(int operation, int value, const wchar_t* text)
{
    Send(Operation::Progress, operation, static_cast<DWORD>(value), text);
}

void CEventListView::RunningChanged(bool running)
{
    Send(Operation::Running, running ? 1 : 0);
}

LRESULT CEventListView::Send(Operation operation, int position, DWORD style, const wchar_t* text)
{
    HWND mailbox = mailbox_; // there only while a list is attached
    if (!mailbox)
    {
        // No list to keep rows for: nothing is kept, and so none can be removed.
        return operation == Operation::Insert || operation == Operation::Update ? kNoRow : 0;
    }
    const Request request{operation, position, style, text};
    return ::SendMessageW(mailbox, kRowMessage, 0, reinterpret_cast<LPARAM>(&request));
}

LRESULT CEventListView::Handle(const Request& request)
{
    const wchar_t* text = request.text ? request.text : L"";
    switch (request.operation)
    {
    case Operation::Insert:
        return InsertRowNow(request.position, request.style, text);
    case Operation::Update:
        return UpdateRowNow(request.position, request.style, text);
    case Operation::Remove:
        return RemoveRowNow(request.position);
    case Operation::Progress:
        ProgressNow(request.position, static_cast<int>(request.style), request.text);
        return 0;
    case Operation::Running:
        if (request.position)
            StartHolding();
        else
            StopHolding();
        ::SendMessageW(controls_.dialog, kRunningChangedMessage, static_cast<WPARAM>(request.position), 0);
        return 0;
    }
    return 0;
}

int CEventListView::InsertRowNow(int position, DWORD style, const wchar_t* text)
{
    const int count = rows_.Count();
    const CEventRows::Result result = rows_.Insert(position, style, text);
    if (result.change != CEventRows::Change::Inserted)
        return result.index;
    BeforeChange();
    // A row appended leaves the rows above it as they were; one inserted moves every row below it.
    const DWORD flags = result.index == count ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : LVSICF_NOSCROLL;
    ::SendMessageW(controls_.list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count + 1), flags);
    ShowAsLatest(result.index);
    AfterChange();
    return result.index;
}

int CEventListView::UpdateRowNow(int position, DWORD style, const wchar_t* text)
{
    const int count = rows_.Count();
    if (count == 0 || position >= count)
        return InsertRowNow(position, style, text);
    const CEventRows::Result result = rows_.Update(position, style, text);
    if (result.change != CEventRows::Change::Updated)
        return result.index;
    BeforeChange();
    ::SendMessageW(controls_.list, LVM_REDRAWITEMS, static_cast<WPARAM>(result.index), result.index);
    ShowAsLatest(result.index);
    AfterChange();
    return result.index;
}

int CEventListView::RemoveRowNow(int position)
{
    if (position >= rows_.Count())
        return rows_.Count();
    BeforeChange();
    const CEventRows::Result result = rows_.Remove(position);
    if (result.change == CEventRows::Change::Cleared)
    {
        ::SendMessageW(controls_.list, LVM_DELETEALLITEMS, 0, 0);
        latestRow_ = kNoRow;
    }
    else
    {
        // The list moves its selection and focus up with the rows below the one removed.
        ::SendMessageW(controls_.list, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
        if (position == latestRow_)
            latestRow_ = kNoRow;
        else if (position < latestRow_)
            --latestRow_;
    }
    AfterChange();
    return rows_.Count();
}

void CEventListView::ProgressNow(int operation, int value, const wchar_t* text)
{
    HWND bar = controls_.progressBar;
    if (bar)
    {
        switch (operation)
        {
        case ProgressReset:
            ::SendMessageW(bar, PBM_SETPOS, 0, 0);
            if (value < 32767)
                ::SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, value));
            else
                ::SendMessageW(bar, PBM_SETRANGE32, 0, value);
            break;
        case ProgressSetPos:
            ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0);
            break;
        case ProgressStep:
            ::SendMessageW(bar, PBM_DELTAPOS, 1, 0);
            break;
        default:
            break;
        }
    }
    if (text && controls_.statusText)
        ::SendMessageW(controls_.statusText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Selected, focused and scrolled into view; unless the painting is held, when that waits for the next
// paint (moving the selection of a scrolled list costs as much as painting it).
void CEventListView::ShowAsLatest(int row)
{
    latestRow_ = row;
    if (held_)
        return;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(controls_.list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(controls_.list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void CEventListView::StartHolding()
{
    if (holding_)
        return;
    holding_ = true;
    held_ = false;
    latestRow_ = kNoRow;
    lastPaint_ = ::GetTickCount();
    paintGap_ = kPaintIntervalMs;
}

// The end of a run: the list paints as it always did, with the latest row in view.
void CEventListView::StopHolding()
{
    if (!holding_)
        return;
    holding_ = false;
    if (held_)
        LetThrough(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CEventListView::BeforeChange()
{
    if (holding_ && !held_)
    {
        ::SendMessageW(controls_.list, WM_SETREDRAW, FALSE, 0);
        held_ = true;
    }
}

void CEventListView::AfterChange()
{
    if (held_ && ::GetTickCount() - lastPaint_ >= paintGap_)
        PaintNow();
}

// Lets the held list's painting through, with the latest row selected and in view.
void CEventListView::LetThrough(UINT redrawFlags)
{
    ::SendMessageW(controls_.list, WM_SETREDRAW, TRUE, 0);
    held_ = false;
    if (latestRow_ >= 0)
        ShowAsLatest(latestRow_);
    ::RedrawWindow(controls_.list, nullptr, nullptr, redrawFlags);
}

// Paints the held list now; it is held again at the next change.
void CEventListView::PaintNow()
{
    const DWORD start = ::GetTickCount();
    LetThrough(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const DWORD end = ::GetTickCount();
    const DWORD cost = (end - start) * kPaintCostFactor;
    paintGap_ = std::max(cost, kPaintIntervalMs);
    lastPaint_ = end;
}

void CEventListView::FillDisplayInfo(LVITEMW& item) const
{
    const std::vector<EventRowData>& rows = rows_.Rows();
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows.size())
        return;
    const EventRowData& row = rows[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    {
        // As much as the asker's buffer holds, always terminated.
        const size_t room = static_cast<size_t>(item.cchTextMax) - 1;
        const size_t length = std::min(row.text.size(), room);
        row.text.copy(item.pszText, length);
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = EventRowIcon(row.style);
    if (item.mask & LVIF_INDENT)
        item.iIndent = EventRowIndent(row.style);
}

// Typing in the list selects the next row whose text begins with what was typed, as in any list.
int CEventListView::FindRow(int start, const LVFINDINFOW& find) const
{
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)))
        return kNoRow;
    const std::vector<EventRowData>& rows = rows_.Rows();
    const int count = static_cast<int>(rows.size());
    start = start < 0 || start >= count ? 0 : start;
    // From the start to the end, then round to the top when the list asks for that.
    const int looked = (find.flags & LVFI_WRAP) ? count : count - start;
    for (int step = 0; step < looked; ++step)
    {
        const int row = (start + step) % count;
        if (Matches(rows[static_cast<size_t>(row)].text, find))
            return row;
    }
    return kNoRow;
}

LRESULT CALLBACK CEventListView::MailboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRowMessage)
    {
        auto* events = reinterpret_cast<CEventListView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        return events ? events->Handle(*reinterpret_cast<const Request*>(lParam)) : 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace corvane
