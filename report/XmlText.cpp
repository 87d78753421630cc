#include "report/XmlText.h"

#include <cwchar>

namespace corvane {

bool IsXmlCharacter(const wchar_t* text, size_t length, size_t index, size_t* unitsUsed)
{
    const wchar_t unit = text[index];
    *unitsUsed = 1;
    if (unit < 0x20)
        return unit == L'\t' || unit == L'\n' || unit == L'\r';
    if (unit >= 0xD800 && unit <= 0xDBFF)
    {
        if (index + 1 < length && text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF)
        {
            *unitsUsed = 2;
            return true;
        }
        return false;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return false;
    return unit != 0xFFFE && unit != 0xFFFF;
}

HRESULT MakeXmlBstr(const wchar_t* text, CBstr& out)
{
    const size_t length = text ? std::wcslen(text) : 0;
    out.Reset(::SysAllocStringLen(nullptr, static_cast<UINT>(length)));
    if (!out)
        return E_OUTOFMEMORY;
    BSTR copy = out.Get();
    size_t index = 0;
    while (index < length)
    {
        size_t units = 1;
        if (IsXmlCharacter(text, length, index, &units))
        {
            for (size_t i = 0; i < units; ++i)
                copy[index + i] = text[index + i];
        }
        else
        {
            copy[index] = 0xFFFD;
        }
        index += units;
    }
    return S_OK;
}

HRESULT MakeBstr(const wchar_t* text, CBstr& out)
{
    out.Reset(::SysAllocString(text ? text : L""));
    return out ? S_OK : E_OUTOFMEMORY;
}

} // namespace corvane
