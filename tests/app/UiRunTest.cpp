// Whole runs started from the window: options, report file, output folders.
#include "res/resource.h"
#include "tests/app/TestWorld.h"

#include <gtest/gtest.h>

using namespace corvane::uitest;

namespace {

class UiRun : public CUiTest
{
protected:
    void SetUp() override
    {
        DeleteFileIfThere(kReportFile);
        CUiTest::SetUp();
    }
};

// Detail rows of the steps and the inventory: the findings' advice rows are indented in both modes.
bool HasDetailRows(const std::vector<EventRow>& rows)
{
    for (const EventRow& row : rows)
    {
        if (row.indent == 0 && row.text == L"Findings")
            return false;
        if (row.indent >= 2)
            return true;
    }
    return false;
}

// The timestamp that ends an outcome row ("... at 2009-03-05 09:07:02.").
std::string StampOf(const std::wstring& row)
{
    const size_t at = row.rfind(L" at ");
    return at == std::wstring::npos ? std::string() : Narrow(row.substr(at + 4, 19));
}

} // namespace

TEST_F(UiRun, ACompletedRunWithReportLogsTheSectionsAndSavesTheFile)
{
    RunTest(kReports, false, true);
    const auto rows = ui.Rows();
    const auto driver = DriverRows(rows);
    ASSERT_EQ(9u, driver.size()) << Narrow(Describe(rows));
    EXPECT_TRUE(IsStamped(driver[0], L"Test started at ")) << Narrow(driver[0]);
    EXPECT_EQ(L"System Information", driver[1]);
    EXPECT_EQ(L"Mail Clients Configuration", driver[2]);
    EXPECT_EQ(L"MAPI Configuration", driver[3]);
    EXPECT_EQ(L"Microsoft Outlook", driver[4]);
    EXPECT_EQ(L"Inventory", driver[5]);
    EXPECT_EQ(L"Findings", driver[6]);
    EXPECT_EQ(L"Report saved to the Corvane.xml file.", driver[7]);
    EXPECT_TRUE(IsStamped(driver[8], L"Test completed at ")) << Narrow(driver[8]);

    // Icons of the driver's own rows: information, section titles, report saved, information.
    std::vector<int> icons;
    for (const EventRow& row : rows)
    {
        if (row.indent == 0)
            icons.push_back(row.icon);
    }
    EXPECT_EQ((std::vector<int>{0, 6, 6, 6, 6, 6, 6, 5, 0}), icons);
    EXPECT_EQ(0, rows.front().indent);
    EXPECT_EQ(driver[0], rows.front().text);
    EXPECT_EQ(driver[8], rows.back().text);
    // Verbose mode was off: no detail rows.
    EXPECT_FALSE(HasDetailRows(rows)) << Narrow(Describe(rows));

    ASSERT_TRUE(FileExists(kReportFile));
    const std::string report = ReadFile(kReportFile);
    const std::string ended = StampOf(driver[8]);
    EXPECT_NE(std::string::npos, report.find("<Title>Corvane</Title>")) << report;
    EXPECT_NE(std::string::npos, report.find("<CompletedAt>" + ended + "</CompletedAt>")) << report;
    EXPECT_NE(std::string::npos, report.find("<CreatedAt>" + ended + "</CreatedAt>")) << report;
    EXPECT_NE(std::string::npos,
              report.find("<ReportSection id=\"OutlookInfo\" Title=\"Microsoft Outlook\">"));
    EXPECT_NE(std::string::npos,
              report.find("</ReportSection><ReportSection id=\"Inventory\" Title=\"Inventory\">"));
    EXPECT_NE(std::string::npos,
              report.find("</ReportSection><ReportSection id=\"Findings\" Title=\"Findings\">"));
}

TEST_F(UiRun, OptionsChangedBeforeExecuteAreTheOnesUsed)
{
    RunTest(kReports, false, false);
    EXPECT_FALSE(HasDetailRows(ui.Rows()));
    EXPECT_FALSE(FileExists(kReportFile));

    const std::wstring second = kReports + L"\\Second";
    ::CreateDirectoryW(second.c_str(), nullptr);
    DeleteFileIfThere(second + L"\\Corvane.xml");
    RunTest(second, true, true);
    const auto rows = ui.Rows();
    EXPECT_TRUE(HasDetailRows(rows)) << "verbose mode was switched on: " << Narrow(Describe(rows));
    EXPECT_TRUE(FileExists(second + L"\\Corvane.xml")) << "the report went elsewhere";
    EXPECT_FALSE(FileExists(kReportFile)) << "the earlier output folder was used";
    EXPECT_TRUE(ui.IsChecked(IDC_VERBOSE));
    EXPECT_TRUE(ui.IsChecked(IDC_SAVE_REPORT));
    EXPECT_EQ(second, ui.Text(IDC_OUTPUT_FOLDER));
}

TEST_F(UiRun, WithTheReportOffNoFileIsWritten)
{
    RunTest(kReports, true, false);
    const auto rows = ui.Rows();
    const auto driver = DriverRows(rows);
    ASSERT_EQ(8u, driver.size()) << Narrow(Describe(rows));
    EXPECT_TRUE(IsStamped(driver[0], L"Test started at "));
    EXPECT_EQ(
        (std::vector<std::wstring>{L"System Information", L"Mail Clients Configuration",
                                   L"MAPI Configuration", L"Microsoft Outlook", L"Inventory", L"Findings"}),
        std::vector<std::wstring>(driver.begin() + 1, driver.begin() + 7));
    EXPECT_TRUE(IsStamped(driver[7], L"Test completed at "));
    EXPECT_EQ(-1, FindRow(rows, L"Report saved")) << Narrow(Describe(rows));
    EXPECT_FALSE(FileExists(kReportFile));
}

TEST_F(UiRun, AnUnwritableOutputFolderGivesTheSaveFailureAndAFailedRun)
{
    // A "folder" that is a file: the report path below it cannot be created by anyone, root included.
    const std::wstring notAFolder = kReports + L"\\NotAFolder.txt";
    {
        FILE* file = ::_wfopen(notAFolder.c_str(), L"wb");
        ASSERT_NE(nullptr, file);
        std::fclose(file);
    }
    RunTest(notAFolder, false, true);
    const auto rows = ui.Rows();
    ASSERT_GE(rows.size(), 2u);
    const EventRow& failure = rows[rows.size() - 2];
    const std::wstring expected = L"Failed to save report to the Corvane.xml file.\n\nError code: 0x";
    EXPECT_EQ(expected, failure.text.substr(0, expected.size())) << Narrow(failure.text);
    EXPECT_EQ(expected.size() + 8, failure.text.size()) << Narrow(failure.text);
    EXPECT_EQ(1, failure.icon);
    EXPECT_EQ(0, failure.indent);
    EXPECT_TRUE(IsStamped(rows.back().text, L"Test failed at ")) << Narrow(rows.back().text);
    EXPECT_EQ(1, rows.back().icon);
    EXPECT_EQ(-1, FindRow(rows, L"Report saved")) << Narrow(Describe(rows));
    EXPECT_NE(-1, FindDriverRow(rows, L"Microsoft Outlook")) << "the probes all ran before the save";
}

TEST_F(UiRun, AFolderWithAndWithoutItsTrailingBackslashGivesTheSameReportPath)
{
    for (const std::wstring& folder : {kReports, kReports + L"\\"})
    {
        DeleteFileIfThere(kReportFile);
        RunTest(folder, false, true);
        const auto rows = ui.Rows();
        EXPECT_NE(-1, FindRow(rows, L"Report saved to the Corvane.xml file.")) << Narrow(folder);
        EXPECT_TRUE(FileExists(kReportFile)) << Narrow(folder);
    }
}

TEST_F(UiRun, BrowseOpensTheFolderPickerAtTheBoxsFolderAndPutsTheChosenFolderInTheBox)
{
    const std::wstring chosen = kReports + L"\\Chosen";
    ::CreateDirectoryW(chosen.c_str(), nullptr);
    ui.Type(IDC_OUTPUT_FOLDER, kReports);
    auto pickerClosed = [](const CUiDriver& driver) { return driver.WaitForOwnedDialog(0) == nullptr; };

    // Cancelled, it changes nothing.
    ui.ClickWithoutWaiting(IDC_BROWSE);
    HWND picker = ui.WaitForOwnedDialog(10000);
    ASSERT_NE(nullptr, picker) << "Browse opened no folder picker";
    wchar_t caption[64] = {};
    ::GetWindowTextW(picker, caption, 64);
    EXPECT_STREQ(L"Choose the output folder", caption);
    ::PostMessageW(::GetDlgItem(picker, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(ui.WaitUntil(pickerClosed, 10000));
    EXPECT_EQ(kReports, ui.Text(IDC_OUTPUT_FOLDER));

    // The subfolder's bare name finds it, since the picker opened at the box's folder.
    ui.ClickWithoutWaiting(IDC_BROWSE);
    picker = ui.WaitForOwnedDialog(10000);
    ASSERT_NE(nullptr, picker) << "Browse opened no folder picker the second time";
    HWND name = ::FindWindowExW(picker, nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, name) << "the picker has no name box";
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Chosen"));
    ::PostMessageW(::GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(ui.WaitUntil(pickerClosed, 10000)) << "the picker did not take the folder";
    EXPECT_EQ(chosen, ui.Text(IDC_OUTPUT_FOLDER));
}
