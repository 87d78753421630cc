#include "app/EventListText.h"

#include "framework/HResult.h"
#include "framework/UniqueHandle.h"

#include <commctrl.h>

#include <cstring>

namespace corvane {

namespace {

constexpr size_t kSpacesPerLevel = 4;

// The clipboard, open for as long as the object lives.
class CClipboard
{
public:
    explicit CClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;
    ~CClipboard()
    {
        if (open_)
            ::CloseClipboard();
    }
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

void FreeGlobal(HGLOBAL memory)
{
    ::GlobalFree(memory);
}
using CGlobalMemory = CUniqueHandle<HGLOBAL, FreeGlobal>;

} // namespace

std::wstring EventRowText(HWND list, int row)
{
    // The list copies as much as fits and says how much that was.
    std::wstring text(256, L'\0');
    for (;;)
    {
        LVITEMW item{};
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto copied = static_cast<size_t>(::SendMessageW(
            list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < text.size())
        {
            text.resize(copied);
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

int EventRowIndent(HWND list, int row)
{
    LVITEMW item{};
    item.mask = LVIF_INDENT;
    item.iItem = row;
    if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.iIndent > 0 ? item.iIndent : 0;
}

std::wstring PrintableRowText(const std::wstring& text)
{
    std::wstring printable;
    printable.reserve(text.size());
    for (const wchar_t c : text)
    {
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
        if (!control)
        {
            printable += c;
            continue;
        }
        static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
        printable += L"<U+";
        for (int shift = 12; shift >= 0; shift -= 4)
            printable += kDigits[(c >> shift) & 0xF];
        printable += L'>';
    }
    return printable;
}

std::wstring EventListText(HWND list, bool selectedOnly)
{
    std::wstring text;
    const UINT which = selectedOnly ? LVNI_SELECTED : LVNI_ALL;
    for (int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which));
         row >= 0;
         row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), which)))
    {
        if (!text.empty())
            text += L"\r\n";
        text.append(static_cast<size_t>(EventRowIndent(list, row)) * kSpacesPerLevel, L' ');
        text += PrintableRowText(EventRowText(list, row));
    }
    return text;
}

HRESULT CopyTextToClipboard(HWND owner, const std::wstring& text)
{
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    ::SetLastError(ERROR_SUCCESS);
    CGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return FailureFromLastError();
    void* target = ::GlobalLock(memory.Get());
    if (!target)
        return FailureFromLastError();
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.Get());

    ::SetLastError(ERROR_SUCCESS);
    CClipboard clipboard(owner);
    if (!clipboard.IsOpen())
        return FailureFromLastError();
    RETURN_LAST_ERROR_IF_FALSE(::EmptyClipboard());
    RETURN_LAST_ERROR_IF_NULL(::SetClipboardData(CF_UNICODETEXT, memory.Get()));
    memory.Release(); // the clipboard owns it now
    return S_OK;
}

} // namespace corvane
