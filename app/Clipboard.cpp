#include "app/Clipboard.h"

#include "framework/HResult.h"
#include "framework/UniqueHandle.h"

#include <cstring>

namespace corvane {

namespace {

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
