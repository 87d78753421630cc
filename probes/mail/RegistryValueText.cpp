#include "probes/mail/RegistryValueText.h"

#include "framework/StringTable.h"
#include "report/ReportVocabulary.h"

#include <cwchar>

namespace corvane {

namespace {

// The UTF-16 units that the bytes hold completely; an odd last byte is no unit.
size_t UnitCount(DWORD size)
{
    return size / sizeof(wchar_t);
}

std::wstring StringText(const BYTE* data, DWORD size)
{
    const size_t count = UnitCount(size);
    if (count == 0)
        return std::wstring();
    const auto* units = reinterpret_cast<const wchar_t*>(data);
    return std::wstring(units, ::wcsnlen(units, count));
}

std::wstring JoinedStrings(const BYTE* data, DWORD size)
{
    const auto* units = reinterpret_cast<const wchar_t*>(data);
    const size_t count = UnitCount(size);
    std::wstring text;
    for (size_t start = 0; start < count && units[start] != L'\0';)
    {
        const size_t length = ::wcsnlen(units + start, count - start);
        if (start > 0)
            text += L'|';
        text.append(units + start, length);
        start += length + 1;
    }
    return text;
}

// The number that the first bytes spell, least significant byte first; at most eight are read.
unsigned long long LittleEndianNumber(const BYTE* data, DWORD size, DWORD width)
{
    unsigned long long value = 0;
    const DWORD used = size < width ? size : width;
    for (DWORD index = used; index > 0; --index)
        value = (value << 8) | data[index - 1];
    return value;
}

unsigned long long BigEndianNumber(const BYTE* data, DWORD size, DWORD width)
{
    unsigned long long value = 0;
    const DWORD used = size < width ? size : width;
    for (DWORD index = 0; index < used; ++index)
        value = (value << 8) | data[index];
    return value;
}

std::wstring NumberText(unsigned long value)
{
    return FormatText(L"0x%8.8lX (%lu)", value, value);
}

std::wstring WideNumberText(unsigned long long value)
{
    return FormatText(L"0x%8.8I64X (%I64u)", value, value);
}

// "byte" for sizes whose last decimal digit is 1, "bytes" for all others.
const wchar_t* ByteUnit(DWORD size)
{
    return size % 10 == 1 ? L"byte" : L"bytes";
}

std::wstring SizeText(DWORD type, DWORD size)
{
    return FormatText(L"%s: %lu %s", xml::RegistryTypeName(type), static_cast<unsigned long>(size),
                      ByteUnit(size));
}

std::wstring OtherTypeSizeText(DWORD type, DWORD size)
{
    return FormatText(L"REG_%4.4lX: %lu %s", static_cast<unsigned long>(type),
                      static_cast<unsigned long>(size), ByteUnit(size));
}

} // namespace

std::wstring RegistryValueText(DWORD type, const BYTE* data, DWORD size)
{
    if (!data)
        size = 0;
    switch (type)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case xml::RegMuiSz:
        return StringText(data, size);
    case REG_MULTI_SZ:
        return JoinedStrings(data, size);
    case REG_DWORD:
        return NumberText(static_cast<unsigned long>(LittleEndianNumber(data, size, 4)));
    case REG_DWORD_BIG_ENDIAN:
        return NumberText(static_cast<unsigned long>(BigEndianNumber(data, size, 4)));
    case REG_QWORD:
        return WideNumberText(LittleEndianNumber(data, size, 8));
    case REG_NONE:
    case REG_BINARY:
    case REG_LINK:
    case REG_RESOURCE_LIST:
    case REG_FULL_RESOURCE_DESCRIPTOR:
    case REG_RESOURCE_REQUIREMENTS_LIST:
        return SizeText(type, size);
    default:
        return OtherTypeSizeText(type, size);
    }
}

} // namespace corvane
