#pragma once
// Folder texts that module names are appended to.

#include <string>

namespace corvane {

// Appends "\" unless the folder already ends in one; an empty folder stays empty.
inline void EnsureTrailingBackslash(std::wstring& folder)
{
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
}

} // namespace corvane
