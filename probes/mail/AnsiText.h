#pragma once
// Text exchanged with the MAPI libraries: ANSI in the calling thread's ANSI code page, both ways.

#include <string>

namespace corvane {

// Converts every unit given, embedded terminators included; a character the code page lacks becomes its
// default character.
std::string ToAnsi(const std::wstring& text);

// Converts the given bytes, embedded terminators included.
std::wstring FromAnsi(const char* text, size_t length);

} // namespace corvane
