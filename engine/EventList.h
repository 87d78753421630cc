#pragma once
// The event list's rows and their painting. The list view is a virtual one (LVS_OWNERDATA): it keeps no
// row of its own, and asks its parent for a row's text, icon and indent whenever it draws or is asked for
// one. The rows are kept here instead, on the thread that owns the list, which is the only thread that
// ever touches them: every change arrives as one synchronous message to a window of that thread, sent
// from whichever thread makes it, and answered once the list has taken the change.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace corvane {

class CEventList
{
public:
    CEventList() = default;
    CEventList(const CEventList&) = delete;
    CEventList& operator=(const CEventList&) = delete;
    ~CEventList();

    // Takes over the rows of a virtual list view and answers its parent's questions about them; called
    // on the thread that owns both windows, with the window the list notifies. A list without LVS_OWNERDATA,
    // or none, leaves the rows with nowhere to go (as if there were no list). Replaces whatever list was
    // attached before.
    void Attach(HWND list, HWND parent);
    void Detach();

    // The display operations (any thread). They return what the engine's operations of the same names
    // return: the row's index, negative when the row could not be kept; the position used; the new count.
    int Insert(int position, DWORD style, const wchar_t* text);
    int Update(int position, DWORD style, const wchar_t* text);
    int Remove(int position);

    // While a run is under way the list's painting is held back and let through from time to time.
    void HoldPainting(bool hold);

private:
    struct Row
    {
        DWORD style;
        std::wstring text;
    };
    enum class Operation
    {
        Insert,
        Update,
        Remove,
        Hold,
        Release,
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

    // On the list's thread.
    int InsertRow(int position, DWORD style, const wchar_t* text);
    int UpdateRow(int position, DWORD style, const wchar_t* text);
    int RemoveRow(int position);
    void ShowAsLatest(int row);
    void StartHolding();
    void StopHolding();
    void BeforeChange();
    void AfterChange();
    void LetThrough(UINT redrawFlags);
    void PaintNow();
    void FillDisplayInfo(LVITEMW& item) const;
    int FindRow(int start, const LVFINDINFOW& find) const;

    static LRESULT CALLBACK MailboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);

    HWND list_ = nullptr;
    HWND parent_ = nullptr;
    HWND mailbox_ = nullptr; // takes the changes on the list's thread
    std::vector<Row> rows_;

    // The painting of a run (see EventList.cpp).
    bool holding_ = false; // a run is under way
    bool held_ = false;    // WM_SETREDRAW FALSE is in force
    int latestRow_ = -1;   // the row last inserted or updated; -1 when it has been removed
    DWORD lastPaint_ = 0;  // when the list was last let through
    DWORD paintGap_ = 0;   // the time to leave before the next paint
};

} // namespace corvane
