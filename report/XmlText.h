#pragma once
// Copies of texts for the DOM, made safe for XML 1.0.

#include "framework/UniqueHandle.h"

namespace corvane {

// True for a UTF-16 code unit sequence position that XML 1.0 cannot carry: C0 controls other than tab,
// line feed and carriage return, U+FFFE, U+FFFF and surrogates without their partner.
bool IsXmlCharacter(const wchar_t* text, size_t length, size_t index, size_t* unitsUsed);

// Copies text (up to its first NUL) into a BSTR, each character XML cannot carry replaced by U+FFFD.
// Returns E_OUTOFMEMORY when the copy cannot be made.
HRESULT MakeXmlBstr(const wchar_t* text, CBstr& out);

// Plain copy of a name or a path (up to its first NUL).
HRESULT MakeBstr(const wchar_t* text, CBstr& out);

} // namespace corvane
