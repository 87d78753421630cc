#include "probes/system/LanguageInfo.h"

#include "framework/HResult.h"
#include "framework/StringTable.h"

namespace corvane {

namespace {

// Each part of a language code is read into a buffer of three characters, so a longer name fails.
constexpr int kCodePartLength = 3;

HRESULT ReadLocaleText(WORD langId, LCTYPE type, wchar_t* output, int capacity)
{
    ::SetLastError(ERROR_SUCCESS);
    if (::GetLocaleInfoW(MAKELCID(langId, SORT_DEFAULT), type, output, capacity) == 0)
    {
        const HRESULT hr = FailureFromLastError();
        output[0] = L'\0';
        return hr;
    }
    return S_OK;
}

} // namespace

HRESULT FormatLanguageCode(WORD langId, wchar_t* output)
{
    if (!output)
        return E_INVALIDARG;
    output[0] = L'\0';
    wchar_t language[kCodePartLength];
    wchar_t country[kCodePartLength];
    RETURN_IF_FAILED(ReadLocaleText(langId, LOCALE_SISO639LANGNAME, language, kCodePartLength));
    RETURN_IF_FAILED(ReadLocaleText(langId, LOCALE_SISO3166CTRYNAME, country, kCodePartLength));
    ::lstrcpynW(output, FormatText(L"%2.2s_%2.2s", language, country).c_str(), LanguageCodeLength);
    return S_OK;
}

HRESULT GetLanguageName(WORD langId, wchar_t* output, int capacity)
{
    if (!output || capacity <= 0)
        return E_INVALIDARG;
    output[0] = L'\0';
    return ReadLocaleText(langId, LOCALE_SLANGUAGE, output, capacity);
}

} // namespace corvane
