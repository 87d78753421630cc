#include "framework/StringTable.h"

#include <stdio.h>

namespace corvane {

std::wstring LoadResourceString(UINT id)
{
    const wchar_t* resource = nullptr;
    // With a zero buffer size LoadStringW hands out a read-only pointer into the resource itself.
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource)
        return std::wstring();
    return std::wstring(resource, static_cast<size_t>(length));
}

std::wstring FormatTextV(const wchar_t* format, va_list arguments)
{
    if (!format || !*format)
        return std::wstring();
    // The C runtime's own wide formatter: "%s" of a wide format takes a wide string.
    va_list counting;
    va_copy(counting, arguments);
    const int length = _vscwprintf(format, counting);
    va_end(counting);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int written = _vsnwprintf(text.data(), text.size(), format, arguments);
    text.resize(written < 0 ? 0 : static_cast<size_t>(written));
    return text;
}

std::wstring FormatText(const wchar_t* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::wstring text = FormatTextV(format, arguments);
    va_end(arguments);
    return text;
}

std::wstring FormatResourceStringV(UINT id, va_list arguments)
{
    const std::wstring format = LoadResourceString(id);
    return FormatTextV(format.c_str(), arguments);
}

std::wstring FormatResourceString(UINT id, ...)
{
    va_list arguments;
    va_start(arguments, id);
    std::wstring text = FormatResourceStringV(id, arguments);
    va_end(arguments);
    return text;
}

std::wstring FormatResourceStringList(UINT id, const std::vector<std::wstring>& arguments)
{
    const std::wstring format = LoadResourceString(id);
    std::wstring text;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i)
    {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L's')
        {
            if (next < arguments.size())
                text += arguments[next];
            ++next;
            ++i;
        }
        else if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'%')
        {
            text += L'%';
            ++i;
        }
        else
        {
            text += format[i];
        }
    }
    return text;
}

std::wstring JoinList(const std::vector<std::wstring>& items)
{
    std::wstring text;
    for (const std::wstring& item : items)
    {
        if (!text.empty())
            text += L", ";
        text += item;
    }
    return text;
}

} // namespace corvane
