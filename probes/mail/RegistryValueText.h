#pragma once
// How a registry value appears in a dump: its data rendered as text by type.

#include <windows.h>

#include <string>

namespace corvane {

// The data as text by its type. Only the size bytes at data are read: a string without its terminator
// ends with the data, a multi-string without its closing empty string shows the strings there are, and
// number data shorter than the number is taken as the number those bytes spell.
std::wstring RegistryValueText(DWORD type, const BYTE* data, DWORD size);

} // namespace corvane
