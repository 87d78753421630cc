// The scratch roots that the probe tests write below: the prefix's own keys are out of sight meanwhile,
// and back afterwards without the test's keys.
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

bool KeyOpens(HKEY root, const wchar_t* path)
{
    CRegKey key;
    return ::RegOpenKeyExW(root, path, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// Keys that every prefix has.
const wchar_t kMachineKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t kUserKey[] = L"Control Panel";

} // namespace

TEST(RegistryScratch, HidesTheRealRootsAndGivesThemBackWithoutTheTestsKeys)
{
    {
        CRegistryScratch machine{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail"};
        CRegistryScratch user{HKEY_CURRENT_USER, L"Software\\CorvaneMailTest"};
        EXPECT_FALSE(KeyOpens(HKEY_LOCAL_MACHINE, kMachineKey));
        EXPECT_FALSE(KeyOpens(HKEY_CURRENT_USER, kUserKey));
        SetString(machine.Create(L"Corvane Mail").Get(), L"DLLPath", L"C:\\corvane\\mail.dll");
        SetString(user.Create(L"Lcid").Get(), L"UILanguage", L"1033");
        EXPECT_TRUE(KeyOpens(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail\\Corvane Mail"));
        EXPECT_TRUE(KeyOpens(HKEY_CURRENT_USER, L"Software\\CorvaneMailTest\\Lcid"));
        // Both scratch keys are in the prefix's user key, out of sight of the one that stands for it.
        EXPECT_FALSE(KeyOpens(HKEY_CURRENT_USER, L"Software\\CorvaneTests"));
    }
    EXPECT_TRUE(KeyOpens(HKEY_LOCAL_MACHINE, kMachineKey));
    EXPECT_TRUE(KeyOpens(HKEY_CURRENT_USER, kUserKey));
    EXPECT_FALSE(KeyOpens(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail\\Corvane Mail"));
    EXPECT_FALSE(KeyOpens(HKEY_CURRENT_USER, L"Software\\CorvaneMailTest"));
}
