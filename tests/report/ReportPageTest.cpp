// The page that the program makes with MSXML and its embedded stylesheet is, byte for byte, the reviewed
// page that xsltproc makes of the same report (tests/report_page/expected).
#include "report/ReportPage.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <objbase.h>

using namespace corvane;
using namespace corvane::test;

namespace {
// A file of the source tree as Windows sees it.
std::wstring SourceFile(const char* relative)
{
    std::wstring path = L"Z:";
    for (const char* c = CORVANE_SOURCE_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    for (const char* c = relative; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}
} // namespace

TEST(ReportPage, IsWhatXsltprocMakesOfTheSameReport)
{
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    const struct
    {
        const char* report;
        const char* page;
    } cases[] = {
        {"/tests/e2e/expected/complete.xml", "/tests/report_page/expected/complete.html"},
        {"/tests/e2e/expected/m365-x64.xml", "/tests/report_page/expected/m365-x64.html"},
        {"/tests/e2e/expected/untouched.xml", "/tests/report_page/expected/untouched.html"},
        {"/tests/report_page/reports/findings.xml", "/tests/report_page/expected/findings.html"},
        {"/tests/report_page/reports/hostile.xml", "/tests/report_page/expected/hostile.html"},
    };
    for (const auto& sample : cases)
    {
        const std::string report = ReadFileBytes(SourceFile(sample.report));
        ASSERT_FALSE(report.empty()) << sample.report;
        std::string page;
        ASSERT_EQ(S_OK, MakeReportPage(::GetModuleHandleW(nullptr), report, page)) << sample.report;
        EXPECT_EQ(ReadFileBytes(SourceFile(sample.page)), page) << sample.report;
    }
    ::CoUninitialize();
}
