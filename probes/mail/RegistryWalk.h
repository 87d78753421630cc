#pragma once
// The walk of a registry key: its subkeys first, each with its whole subtree as deep as asked, then its
// values, all in the registry's enumeration order. What is made of each entry is the walker's.

#include <windows.h>

#include <string>

namespace corvane {

class IRegistryWalker
{
public:
    // Asked at the first entry of each enumeration and at every 32nd after it: true ends the walk.
    virtual bool StopRequested() = 0;
    // A subkey of the key being walked; openError is the registry's error when it cannot be opened. An
    // opened subkey's walk follows, then LeaveSubkey; one that cannot be opened is not walked.
    virtual void EnterSubkey(const wchar_t* name, LONG openError) = 0;
    virtual void LeaveSubkey() = 0;
    // A value: its name (empty for the default value), its type and its data as text (RegistryValueText),
    // or the error marker of ERROR_MORE_DATA when its data is too large to be read.
    virtual void Value(const std::wstring& name, DWORD type, const std::wstring& text) = 0;

protected:
    ~IRegistryWalker() = default;
};

// A subkey depth that has no limit.
inline constexpr int kAllSubkeyLevels = -1;

// Walks the open key, descending subkeyDepth levels of subkeys (kAllSubkeyLevels for all of them). A name
// that does not fit 259 characters is left out. S_FALSE when the walker asked to stop, S_OK otherwise.
HRESULT WalkRegistryKey(HKEY key, int subkeyDepth, IRegistryWalker& walker);

} // namespace corvane
