// Outlook's application path key and the folder it names.
#include "engine/ReportData.h"
#include "tests/probes/mail/MailTestSupport.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const char kSection[] = "<ReportSection id=\"OutlookInfo\" Title=\"Microsoft Outlook\">";

class CheckOutlookAppPathTest : public ::testing::Test
{
protected:
    CRegKey MakeKey(const std::wstring& path, DWORD type = REG_SZ)
    {
        CRegKey key = scratch.Create();
        SetString(key.Get(), L"", L"C:\\Office\\OUTLOOK.EXE");
        SetString(key.Get(), L"Path", path, type);
        return key;
    }

    std::string Rows() const { return RowsText(env.sink.Rows()); }

    MailProbeEnvironment env;
    CRegistryScratch scratch{HKEY_LOCAL_MACHINE,
                             L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE"};
};

} // namespace

TEST_F(CheckOutlookAppPathTest, CopiesTheKeyAndTakesTheFolderBeforeTheFirstSemicolon)
{
    MakeKey(L"C:\\Office\\;C:\\Shared;C:\\More");
    CTestReport report(env.engine, L"OutlookInfo", L"Microsoft Outlook");
    EXPECT_EQ(S_OK, env.engine.CheckOutlookAppPath(report.Section()));
    EXPECT_EQ(L"C:\\Office\\", env.engine.facts.outlookFolder);
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE\n"
              "13 2 (Default): C:\\Office\\OUTLOOK.EXE\n"
              "13 2 Path: C:\\Office\\;C:\\Shared;C:\\More\n",
              Rows());
    EXPECT_EQ(L"Test process is running...", env.sink.StatusText());
    EXPECT_EQ(1, env.sink.ProgressPosition());
    EXPECT_EQ(
        ReportFile(kSection,
                   "<DataList Type=\"RegHive\" "
                   "Name=\"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE\">\n"
                   "<DataItem Type=\"REG_SZ\" Name=\"(Default)\">C:\\Office\\OUTLOOK.EXE</DataItem>\n"
                   "<DataItem Type=\"REG_SZ\" Name=\"Path\">C:\\Office\\;C:\\Shared;C:\\More</DataItem>\n"
                   "</DataList>"),
        report.SavedText());
}

TEST_F(CheckOutlookAppPathTest, PathWithoutSemicolonIsTakenWholeAndUnexpanded)
{
    MakeKey(L"%ProgramFiles%\\Office", REG_EXPAND_SZ);
    env.engine.verbose = FALSE;
    EXPECT_EQ(S_OK, env.engine.CheckOutlookAppPath(nullptr));
    EXPECT_EQ(L"%ProgramFiles%\\Office", env.engine.facts.outlookFolder);
    EXPECT_EQ("9 1 HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE\n", Rows());
}

// A search list longer than the work buffer is read whole: Outlook's folder is still its first entry.
TEST_F(CheckOutlookAppPathTest, PathLongerThanTheWorkBufferStillGivesTheFolder)
{
    for (size_t length : {300u, 3000u})
    {
        MakeKey(L"C:\\Office\\;C:\\" + std::wstring(length, L'x'));
        env.engine.verbose = FALSE;
        EXPECT_EQ(S_OK, env.engine.CheckOutlookAppPath(nullptr)) << length;
        EXPECT_EQ(L"C:\\Office\\", env.engine.facts.outlookFolder) << length;
        env.engine.RemoveEvent(-1);
    }
}

TEST_F(CheckOutlookAppPathTest, MissingPathValueLeavesNoFolder)
{
    CRegKey key = scratch.Create();
    SetString(key.Get(), L"", L"C:\\Office\\OUTLOOK.EXE");
    env.engine.facts.outlookFolder = L"C:\\Earlier\\";
    EXPECT_EQ(S_OK, env.engine.CheckOutlookAppPath(nullptr));
    EXPECT_EQ(L"", env.engine.facts.outlookFolder);
}

TEST_F(CheckOutlookAppPathTest, MissingKeyFailsTheStep)
{
    env.engine.facts.outlookFolder = L"C:\\Earlier\\";
    CTestReport report(env.engine, L"OutlookInfo", L"Microsoft Outlook");
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), env.engine.CheckOutlookAppPath(report.Section()));
    EXPECT_EQ("1 1 Failed to query MS Outlook information. (0x80070002)\n", Rows());
    EXPECT_EQ(L"", env.engine.facts.outlookFolder);
    EXPECT_EQ(ReportFile(kSection, ""), report.SavedText());
}
