#pragma once
// The event list of a run with no window: a real list-view control, owned by the main thread like the
// dialog's, below a message-only window, which can never be shown.

#include <windows.h>

namespace corvane {

class CHiddenEventList
{
public:
    // The common controls must have been initialised. Without a window system to make windows in, both
    // handles stay null.
    CHiddenEventList();
    CHiddenEventList(const CHiddenEventList&) = delete;
    CHiddenEventList& operator=(const CHiddenEventList&) = delete;
    ~CHiddenEventList();

    // What the engine is attached to in the dialog's place: the list is its child IDC_EVENT_LIST.
    HWND Holder() const { return holder_; }
    HWND List() const { return list_; }

private:
    HWND holder_ = nullptr;
    HWND list_ = nullptr;
};

} // namespace corvane
