#include "app/HiddenEventList.h"

#include "res/resource.h"

#include <commctrl.h>

namespace corvane {

CHiddenEventList::CHiddenEventList()
{
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    // A predefined class will do for the holder: it only has to exist and to have the list as its child.
    holder_ = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
    if (!holder_)
        return;
    // The same styles as the dialog's list, so that rows are kept as they are there.
    list_ = ::CreateWindowExW(
        0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_OWNERDATA, 0, 0,
        0, 0, holder_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EVENT_LIST)), module, nullptr);
    // And the one column of the dialog's list, which holds the rows' texts there.
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    if (list_)
        ::SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

CHiddenEventList::~CHiddenEventList()
{
    // The holder takes its child with it.
    if (holder_)
        ::DestroyWindow(holder_);
}

} // namespace corvane
