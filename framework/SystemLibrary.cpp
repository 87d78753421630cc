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
    return LoadLibraryByFullPath((folder + L'\\' + name).c_str());
}

HMODULE LoadLibraryByFullPath(const wchar_t* path)
{
    // The headers name these flags only for newer Windows than the program needs; a system that has
    // SetDefaultDllDirectories takes them.
    constexpr DWORD kSearchDllLoadFolder = 0x00000100;
    constexpr DWORD kSearchSystemFolder = 0x00000800;
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    static const bool restricted = GetKernelProcAs<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    return ::LoadLibraryExW(path, nullptr,
                            restricted ? kSearchDllLoadFolder | kSearchSystemFolder
                                       : LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace corvane
