#include "probes/inventory/RegistryRead.h"

#include <cwchar>

namespace corvane {

namespace {

constexpr DWORD kWorkBufferBytes = 520;

bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The strings of a text value's data: one for REG_SZ and REG_EXPAND_SZ, each of a REG_MULTI_SZ.
std::vector<std::wstring> SplitTexts(const RegistryValue& value)
{
    std::vector<std::wstring> texts;
    const std::wstring& data = value.data;
    if (value.type != REG_MULTI_SZ)
    {
        texts.push_back(FirstString(data));
        return texts;
    }
    // The strings up to the first empty one, or to the end of data without its closing terminator.
    size_t start = 0;
    while (start < data.size())
    {
        const size_t end = data.find(L'\0', start);
        const size_t length = (end == std::wstring::npos ? data.size() : end) - start;
        if (length == 0)
            break;
        texts.push_back(data.substr(start, length));
        start += length + 1;
    }
    return texts;
}

} // namespace

RegistryValue QueryRegistryValue(HKEY key, const wchar_t* name)
{
    alignas(8) BYTE buffer[kWorkBufferBytes];
    RegistryValue value;
    value.type = REG_SZ;
    DWORD size = kWorkBufferBytes;
    value.status = ::RegQueryValueExW(key, name, nullptr, &value.type, buffer, &size);
    if (value.status == ERROR_SUCCESS)
    {
        value.data.assign(reinterpret_cast<const wchar_t*>(buffer), size / sizeof(wchar_t));
        return value;
    }
    // A longer value is read whole with the size the registry reports; it may grow between the two
    // reads, so a few tries are allowed before it counts as unreadable.
    for (int attempt = 0; attempt < 4 && value.status == ERROR_MORE_DATA; ++attempt)
    {
        std::wstring data((size + sizeof(wchar_t) - 1) / sizeof(wchar_t), L'\0');
        value.status =
            ::RegQueryValueExW(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (value.status == ERROR_SUCCESS)
        {
            data.resize(size / sizeof(wchar_t));
            value.data = std::move(data);
        }
    }
    return value;
}

std::wstring FirstString(const std::wstring& data)
{
    return std::wstring(data.c_str(), ::wcsnlen(data.c_str(), data.size()));
}

LONG OpenRegistryKey(HKEY root, const wchar_t* path, REGSAM view, CRegKey& key)
{
    const LONG status = ::RegOpenKeyExW(root, path, 0, KEY_READ | view, key.Put());
    if (status != ERROR_SUCCESS)
        key.Reset();
    return status;
}

std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* name)
{
    const RegistryValue value = QueryRegistryValue(key, name);
    if (value.status != ERROR_SUCCESS || !IsText(value.type))
        return std::nullopt;
    const std::vector<std::wstring> texts = SplitTexts(value);
    return texts.empty() ? std::wstring() : texts.front();
}

std::vector<std::wstring> ReadRegistryTexts(HKEY key, const wchar_t* name)
{
    const RegistryValue value = QueryRegistryValue(key, name);
    if (value.status != ERROR_SUCCESS || !IsText(value.type))
        return {};
    return SplitTexts(value);
}

std::optional<DWORD> ReadRegistryNumber(HKEY key, const wchar_t* name)
{
    DWORD type = REG_NONE;
    DWORD number = 0;
    DWORD size = sizeof(number);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(number))
        return std::nullopt;
    return number;
}

std::vector<std::wstring> RegistrySubkeyNames(HKEY key)
{
    constexpr DWORD kNameLength = 256;
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[kNameLength];
        DWORD length = kNameLength;
        const LONG status = ::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

bool SameRegistryName(const std::wstring& a, const std::wstring& b)
{
    return ::lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

} // namespace corvane
