#include "tests/hostile/RegistryWorld.h"

#include <shlwapi.h>

#include <cstring>

namespace corvane::scale {

CRegKey CreateKey(HKEY root, const std::wstring& path)
{
    CRegKey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
        key.Reset();
    return key;
}

bool SetRawValue(HKEY key, const std::wstring& name, DWORD type, const std::vector<BYTE>& data)
{
    // The registry adds a terminator to string data whose next unit happens to be one; what follows the
    // data here never is.
    std::vector<BYTE> padded(data);
    padded.resize(data.size() + 4, 0xA5);
    return ::RegSetValueExW(key, name.c_str(), 0, type, padded.data(), static_cast<DWORD>(data.size())) ==
           ERROR_SUCCESS;
}

bool SetStringValue(HKEY key, const std::wstring& name, const std::wstring& text, DWORD type)
{
    return SetRawValue(key, name, type, StringBytes(text));
}

void DeleteTree(HKEY root, const std::wstring& path)
{
    ::SHDeleteKeyW(root, path.c_str());
}

void ClearProbedKeys()
{
    DeleteTree(HKEY_LOCAL_MACHINE, kMailKey);
    DeleteTree(HKEY_LOCAL_MACHINE, kMessagingKey);
    DeleteTree(HKEY_LOCAL_MACHINE, kAppPathsKey);

    CRegKey software;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, software.Put()) != ERROR_SUCCESS)
        return;
    std::vector<std::wstring> doomed;
    const size_t startLength = std::wcslen(kLanguageKeyStart);
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[512];
        DWORD length = 512;
        if (::RegEnumKeyExW(software.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (length >= startLength && std::wcsncmp(name, kLanguageKeyStart, startLength) == 0)
            doomed.emplace_back(name, length);
    }
    for (const std::wstring& name : doomed)
        DeleteTree(software.Get(), name);
}

std::wstring BuildFile(const std::wstring& relative)
{
    std::wstring path = L"Z:";
    for (const char* c = CORVANE_BINARY_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    path += L'\\';
    for (wchar_t c : relative)
        path += c == L'/' ? L'\\' : c;
    return path;
}

bool InstallMockMapiStub(const std::wstring& library)
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring target = std::wstring(system) + L"\\MAPISTUB.DLL";
    ::DeleteFileW(target.c_str());
    if (!::CopyFileW(BuildFile(library).c_str(), target.c_str(), FALSE))
        return false;
    CRegKey overrides = CreateKey(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides");
    return overrides && SetStringValue(overrides.Get(), L"mapistub", L"native");
}

std::vector<BYTE> StringBytes(const std::wstring& text, bool terminated)
{
    std::vector<BYTE> bytes;
    bytes.reserve((text.size() + 1) * sizeof(wchar_t));
    for (wchar_t unit : text)
    {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    if (terminated)
        bytes.insert(bytes.end(), 2, 0);
    return bytes;
}

} // namespace corvane::scale
