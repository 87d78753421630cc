#pragma once
// Texts from the program's string table, and printf-style formatting of them.

#include <windows.h>

#include <cstdarg>
#include <string>
#include <vector>

namespace corvane {

// The text of a string resource; empty when the table does not hold the id.
std::wstring LoadResourceString(UINT id);

// Formats a string resource with printf-style arguments ("%s" takes wide strings, "0x%8.8X" codes).
std::wstring FormatResourceString(UINT id, ...);
std::wstring FormatResourceStringV(UINT id, va_list arguments);

// A string resource whose only conversions are "%s", each taking the next of arguments in turn (an empty
// text when they run out); "%%" is a percent sign. Arguments are inserted as they are, never read as
// formats themselves.
std::wstring FormatResourceStringList(UINT id, const std::vector<std::wstring>& arguments);

// printf-style formatting of a wide format text with the same conventions.
std::wstring FormatText(const wchar_t* format, ...);
std::wstring FormatTextV(const wchar_t* format, va_list arguments);

// The items in their order, separated by ", ", as a row or a finding lists them.
std::wstring JoinList(const std::vector<std::wstring>& items);

} // namespace corvane
