#pragma once
// Copying texts into the fixed-size text fields of the system records, cut to the field's capacity.

#include <windows.h>

#include <cwchar>
#include <string>

namespace corvane {

// Replaces the field's text; a longer text is cut so that the terminator still fits. Null means empty.
template <size_t N> void SetFieldText(wchar_t (&field)[N], const wchar_t* text)
{
    ::lstrcpynW(field, text ? text : L"", static_cast<int>(N));
}

template <size_t N> void SetFieldText(wchar_t (&field)[N], const std::wstring& text)
{
    SetFieldText(field, text.c_str());
}

// Appends to the field's text only when the whole addition fits; returns whether it was appended.
template <size_t N> bool AppendFieldText(wchar_t (&field)[N], const wchar_t* text)
{
    const size_t used = std::wcslen(field);
    const size_t added = std::wcslen(text);
    if (used + added >= N)
        return false;
    std::wmemcpy(field + used, text, added + 1);
    return true;
}

} // namespace corvane
