#include "tests/support/RegistryScratch.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

namespace corvane::test {

namespace {

const wchar_t kScratchParent[] = L"Software\\CorvaneTests";

// The user's own key whatever HKEY_CURRENT_USER points at just now, so that a scratch key made while the
// other root is pointed elsewhere still lands in the prefix's user key, and is found there again.
CRegKey OpenUserKey()
{
    CRegKey user;
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenCurrentUser(KEY_ALL_ACCESS, user.Put())) << "RegOpenCurrentUser";
    return user;
}

// A second scratch key for the same root would take the first one's place, and give back the real root
// when it went, while the first one's test still ran.
bool& Taken(HKEY root)
{
    static bool machine = false;
    static bool user = false;
    return root == HKEY_LOCAL_MACHINE ? machine : user;
}

} // namespace

CRegistryScratch::CRegistryScratch(HKEY root, std::wstring path) : root_(root), path_(std::move(path))
{
    if (root_ != HKEY_LOCAL_MACHINE && root_ != HKEY_CURRENT_USER)
    {
        ADD_FAILURE() << "a scratch root is made for HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER only";
        return;
    }
    if (Taken(root_))
    {
        ADD_FAILURE() << "the root is pointed at a scratch key already";
        return;
    }
    const CRegKey user = OpenUserKey();
    if (!user)
        return;
    // Unique among the test programs running at once, and among the tests of one program.
    static unsigned sequence = 0;
    scratchPath_ = std::wstring(kScratchParent) + L"\\" + std::to_wstring(::GetCurrentProcessId()) + L"." +
                   std::to_wstring(++sequence);
    // Left over by an earlier program of the same process id that did not end normally.
    ::SHDeleteKeyW(user.Get(), scratchPath_.c_str());
    CRegKey scratch;
    LONG status = ::RegCreateKeyExW(user.Get(), scratchPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    scratch.Put(), nullptr);
    if (status != ERROR_SUCCESS)
    {
        ADD_FAILURE() << "RegCreateKeyExW " << ToUtf8(scratchPath_) << " gave " << status;
        scratchPath_.clear();
        return;
    }
    status = ::RegOverridePredefKey(root_, scratch.Get());
    EXPECT_EQ(ERROR_SUCCESS, status) << "RegOverridePredefKey";
    overridden_ = status == ERROR_SUCCESS;
    Taken(root_) = overridden_;
}

CRegistryScratch::~CRegistryScratch()
{
    if (overridden_)
    {
        EXPECT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(root_, nullptr)) << "RegOverridePredefKey back";
        Taken(root_) = false;
    }
    if (scratchPath_.empty())
        return;
    const CRegKey user = OpenUserKey();
    if (!user)
        return;
    EXPECT_EQ(ERROR_SUCCESS, ::SHDeleteKeyW(user.Get(), scratchPath_.c_str())) << ToUtf8(scratchPath_);
    // The parent goes too once empty; while another program's scratch key is below it, it refuses.
    ::RegDeleteKeyW(user.Get(), kScratchParent);
}

CRegKey CRegistryScratch::Create(const std::wstring& subpath) const
{
    const std::wstring full = subpath.empty() ? path_ : path_ + L"\\" + subpath;
    CRegKey key;
    // Without the scratch root, the key would be made in the shared prefix's own registry.
    if (!overridden_)
    {
        ADD_FAILURE() << "no scratch root for " << ToUtf8(full);
        return key;
    }
    const LONG status =
        ::RegCreateKeyExW(root_, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
    EXPECT_EQ(ERROR_SUCCESS, status) << "RegCreateKeyExW " << ToUtf8(full);
    return key;
}

} // namespace corvane::test
