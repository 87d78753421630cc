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
#include "engine/EventList.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <new>

namespace corvane {

namespace {

// The changes go to a message-only window of the list's thread, the mailbox: wParam is unused, lParam
// the request. Not to the list or its parent, which would have to be subclassed to take them: under Wine
// every message through a subclassed window costs two more round trips to the wineserver (the subclass
// chain is a window property), as much as a third of a row.
constexpr UINT kRowMessage = WM_APP + 0x0E1;
const wchar_t kMailboxClass[] = L"CorvaneEventRows";
constexpr UINT_PTR kSubclassId = 0x0E1;

// The shortest time between two paints of a held list, and how many times its own painting time that
// gap is at least, so that painting never takes more than a small share of a run.
constexpr DWORD kPaintIntervalMs = 250;
constexpr DWORD kPaintCostFactor = 20;

constexpr int kNoRow = -1;

int IconOf(DWORD style)
{
    return static_cast<int>(LOWORD(style));
}

int IndentOf(DWORD style)
{
    return static_cast<int>(HIWORD(style) & 0x7FFF);
}

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

CEventList::~CEventList()
{
    Detach();
}

void CEventList::Attach(HWND list, HWND parent)
{
    Detach();
    if (!list || !parent || !(::GetWindowLongPtrW(list, GWL_STYLE) & LVS_OWNERDATA))
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
    if (!::SetWindowSubclass(parent, ParentProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    {
        Detach();
        return;
    }
    list_ = list;
    parent_ = parent;
    // Rows kept for an earlier list are no rows of this one.
    std::vector<Row>().swap(rows_);
    ::SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
}

void CEventList::Detach()
{
    if (parent_)
        ::RemoveWindowSubclass(parent_, ParentProc, kSubclassId);
    if (mailbox_)
        ::DestroyWindow(mailbox_);
    mailbox_ = nullptr;
    list_ = nullptr;
    parent_ = nullptr;
    holding_ = false;
    held_ = false;
}

int CEventList::Insert(int position, DWORD style, const wchar_t* text)
{
    return static_cast<int>(Send(Operation::Insert, position, style, text));
}

int CEventList::Update(int position, DWORD style, const wchar_t* text)
{
    return static_cast<int>(Send(Operation::Update, position, style, text));
}

int CEventList::Remove(int position)
{
    return static_cast<int>(Send(Operation::Remove, position));
}

void CEventList::HoldPainting(bool hold)
{
    Send(hold ? Operation::Hold : Operation::Release);
}

LRESULT CEventList::Send(Operation operation, int position, DWORD style, const wchar_t* text)
{
    HWND mailbox = mailbox_; // there only while a list is attached
    if (!mailbox)
    {
        // No list to keep rows for: nothing is kept, and so none can be removed.
        return operation == Operation::Insert || operation == Operation::Update ? kNoRow : 0;
    }
    const Request request{operation, position, style, text ? text : L""};
    return ::SendMessageW(mailbox, kRowMessage, 0, reinterpret_cast<LPARAM>(&request));
}

LRESULT CEventList::Handle(const Request& request)
{
    switch (request.operation)
    {
    case Operation::Insert:
        return InsertRow(request.position, request.style, request.text);
    case Operation::Update:
        return UpdateRow(request.position, request.style, request.text);
    case Operation::Remove:
        return RemoveRow(request.position);
    case Operation::Hold:
        StartHolding();
        return 0;
    case Operation::Release:
        StopHolding();
        return 0;
    }
    return 0;
}

int CEventList::InsertRow(int position, DWORD style, const wchar_t* text)
{
    const int count = static_cast<int>(rows_.size());
    if (position < 0 || position > count)
        position = count;
    try
    {
        rows_.insert(rows_.begin() + position, Row{style, text});
    }
    catch (const std::bad_alloc&)
    {
        return kNoRow; // the row is refused; the rows before it stay
    }
    BeforeChange();
    // A row appended leaves the rows above it as they were; one inserted moves every row below it.
    const DWORD flags = position == count ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : LVSICF_NOSCROLL;
    ::SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count + 1), flags);
    ShowAsLatest(position);
    AfterChange();
    return position;
}

int CEventList::UpdateRow(int position, DWORD style, const wchar_t* text)
{
    const int count = static_cast<int>(rows_.size());
    if (count == 0 || position >= count)
        return InsertRow(position, style, text);
    if (position < 0)
        position = count - 1;
    try
    {
        rows_[static_cast<size_t>(position)] = Row{style, text};
    }
    catch (const std::bad_alloc&)
    {
        return position; // the row keeps its text
    }
    BeforeChange();
    ::SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(position), position);
    ShowAsLatest(position);
    AfterChange();
    return position;
}

int CEventList::RemoveRow(int position)
{
    const int count = static_cast<int>(rows_.size());
    if (position >= count)
        return count;
    BeforeChange();
    if (position < 0)
    {
        std::vector<Row>().swap(rows_); // a run's rows may be many: their memory goes with them
        ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
        latestRow_ = kNoRow;
    }
    else
    {
        rows_.erase(rows_.begin() + position);
        // The list moves its selection and focus up with the rows below the one removed.
        ::SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(position), 0);
        if (position == latestRow_)
            latestRow_ = kNoRow;
        else if (position < latestRow_)
            --latestRow_;
    }
    AfterChange();
    return static_cast<int>(rows_.size());
}

// Selected, focused and scrolled into view; unless the painting is held, when that waits for the next
// paint (moving the selection of a scrolled list costs as much as painting it).
void CEventList::ShowAsLatest(int row)
{
    latestRow_ = row;
    if (held_)
        return;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void CEventList::StartHolding()
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
void CEventList::StopHolding()
{
    if (!holding_)
        return;
    holding_ = false;
    if (held_)
        LetThrough(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CEventList::BeforeChange()
{
    if (holding_ && !held_)
    {
        ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        held_ = true;
    }
}

void CEventList::AfterChange()
{
    if (held_ && ::GetTickCount() - lastPaint_ >= paintGap_)
        PaintNow();
}

// Lets the held list's painting through, with the latest row selected and in view.
void CEventList::LetThrough(UINT redrawFlags)
{
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    held_ = false;
    if (latestRow_ >= 0)
        ShowAsLatest(latestRow_);
    ::RedrawWindow(list_, nullptr, nullptr, redrawFlags);
}

// Paints the held list now; it is held again at the next change.
void CEventList::PaintNow()
{
    const DWORD start = ::GetTickCount();
    LetThrough(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const DWORD end = ::GetTickCount();
    const DWORD cost = (end - start) * kPaintCostFactor;
    paintGap_ = std::max(cost, kPaintIntervalMs);
    lastPaint_ = end;
}

void CEventList::FillDisplayInfo(LVITEMW& item) const
{
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows_.size())
        return;
    const Row& row = rows_[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    {
        // As much as the asker's buffer holds, always terminated.
        const size_t room = static_cast<size_t>(item.cchTextMax) - 1;
        const size_t length = std::min(row.text.size(), room);
        row.text.copy(item.pszText, length);
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = IconOf(row.style);
    if (item.mask & LVIF_INDENT)
        item.iIndent = IndentOf(row.style);
}

// Typing in the list selects the next row whose text begins with what was typed, as in any list.
int CEventList::FindRow(int start, const LVFINDINFOW& find) const
{
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)))
        return kNoRow;
    const int count = static_cast<int>(rows_.size());
    start = start < 0 || start >= count ? 0 : start;
    // From the start to the end, then round to the top when the list asks for that.
    const int looked = (find.flags & LVFI_WRAP) ? count : count - start;
    for (int step = 0; step < looked; ++step)
    {
        const int row = (start + step) % count;
        if (Matches(rows_[static_cast<size_t>(row)].text, find))
            return row;
    }
    return kNoRow;
}

LRESULT CALLBACK CEventList::MailboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRowMessage)
    {
        auto* events = reinterpret_cast<CEventList*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        return events ? events->Handle(*reinterpret_cast<const Request*>(lParam)) : 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK CEventList::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR /*id*/, DWORD_PTR self)
{
    auto* events = reinterpret_cast<CEventList*>(self);
    if (message == WM_NOTIFY)
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == events->list_)
        {
            if (header->code == LVN_GETDISPINFOW)
            {
                events->FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
                return 0;
            }
            if (header->code == LVN_ODFINDITEMW)
            {
                const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
                return events->FindRow(find->iStart, find->lvfi);
            }
        }
    }
    else if (message == WM_NCDESTROY)
    {
        events->Detach();
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

} // namespace corvane
