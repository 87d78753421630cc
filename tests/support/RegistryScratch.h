#pragma once
// Registry keys that a test writes where the probes read them, below HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER, while the shared test prefix's own keys stay as they are.

#include "framework/UniqueHandle.h"

#include <string>

namespace corvane::test {

// Points a predefined root of this process (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER) at an empty key of
// its own, below HKCU\Software\CorvaneTests, for the object's lifetime; the root is given back and the
// key removed when the object goes. Every thread of the process sees the empty root meanwhile, and keys
// opened before keep reading the real ones. The test creates whatever it needs below the path, which
// starts missing like everything else under the root.
//
// Wine makes a 32-bit view (KEY_WOW64_32KEY) by walking the Wow6432Node keys that exist, and the scratch
// root has none: there, that view sees the same keys as the others. Nothing tested asks for a view.
class CRegistryScratch
{
public:
    CRegistryScratch(HKEY root, std::wstring path);
    CRegistryScratch(const CRegistryScratch&) = delete;
    CRegistryScratch& operator=(const CRegistryScratch&) = delete;
    ~CRegistryScratch();

    // Creates (or opens) the key, or a key below it, with full access.
    CRegKey Create(const std::wstring& subpath = std::wstring()) const;

private:
    HKEY root_;
    std::wstring path_;
    std::wstring scratchPath_; // below the user's key; empty when nothing was made
    bool overridden_ = false;
};

} // namespace corvane::test
