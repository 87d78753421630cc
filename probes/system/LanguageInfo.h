#pragma once
// Language codes ("en_US") and display names of language ids, from the system's locale data.

#include <windows.h>

namespace corvane {

// Characters, terminator included, that a language code needs: two letters, underscore, two letters.
inline constexpr int LanguageCodeLength = 6;

// Writes "language_COUNTRY" (ISO 639 and ISO 3166 names) of langId into output, which holds at least
// LanguageCodeLength characters. A name that needs more than two letters makes it fail; on failure the
// output is empty.
HRESULT FormatLanguageCode(WORD langId, wchar_t* output);

// Writes the localized full name of langId's language into output (capacity in characters); empty on
// failure.
HRESULT GetLanguageName(WORD langId, wchar_t* output, int capacity);

} // namespace corvane
