// Shows every event icon of both strips at indents 0 to 3 in real list views, for a person to look at.
// Runs until closed, or for the number of seconds given as its argument.
#include "res/resource.h"

#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

constexpr int kIcons = 28;

const wchar_t* const kPictures[kIcons] = {
    L"blue letter i in a speech bubble",
    L"yellow warning triangle",
    L"gear with a green arrow",
    L"small blue gem with motion lines",
    L"blue gem",
    L"gem on a page",
    L"page with a check mark",
    L"computer monitor",
    L"window with a grid",
    L"coloured cubes",
    L"closed folder",
    L"open folder",
    L"blank page",
    L"page, red letters ab",
    L"page, letter a with a percent sign",
    L"page, blue bits",
    L"page, green bits",
    L"page, red bits",
    L"page, teal letters ab",
    L"page, navy letters ab",
    L"page, three coloured blocks",
    L"page, green blocks",
    L"page, red blocks",
    L"page, brown bits",
    L"two-coloured letters ab",
    L"red disc with a white cross",
    L"gold disc with an exclamation mark",
    L"blue disc with a white letter i",
};

HWND MakeList(HWND parent, int x, int width, UINT bitmapId, UINT colourFlag, const wchar_t* title)
{
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, x, 0,
                                  width, 1000, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    HIMAGELIST images = ::ImageList_Create(16, 16, colourFlag | ILC_MASK, 0, 5);
    HBITMAP strip = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    ::ImageList_AddMasked(images, strip, RGB(255, 0, 255));
    ::DeleteObject(strip);
    ::SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));

    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width - 24;
    column.pszText = const_cast<wchar_t*>(title);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int row = 0; row < 2 * kIcons; ++row)
    {
        const int icon = row % kIcons;
        const int indent = (row / kIcons) * 2 + row % 2;
        wchar_t text[128];
        std::swprintf(text, 128, L"%d (indent %d): %ls", icon, indent, kPictures[icon]);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
        item.iItem = row;
        item.iImage = icon;
        item.iIndent = indent;
        item.pszText = text;
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    return list;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    ::InitCommonControls();
    HWND window = ::CreateWindowExW(0, L"#32770", L"Corvane event icons", WS_POPUP | WS_VISIBLE, 0, 0, 1280,
                                    1024, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    MakeList(window, 0, 640, IDB_EVENTS_256, ILC_COLOR8, L"256-colour strip");
    MakeList(window, 640, 640, IDB_EVENTS_16, ILC_COLOR4, L"16-colour strip");
    const UINT seconds = argc > 1 ? static_cast<UINT>(std::wcstoul(argv[1], nullptr, 10)) : 0;
    if (seconds)
        ::SetTimer(window, 1, seconds * 1000, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        if (message.message == WM_TIMER)
            break;
        ::DispatchMessageW(&message);
    }
    ::DestroyWindow(window);
    return 0;
}
