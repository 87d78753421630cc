#include "report/ReportVocabulary.h"

#include <cstdio>
#include <ctime>

namespace corvane::xml {

const wchar_t* RegistryTypeName(DWORD type)
{
    static const wchar_t* const names[] = {
        L"REG_NONE",
        L"REG_SZ",
        L"REG_EXPAND_SZ",
        L"REG_BINARY",
        L"REG_DWORD",
        L"REG_DWORD_BIG_ENDIAN",
        L"REG_LINK",
        L"REG_MULTI_SZ",
        L"REG_RESOURCE_LIST",
        L"REG_FULL_RESOURCE_DESCRIPTOR",
        L"REG_RESOURCE_REQUIREMENTS_LIST",
        L"REG_QWORD",
    };
    if (type < sizeof(names) / sizeof(names[0]))
        return names[type];
    if (type == RegMuiSz)
        return L"REG_MUI_SZ";
    return L"REG_NONE";
}

std::wstring ErrorMarker(HRESULT code)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"##ERROR:0x%8.8lX##", static_cast<unsigned long>(code));
    return text;
}

std::wstring ErrorMarkerLine(HRESULT code)
{
    return ErrorMarker(code) + L"\n";
}

std::wstring FormatTimestamp(long long secondsSince1970)
{
    const std::time_t time = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (localtime_s(&local, &time) != 0)
        return std::wstring();
    wchar_t text[128];
    const size_t length = std::wcsftime(text, 128, TimestampFormat, &local);
    return length ? std::wstring(text, length) : std::wstring();
}

const wchar_t* OutcomeElement(int runResult)
{
    switch (runResult)
    {
    case 0:
        return CompletedAt;
    case 1:
        return AbortedAt;
    default:
        return FailedAt;
    }
}

} // namespace corvane::xml
