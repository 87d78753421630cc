// Registry values as text by their type, and the icons of the types.
#include "probes/mail/RegistryValueText.h"
#include "engine/probes/RegistryHive.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

std::wstring Text(DWORD type, const std::vector<BYTE>& bytes)
{
    return RegistryValueText(type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::vector<BYTE> Units(const std::wstring& units)
{
    const auto* first = reinterpret_cast<const BYTE*>(units.data());
    return std::vector<BYTE>(first, first + units.size() * sizeof(wchar_t));
}

} // namespace

TEST(RegistryValueIcon, FollowsTheTypeNumberUpToQwordThenMuiStringElseBlankPage)
{
    for (DWORD type = 0; type <= 11; ++type)
        EXPECT_EQ(12 + static_cast<int>(type), static_cast<int>(RegistryValueIcon(type))) << "type " << type;
    EXPECT_EQ(24, static_cast<int>(RegistryValueIcon(21)));
    EXPECT_EQ(12, static_cast<int>(RegistryValueIcon(12)));
    EXPECT_EQ(12, static_cast<int>(RegistryValueIcon(20)));
    EXPECT_EQ(12, static_cast<int>(RegistryValueIcon(22)));
    EXPECT_EQ(12, static_cast<int>(RegistryValueIcon(0xFFFFFFFF)));
}

TEST(RegistryValueText, StringsEndAtTheirFirstTerminator)
{
    EXPECT_EQ(L"Microsoft Outlook", Text(REG_SZ, Units(std::wstring(L"Microsoft Outlook\0rest\0", 23))));
    EXPECT_EQ(L"%SystemRoot%\\mapi32.dll",
              Text(REG_EXPAND_SZ, Units(std::wstring(L"%SystemRoot%\\mapi32.dll\0", 24))));
    EXPECT_EQ(L"@shell32.dll,-1", Text(21, Units(std::wstring(L"@shell32.dll,-1\0", 16))));
}

TEST(RegistryValueText, StringWithoutTerminatorEndsWithTheData)
{
    EXPECT_EQ(L"abc", Text(REG_SZ, Units(L"abc")));
    // An odd last byte is no character.
    std::vector<BYTE> odd = Units(L"ab");
    odd.push_back('c');
    EXPECT_EQ(L"ab", Text(REG_SZ, odd));
    EXPECT_EQ(L"", Text(REG_SZ, {}));
    EXPECT_EQ(L"", RegistryValueText(REG_SZ, nullptr, 8));
}

TEST(RegistryValueText, MultiStringIsJoinedWithBars)
{
    EXPECT_EQ(L"a|b|c", Text(REG_MULTI_SZ, Units(std::wstring(L"a\0b\0c\0\0", 7))));
    EXPECT_EQ(L"", Text(REG_MULTI_SZ, Units(std::wstring(L"\0", 1))));
    EXPECT_EQ(L"", Text(REG_MULTI_SZ, {}));
    // The list ends at its first empty string.
    EXPECT_EQ(L"a", Text(REG_MULTI_SZ, Units(std::wstring(L"a\0\0b\0\0", 6))));
}

TEST(RegistryValueText, MultiStringWithoutClosingEmptyStringShowsTheStringsThere)
{
    EXPECT_EQ(L"a|b", Text(REG_MULTI_SZ, Units(std::wstring(L"a\0b\0", 4))));
    EXPECT_EQ(L"a|bc", Text(REG_MULTI_SZ, Units(std::wstring(L"a\0bc", 4))));
}

TEST(RegistryValueText, DwordInHexadecimalAndDecimal)
{
    EXPECT_EQ(L"0x0000002A (42)", Text(REG_DWORD, {0x2A, 0, 0, 0}));
    EXPECT_EQ(L"0xFFFFFFFF (4294967295)", Text(REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(L"0x0000002A (42)", Text(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0x2A}));
    EXPECT_EQ(L"0x12345678 (305419896)", Text(REG_DWORD_BIG_ENDIAN, {0x12, 0x34, 0x56, 0x78}));
}

TEST(RegistryValueText, ShortNumbersShowTheBytesThereAre)
{
    EXPECT_EQ(L"0x0000002A (42)", Text(REG_DWORD, {0x2A}));
    EXPECT_EQ(L"0x00001234 (4660)", Text(REG_DWORD, {0x34, 0x12}));
    EXPECT_EQ(L"0x00000000 (0)", Text(REG_DWORD, {}));
    EXPECT_EQ(L"0x0000002A (42)", Text(REG_DWORD_BIG_ENDIAN, {0, 0x2A}));
    EXPECT_EQ(L"0x00000000 (0)", Text(REG_QWORD, {}));
    EXPECT_EQ(L"0x00010203 (66051)", Text(REG_QWORD, {3, 2, 1}));
    // Longer data: only the number's own bytes count.
    EXPECT_EQ(L"0x0000002A (42)", Text(REG_DWORD, {0x2A, 0, 0, 0, 0xFF, 0xFF}));
}

TEST(RegistryValueText, QwordShowsAtLeastEightDigits)
{
    EXPECT_EQ(L"0x100000000 (4294967296)", Text(REG_QWORD, {0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(L"0x0000002A (42)", Text(REG_QWORD, {0x2A, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(L"0xFFFFFFFFFFFFFFFF (18446744073709551615)",
              Text(REG_QWORD, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(RegistryValueText, SizeTextDropsTheSuffixWhenTheLastDigitIsOne)
{
    EXPECT_EQ(L"REG_BINARY: 1 byte", Text(REG_BINARY, std::vector<BYTE>(1)));
    EXPECT_EQ(L"REG_BINARY: 11 byte", Text(REG_BINARY, std::vector<BYTE>(11)));
    EXPECT_EQ(L"REG_BINARY: 21 byte", Text(REG_BINARY, std::vector<BYTE>(21)));
    EXPECT_EQ(L"REG_BINARY: 101 byte", Text(REG_BINARY, std::vector<BYTE>(101)));
    EXPECT_EQ(L"REG_BINARY: 0 bytes", Text(REG_BINARY, {}));
    EXPECT_EQ(L"REG_BINARY: 2 bytes", Text(REG_BINARY, std::vector<BYTE>(2)));
    EXPECT_EQ(L"REG_BINARY: 12 bytes", Text(REG_BINARY, std::vector<BYTE>(12)));
    EXPECT_EQ(L"REG_BINARY: 16 bytes", Text(REG_BINARY, std::vector<BYTE>(16)));
}

TEST(RegistryValueText, SizeTextNamesTheType)
{
    EXPECT_EQ(L"REG_NONE: 0 bytes", Text(REG_NONE, {}));
    EXPECT_EQ(L"REG_LINK: 4 bytes", Text(REG_LINK, std::vector<BYTE>(4)));
    EXPECT_EQ(L"REG_RESOURCE_LIST: 8 bytes", Text(REG_RESOURCE_LIST, std::vector<BYTE>(8)));
    EXPECT_EQ(L"REG_FULL_RESOURCE_DESCRIPTOR: 31 byte",
              Text(REG_FULL_RESOURCE_DESCRIPTOR, std::vector<BYTE>(31)));
    EXPECT_EQ(L"REG_RESOURCE_REQUIREMENTS_LIST: 3 bytes",
              Text(REG_RESOURCE_REQUIREMENTS_LIST, std::vector<BYTE>(3)));
}

TEST(RegistryValueText, OtherTypesShowTheirNumberInHexadecimal)
{
    EXPECT_EQ(L"REG_000C: 4 bytes", Text(12, std::vector<BYTE>(4)));
    EXPECT_EQ(L"REG_0014: 1 byte", Text(20, std::vector<BYTE>(1)));
    EXPECT_EQ(L"REG_0016: 0 bytes", Text(22, {}));
    EXPECT_EQ(L"REG_12345: 2 bytes", Text(0x12345, std::vector<BYTE>(2)));
}
