// The inventory's plain readers over keys and files built for the test: a scratch key below HKCU for the
// registry, the build's own modules of both bitnesses for the executable's machine.
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "probes/inventory/ExecutableBitness.h"
#include "probes/inventory/MailClientsKey.h"
#include "probes/inventory/OfficeRegistry.h"
#include "probes/inventory/RegistryRead.h"
#include "res/resource.h"
#include "tests/support/RegistryScratch.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr wchar_t kScratch[] = L"Software\\CorvaneInventoryTest";

void SetValue(HKEY key, const wchar_t* name, DWORD type, const std::wstring& data)
{
    const LONG status = ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                         static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    ASSERT_EQ(ERROR_SUCCESS, status) << "RegSetValueExW " << ToUtf8(name);
}

// A text value with its terminator, as programs write it.
void SetText(HKEY key, const wchar_t* name, const std::wstring& text)
{
    SetValue(key, name, REG_SZ, text + L'\0');
}

// The Windows path of a file of the build: in the build folder, or in its other half's (i686/, x86_64/).
std::wstring BuildPath(const char* relative)
{
    std::wstring path = L"Z:";
    for (const char* c = CORVANE_BINARY_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    for (const char* c = relative; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

} // namespace

TEST(RegistryRead, TextsAreTheStringsOfEachTextTypeAndNothingOfAnother)
{
    CRegistryScratch scratch{HKEY_CURRENT_USER, kScratch};
    CRegKey key = scratch.Create();
    SetText(key.Get(), L"Text", L"one");
    SetValue(key.Get(), L"Expandable", REG_EXPAND_SZ, std::wstring(L"%SystemRoot%\\x\0", 15));
    // Two strings and the closing empty one; and two without it, as a careless writer leaves them.
    SetValue(key.Get(), L"Multi", REG_MULTI_SZ, std::wstring(L"a\0b\0\0", 5));
    SetValue(key.Get(), L"Unclosed", REG_MULTI_SZ, std::wstring(L"a\0b", 3));
    const DWORD number = 7;
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key.Get(), L"Number", 0, REG_DWORD,
                                              reinterpret_cast<const BYTE*>(&number), sizeof number));

    EXPECT_EQ(L"one", ReadRegistryText(key.Get(), L"Text"));
    EXPECT_EQ(L"%SystemRoot%\\x", ReadRegistryText(key.Get(), L"Expandable")) << "not expanded";
    EXPECT_EQ(L"a", ReadRegistryText(key.Get(), L"Multi"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), ReadRegistryTexts(key.Get(), L"Multi"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), ReadRegistryTexts(key.Get(), L"Unclosed"));
    EXPECT_EQ(std::nullopt, ReadRegistryText(key.Get(), L"Number"));
    EXPECT_EQ(std::nullopt, ReadRegistryText(key.Get(), L"Missing"));
    EXPECT_EQ(7u, ReadRegistryNumber(key.Get(), L"Number"));
    EXPECT_EQ(std::nullopt, ReadRegistryNumber(key.Get(), L"Text"));
}

TEST(MailClientsKey, TheDefaultAndEachClientsLibrariesLanguagesAndMailtoProgId)
{
    CRegistryScratch scratch{HKEY_CURRENT_USER, kScratch};
    CRegKey mail = scratch.Create();
    SetText(mail.Get(), L"", L"Microsoft Outlook");
    {
        CRegKey outlook = scratch.Create(L"Microsoft Outlook");
        SetText(outlook.Get(), L"DLLPathEx", L"C:\\MSMAPI32.DLL");
        SetText(outlook.Get(), L"MSIComponentID", L"{00000000-0000-0000-0000-000000000001}");
        SetValue(outlook.Get(), L"MSIApplicationLCID", REG_MULTI_SZ,
                 std::wstring(L"Microsoft\\Office\\16.0\\Outlook\0LastUILanguage\0\0", 46));
        CRegKey associations = scratch.Create(L"Microsoft Outlook\\Capabilities\\URLAssociations");
        SetText(associations.Get(), L"mailto", L"Outlook.URL.mailto.15");
    }
    {
        CRegKey simple = scratch.Create(L"Simple Mail");
        SetText(simple.Get(), L"DLLPath", L"C:\\simple.dll");
    }

    const MailClientsKeyFacts facts = ReadMailClientsKey(mail.Get());
    EXPECT_EQ(L"Microsoft Outlook", facts.defaultClient);
    ASSERT_EQ(2u, facts.clients.size());
    const MailClientFacts& outlook = facts.clients[0];
    EXPECT_EQ(L"Microsoft Outlook", outlook.name);
    EXPECT_EQ(L"", outlook.dllPath);
    EXPECT_EQ(L"C:\\MSMAPI32.DLL", outlook.dllPathEx);
    EXPECT_EQ(L"{00000000-0000-0000-0000-000000000001}", outlook.msiComponentId);
    EXPECT_EQ((std::vector<std::wstring>{L"Microsoft\\Office\\16.0\\Outlook", L"LastUILanguage"}),
              outlook.msiApplicationLcid);
    EXPECT_TRUE(outlook.msiOfficeLcid.empty());
    EXPECT_EQ(L"Outlook.URL.mailto.15", outlook.mailtoProgId);
    const MailClientFacts& simple = facts.clients[1];
    EXPECT_EQ(L"C:\\simple.dll", simple.dllPath);
    // Looked at and found to register no ProgId: examined, empty.
    EXPECT_EQ(L"", simple.mailtoProgId);
}

TEST(OfficeRegistry, InstallationsByVersionOldestFirstWithTheirBitness)
{
    CRegistryScratch scratch{HKEY_CURRENT_USER, kScratch};
    CRegKey office = scratch.Create();
    struct Installation
    {
        const wchar_t* version;
        const wchar_t* path; // null: Outlook's key without InstallRoot
        const wchar_t* bitness;
    };
    // Written out of order; "9.0" sorts before "16.0" by number, not by text.
    const Installation written[] = {{L"16.0", L"C:\\Office16\\", L"x64"},
                                    {L"9.0", L"C:\\Office9\\", nullptr},
                                    {L"15.0", nullptr, L"x86"},
                                    {L"Common", L"C:\\NotAVersion\\", nullptr},
                                    {L"14.0", L"C:\\Office14\\", L"X86"}};
    for (const Installation& installation : written)
    {
        CRegKey outlook = scratch.Create(std::wstring(installation.version) + L"\\Outlook");
        if (installation.bitness)
            SetText(outlook.Get(), L"Bitness", installation.bitness);
        if (installation.path)
            SetText(scratch.Create(std::wstring(installation.version) + L"\\Outlook\\InstallRoot").Get(),
                    L"Path", installation.path);
    }

    const std::vector<OutlookInstallation> found = ReadOutlookInstallations(office.Get());
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(L"9.0", found[0].outlook.version);
    EXPECT_EQ(L"C:\\Office9\\", found[0].outlook.path);
    EXPECT_EQ(std::nullopt, found[0].bitness);
    EXPECT_EQ(L"14.0", found[1].outlook.version);
    EXPECT_EQ(Bitness::X86, found[1].bitness) << "Office writes x86; any case is taken";
    EXPECT_EQ(L"16.0", found[2].outlook.version);
    EXPECT_EQ(Bitness::X64, found[2].bitness);
}

TEST(ExecutableBitness, TheMachineOfEachBuildsModuleAndAFailureForWhatIsNoImage)
{
#ifdef _WIN64
    const Bitness own = Bitness::X64;
    const Bitness other = Bitness::X86;
    const char* otherHalf = "/i686/fixtures/mail/bin/mail_outlook_exe.exe";
#else
    const Bitness own = Bitness::X86;
    const Bitness other = Bitness::X64;
    const char* otherHalf = "/x86_64/fixtures/mail/bin/mail_outlook_exe.exe";
#endif
    Bitness bitness = other;
    EXPECT_EQ(S_OK,
              ReadExecutableBitness(BuildPath("/fixtures/mail/bin/mail_outlook_exe.exe").c_str(), bitness));
    EXPECT_EQ(own, bitness);

    const std::wstring otherModule = BuildPath(otherHalf);
    if (FileExists(otherModule))
    {
        bitness = own;
        EXPECT_EQ(S_OK, ReadExecutableBitness(otherModule.c_str(), bitness));
        EXPECT_EQ(other, bitness);
    }

    CScratchFolder folder;
    const std::wstring text = folder.File(L"OUTLOOK.EXE");
    FILE* file = ::_wfopen(text.c_str(), L"wb");
    ASSERT_NE(nullptr, file);
    std::fputs("MZ but no image", file);
    std::fclose(file);
    bitness = own;
    EXPECT_EQ(HResultFromWin32(ERROR_BAD_EXE_FORMAT), ReadExecutableBitness(text.c_str(), bitness));
    EXPECT_EQ(own, bitness) << "left unchanged on failure";
    EXPECT_EQ(HResultFromWin32(ERROR_FILE_NOT_FOUND),
              ReadExecutableBitness(folder.File(L"MISSING.EXE").c_str(), bitness));
}

// A finding's message takes its arguments as they are: a path with "%s" or "%d" in it is no format.
TEST(FormatResourceStringList, ArgumentsAreInsertedAsTheyAreAndMissingOnesAreEmpty)
{
    EXPECT_EQ(L"Outlook Bitness: 64-bit (C:\\100%s\\%d)",
              FormatResourceStringList(IDS_OUTLOOK_BITNESS, {L"64-bit", L"C:\\100%s\\%d"}));
    EXPECT_EQ(L"Outlook Bitness: 32-bit ()", FormatResourceStringList(IDS_OUTLOOK_BITNESS, {L"32-bit"}));
}
