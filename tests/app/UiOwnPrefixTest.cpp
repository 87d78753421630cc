// Runs that need a prefix of their own, since they take away something the whole system uses: the
// MSXML document classes, the registered mail clients, or the folder dialog that Windows XP lacks.
#include "res/resource.h"
#include "tests/app/TestWorld.h"

#include <gtest/gtest.h>

using namespace corvane::uitest;

namespace {

class UiWithoutXml : public CUiTest
{
protected:
    static void SetUpTestSuite()
    {
        CUiTest::SetUpTestSuite();
        for (const wchar_t* key : {L"Software\\Classes\\CLSID\\{88d969c0-f192-11d4-a65f-0040963251e5}",
                                   L"Software\\Classes\\CLSID\\{f5078f32-c551-11d3-89b9-0000f81fe221}",
                                   L"Software\\Classes\\CLSID\\{f5078f1b-c551-11d3-89b9-0000f81fe221}"})
            ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, key)) << Narrow(key);
    }
};

class UiFailingProbe : public CUiTest
{
protected:
    static void SetUpTestSuite()
    {
        CUiTest::SetUpTestSuite();
        ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"Software\\Clients\\Mail"));
    }
};

// Windows XP has no Vista folder dialog (the "File Open Dialog" class).
class UiWithoutFolderDialog : public CUiTest
{
protected:
    static void SetUpTestSuite()
    {
        CUiTest::SetUpTestSuite();
        ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE,
                                       L"Software\\Classes\\CLSID\\{DC1C5A9C-E88A-4DDE-A5A1-60F82A20AEF7}"));
    }
};

bool HasChildWithText(HWND window, const wchar_t* text)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        wchar_t childText[256] = {};
        ::GetWindowTextW(child, childText, 256);
        if (::lstrcmpW(childText, text) == 0)
            return true;
    }
    return false;
}

} // namespace

TEST_F(UiWithoutFolderDialog, BrowseOpensTheShellsFolderBrowserAtTheBoxsFolder)
{
    const std::wstring chosen = kReports + L"\\Chosen";
    ::CreateDirectoryW(chosen.c_str(), nullptr);
    ui.Type(IDC_OUTPUT_FOLDER, kReports);
    ui.ClickWithoutWaiting(IDC_BROWSE);
    HWND picker = ui.WaitForOwnedDialog(10000);
    ASSERT_NE(nullptr, picker) << "Browse opened no folder picker";
    EXPECT_TRUE(HasChildWithText(picker, L"Choose the output folder"));
    HWND tree = ::FindWindowExW(picker, nullptr, L"SysTreeView32", nullptr);
    ASSERT_NE(nullptr, tree) << "not the shell's folder browser";

    // Right opens the selected folder, the box's, and Right again goes to its first subfolder.
    for (WORD key : {static_cast<WORD>(VK_RIGHT), static_cast<WORD>(VK_RIGHT)})
    {
        ::PostMessageW(tree, WM_KEYDOWN, key, 1);
        ::PostMessageW(tree, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }
    ::PostMessageW(::GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(
        ui.WaitUntil([](const CUiDriver& driver) { return driver.WaitForOwnedDialog(0) == nullptr; }, 10000))
        << "the folder browser did not close";
    EXPECT_EQ(chosen, ui.Text(IDC_OUTPUT_FOLDER));
}

TEST_F(UiWithoutXml, TheRunFailsAtOnceWithTheDocumentError)
{
    DeleteFileIfThere(kReportFile);
    RunTest(kReports, true, true);
    const auto rows = ui.Rows();
    ASSERT_EQ(3u, rows.size()) << Narrow(Describe(rows));
    EXPECT_TRUE(IsStamped(rows[0].text, L"Test started at "));
    EXPECT_EQ(0, rows[0].icon);
    EXPECT_EQ(L"Failed to initialize XML document object.\n\nError code: 0x80040154", rows[1].text);
    EXPECT_EQ(1, rows[1].icon);
    EXPECT_EQ(0, rows[1].indent);
    EXPECT_TRUE(IsStamped(rows[2].text, L"Test failed at ")) << Narrow(rows[2].text);
    EXPECT_EQ(1, rows[2].icon);
    EXPECT_FALSE(FileExists(kReportFile));
}

TEST_F(UiWithoutXml, WithTheReportOffTheRunDoesNotNeedTheDocument)
{
    RunTest(kReports, false, false);
    const auto rows = ui.Rows();
    EXPECT_NE(-1, FindDriverRow(rows, L"System Information")) << Narrow(Describe(rows));
    EXPECT_TRUE(IsStamped(rows.back().text, L"Test completed at ")) << Narrow(Describe(rows));
}

// The failed step ends the test's sections; the inventory and the findings of what was examined follow,
// and the run's outcome stays the failure.
TEST_F(UiFailingProbe, AFailingMailClientsProbeEndsTheRunInSectionTwoAndStillSavesTheReport)
{
    DeleteFileIfThere(kReportFile);
    RunTest(kReports, false, true);
    const auto rows = ui.Rows();
    const int section = FindDriverRow(rows, L"Mail Clients Configuration");
    ASSERT_NE(-1, section) << Narrow(Describe(rows));
    ASSERT_GT(rows.size(), static_cast<size_t>(section) + 3);
    EXPECT_EQ(6, rows[section].icon);
    EXPECT_EQ(L"Failed to query mail client information. (0x80070002)", rows[section + 1].text);
    EXPECT_EQ(1, rows[section + 1].icon);
    EXPECT_EQ(1, rows[section + 1].indent);
    EXPECT_EQ(L"Inventory", rows[section + 2].text);
    const int findings = FindDriverRow(rows, L"Findings");
    ASSERT_NE(-1, findings) << Narrow(Describe(rows));
    // The machine's Clients\Mail key is missing: no default mail client.
    EXPECT_NE(std::wstring::npos, rows[findings + 1].text.find(L"(R2)")) << Narrow(rows[findings + 1].text);
    EXPECT_EQ(25, rows[findings + 1].icon);
    const size_t n = rows.size();
    EXPECT_EQ(L"Report saved to the Corvane.xml file.", rows[n - 2].text);
    EXPECT_EQ(5, rows[n - 2].icon);
    EXPECT_TRUE(IsStamped(rows[n - 1].text, L"Test failed at ")) << Narrow(rows[n - 1].text);
    EXPECT_EQ(1, rows[n - 1].icon);
    EXPECT_EQ(-1, FindDriverRow(rows, L"MAPI Configuration"));
    EXPECT_EQ(-1, FindDriverRow(rows, L"Microsoft Outlook"));

    ASSERT_TRUE(FileExists(kReportFile));
    const std::string report = ReadFile(kReportFile);
    EXPECT_NE(std::string::npos, report.find("<FailedAt>")) << report;
    EXPECT_NE(std::string::npos, report.find("<ReportSection id=\"MailClients\"")) << report;
    EXPECT_EQ(std::string::npos, report.find("MAPIConfig")) << report;
}
