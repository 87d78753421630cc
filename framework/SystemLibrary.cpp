#include "framework/SystemLibrary.h"

#include <string>

namespace corvane {

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
    {
        if (length >= MAX_PATH)
            ::SetLastError(ERROR_BUFFER_OVERFLOW);
        return nullptr;
    }
    std::wstring path(folder, length);
    if (path.back() != L'\\')
        path += L'\\';
    path += name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace corvane
