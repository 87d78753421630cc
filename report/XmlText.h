#pragma once
// Copies of texts for the DOM, made safe for XML 1.0.

#include "framework/UniqueHandle.h"

namespace corvane {

// True when XML 1.0 can carry the character at index: false for C0 controls other than tab, line feed
// and carriage return, for U+FFFE and U+FFFF, and for a surrogate without its partner. unitsUsed gets the
// character's length in code units: 2 for a surrogate pair, otherwise 1.
bool IsXmlCharacter(const wchar_t* text, size_t length, size_t index, size_t* unitsUsed);

// Copies text (up to its first NUL) into a BSTR, each character XML cannot carry replaced by U+FFFD.
// Returns E_OUTOFMEMORY when the copy cannot be made.
HRESULT MakeXmlBstr(const wchar_t* text, CBstr& out);

// Plain copy of a name or a path (up to its first NUL).
HRESULT MakeBstr(const wchar_t* text, CBstr& out);

} // namespace corvane
