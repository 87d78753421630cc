// The command line's split, and the row text that /run prints and Copy puts on the clipboard.
#include "app/CommandLine.h"
#include "engine/EventRows.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

using Arguments = std::vector<std::wstring>;

} // namespace

// A backslash is always itself: the quote after "My Reports\" closes the folder instead of swallowing
// the options after it, as the system's own rules (CommandLineToArgvW) would.
TEST(SplitCommandLine, QuotesOnlyGroupAndBackslashesStayThemselves)
{
    const struct
    {
        const wchar_t* line;
        Arguments arguments;
    } cases[] = {
        {L"Corvane.exe", {}},
        {L"\"C:\\Program Files\\Corvane.exe\" /run", {L"/run"}},
        {L"Corvane.exe /run \"/out:C:\\My Reports\\\" /quiet",
         {L"/run", L"/out:C:\\My Reports\\", L"/quiet"}},
        {L"Corvane.exe /run /out:\"C:\\My Reports\\\\\" /noreport",
         {L"/run", L"/out:C:\\My Reports\\\\", L"/noreport"}},
        {L"Corvane.exe  /run\t/quiet  ", {L"/run", L"/quiet"}},
        {L"Corvane.exe /out:\"\\\\server\\share\\%COMPUTERNAME%.%USERNAME%\"",
         {L"/out:\\\\server\\share\\%COMPUTERNAME%.%USERNAME%"}},
        {L"Corvane.exe \"\"", {L""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.arguments, SplitCommandLine(c.line)) << std::wstring(c.line).size();
    EXPECT_TRUE(SplitCommandLine(nullptr).empty());
}

// A registry value's CR, LF or ESC would start a row of its own or move the console's cursor.
TEST(PrintableRowText, ShowsControlCharactersAsCodePointsAndKeepsTheRest)
{
    EXPECT_EQ(L"(Default): C:\\Program Files\\Ü € 中",
              PrintableRowText(L"(Default): C:\\Program Files\\Ü € 中"));
    EXPECT_EQ(L"a<U+000D><U+000A>[summary] forged<U+001B>[2J<U+0009>b",
              PrintableRowText(L"a\r\n[summary] forged\x1b[2J\tb"));
    EXPECT_EQ(L"<U+007F><U+009B><U+2028><U+2029><U+0000>",
              PrintableRowText(std::wstring(L"\x7f\x9b\x2028\x2029", 4) + L'\0'));
}
