#pragma once
// Path texts: the program's own path, and folders that file names are appended to.

#include <windows.h>

#include <string>

namespace corvane {

// The full path of the program's own file, or the system's reason why it cannot be had whole (E_FAIL
// for a path cut short where Windows XP sets no last error).
HRESULT QueryProgramPath(std::wstring& path);

// The path as the system resolves it (a relative one against the working directory); empty when it
// cannot be resolved.
std::wstring FullPath(const std::wstring& path);

// Appends "\" unless the folder already ends in one; an empty folder stays empty.
inline void EnsureTrailingBackslash(std::wstring& folder)
{
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
}

} // namespace corvane
