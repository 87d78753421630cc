#include "framework/SystemLibrary.h"

namespace corvane {

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring path(folder, length);
    if (path.back() == L'\\')
        path.pop_back();
    return path;
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    const std::wstring folder = SystemFolder();
    if (folder.empty())
    {
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    return ::LoadLibraryExW((folder + L'\\' + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace corvane
