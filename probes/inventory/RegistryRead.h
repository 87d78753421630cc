#pragma once
// Plain reads of the registry: a key opened read-only in a registry view, one value read whole, and the
// texts, numbers and subkey names below a key. Nothing here fails a run: a value that cannot be read is
// absent.

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// Opens root\path read-only in the view that view names (0 for this program's own, KEY_WOW64_64KEY or
// KEY_WOW64_32KEY); key is left empty on failure. Returns the registry's status.
LONG OpenRegistryKey(HKEY root, const wchar_t* path, REGSAM view, CRegKey& key);

// One value read whole (type preset to REG_SZ): into a 520-byte work buffer when it fits, otherwise again
// with the size that the registry reports.
struct RegistryValue
{
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::wstring data; // every unit the registry returned, terminators included; an odd last byte is dropped

    bool HasData() const { return status == ERROR_SUCCESS && !data.empty(); }
};
RegistryValue QueryRegistryValue(HKEY key, const wchar_t* name);

// The first string of a string or multi-string's whole data.
std::wstring FirstString(const std::wstring& data);

// The first string of a REG_SZ, REG_EXPAND_SZ (not expanded) or REG_MULTI_SZ value; none when the value
// is missing, of another type or cannot be read.
std::optional<std::wstring> ReadRegistryText(HKEY key, const wchar_t* name);

// Every string of a REG_MULTI_SZ value, or the one of a REG_SZ or REG_EXPAND_SZ value; empty as for
// ReadRegistryText.
std::vector<std::wstring> ReadRegistryTexts(HKEY key, const wchar_t* name);

// A REG_DWORD value; none when it is missing or of another type.
std::optional<DWORD> ReadRegistryNumber(HKEY key, const wchar_t* name);

// The names of the key's subkeys in the registry's enumeration order; a name longer than 255 characters
// is left out.
std::vector<std::wstring> RegistrySubkeyNames(HKEY key);

// Registry names compare without regard to case, as the registry compares them.
bool SameRegistryName(const std::wstring& a, const std::wstring& b);

} // namespace corvane
