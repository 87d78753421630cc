// Stop and close while a run is under way, the keys that must do nothing, the About item.
#include "res/resource.h"
#include "tests/app/TestWorld.h"

#include <gtest/gtest.h>

using namespace corvane::uitest;

namespace {

constexpr int kLongValues = 4000;

class UiStopAndClose : public CUiTest
{
protected:
    static void SetUpTestSuite()
    {
        CUiTest::SetUpTestSuite();
        AddLongValues(kLongValues);
    }
    static void TearDownTestSuite() { RemoveLongValues(kLongValues); }

    // Starts a verbose run with a report and waits until it is inside the long registry dump.
    void StartLongRun()
    {
        DeleteFileIfThere(kReportFile);
        ui.Type(IDC_OUTPUT_FOLDER, kReports);
        ui.SetChecked(IDC_VERBOSE, true);
        ui.SetChecked(IDC_SAVE_REPORT, true);
        ASSERT_TRUE(ui.Click(IDC_EXECUTE));
        ASSERT_TRUE(ui.WaitUntil(
            [](const CUiDriver& driver) {
                return driver.LastRow().text.compare(0, 16, L"CorvaneLongValue") == 0 || driver.IsIdle();
            },
            60000));
        ASSERT_FALSE(ui.IsIdle()) << "the run ended before its long dump";
    }
};

// A run that spends its time at the end of a section: Outlook's language values name a per-user key of
// many values, and their dump is the last probe of the mail client section.
class UiStopAtTheEndOfASection : public CUiTest
{
protected:
    static constexpr wchar_t kOutlookClient[] = L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook";
    static constexpr wchar_t kLanguageKey[] = L"Software\\CorvaneLanguage";

    static void SetUpTestSuite()
    {
        CUiTest::SetUpTestSuite();
        for (const wchar_t* value : {L"MSIApplicationLCID", L"MSIOfficeLCID"})
            ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kOutlookClient, value, L"CorvaneLanguage"));
        for (int i = 0; i < kLongValues; ++i)
        {
            wchar_t name[32];
            ::swprintf(name, 32, L"CorvaneLanguage%05d", i);
            SetRegistryString(HKEY_CURRENT_USER, kLanguageKey, name, L"a value to read");
        }
    }
    static void TearDownTestSuite()
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kOutlookClient);
        DeleteRegistryTree(HKEY_CURRENT_USER, kLanguageKey);
    }
};

std::vector<std::wstring> ChildTexts(HWND dialog)
{
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        wchar_t text[256] = {};
        ::GetWindowTextW(child, text, 256);
        texts.push_back(text);
    }
    return texts;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text)
{
    for (const std::wstring& candidate : texts)
    {
        if (candidate == text)
            return true;
    }
    return false;
}

} // namespace

TEST_F(UiStopAndClose, StopDuringALongVerboseRunAbortsItAndStillSavesTheReport)
{
    StartLongRun();
    ASSERT_TRUE(ui.Click(IDC_STOP)) << "Stop did not answer";
    ASSERT_TRUE(ui.WaitUntilIdle(60000));
    const auto rows = ui.Rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_TRUE(IsStamped(rows.back().text, L"Test aborted by user at ")) << Narrow(rows.back().text);
    EXPECT_EQ(1, rows.back().icon);
    EXPECT_EQ(0, rows.back().indent);
    EXPECT_EQ(L"Report saved to the Corvane.xml file.", rows[rows.size() - 2].text);
    // No probe after the dump that was running: no module versions, no Outlook section.
    EXPECT_EQ(-1, FindDriverRow(rows, L"Microsoft Outlook")) << Narrow(Describe(rows));
    EXPECT_EQ(-1, FindRow(rows, L"Version Info: ")) << Narrow(Describe(rows));
    EXPECT_LT(rows.size(), static_cast<size_t>(kLongValues)) << "the dump ran to its end";

    const std::string report = ReadFile(kReportFile);
    EXPECT_NE(std::string::npos, report.find("<AbortedAt>")) << report.substr(0, 2000);
    EXPECT_EQ(std::string::npos, report.find("<CompletedAt>"));
    EXPECT_EQ(std::string::npos, report.find("OutlookInfo"));
}

TEST_F(UiStopAtTheEndOfASection, AStopDuringASectionsLastProbeEndsTheRunInThatSection)
{
    DeleteFileIfThere(kReportFile);
    ui.Type(IDC_OUTPUT_FOLDER, kReports);
    ui.SetChecked(IDC_VERBOSE, true);
    ui.SetChecked(IDC_SAVE_REPORT, true);
    ASSERT_TRUE(ui.Click(IDC_EXECUTE));
    ASSERT_TRUE(ui.WaitUntil(
        [](const CUiDriver& driver) {
            return driver.LastRow().text.compare(0, 15, L"CorvaneLanguage") == 0 || driver.IsIdle();
        },
        60000));
    ASSERT_FALSE(ui.IsIdle()) << "the run ended before the language key's dump";
    ASSERT_TRUE(ui.Click(IDC_STOP)) << "Stop did not answer";
    ASSERT_TRUE(ui.WaitUntilIdle(60000));

    const auto rows = ui.Rows();
    const auto driver = DriverRows(rows);
    ASSERT_EQ(5u, driver.size()) << Narrow(Describe(rows));
    EXPECT_EQ(L"System Information", driver[1]);
    EXPECT_EQ(L"Mail Clients Configuration", driver[2]);
    EXPECT_EQ(L"Report saved to the Corvane.xml file.", driver[3]);
    EXPECT_TRUE(IsStamped(driver[4], L"Test aborted by user at ")) << Narrow(driver[4]);

    const std::string report = ReadFile(kReportFile);
    EXPECT_NE(std::string::npos, report.find("<AbortedAt>")) << report.substr(0, 2000);
    EXPECT_NE(std::string::npos, report.find("<ReportSection id=\"MailClients\"")) << report.substr(0, 2000);
    EXPECT_EQ(std::string::npos, report.find("MAPIConfig")) << "the next section was begun";
}

TEST_F(UiStopAndClose, AStopLeftOverFromTheLastRunDoesNotAbortTheNext)
{
    StartLongRun();
    ASSERT_TRUE(ui.Click(IDC_STOP));
    ASSERT_TRUE(ui.WaitUntilIdle(60000));
    // Stop is disabled now; a click that reaches it all the same must not reach the next run.
    ui.Click(IDC_STOP);
    ui.SetChecked(IDC_VERBOSE, false);
    ASSERT_TRUE(ui.Click(IDC_EXECUTE));
    ASSERT_TRUE(ui.WaitUntilIdle(120000));
    const auto rows = ui.Rows();
    EXPECT_TRUE(IsStamped(rows.back().text, L"Test completed at ")) << Narrow(Describe(rows));
}

TEST_F(UiStopAndClose, ClosingDuringARunIsRefusedAndTheRunGoesOn)
{
    StartLongRun();
    const int rowsBefore = ui.RowCount();
    ui.RequestClose();
    HWND box = ui.WaitForOwnedDialog(10000);
    ASSERT_NE(nullptr, box) << "no message box";
    EXPECT_EQ(L"Test process is still in progress. Application can't be closed now.",
              CUiDriver::MessageText(box));
    wchar_t caption[64] = {};
    ::GetWindowTextW(box, caption, 64);
    // Message boxes carry the program's name, which is its file's: Corvane, or Corvane64 for x64.
    EXPECT_STREQ(sizeof(void*) == 8 ? L"Corvane64" : L"Corvane", caption);
    // The run goes on while the box is up.
    ::Sleep(300);
    EXPECT_GT(ui.RowCount(), rowsBefore);
    CUiDriver::PressOk(box);
    ASSERT_TRUE(
        ui.WaitUntil([](const CUiDriver& driver) { return driver.WaitForOwnedDialog(0) == nullptr; }, 10000));
    EXPECT_FALSE(ui.HasExited(0)) << "the program closed";
    const int rowsAfterBox = ui.RowCount();
    ::Sleep(300);
    EXPECT_FALSE(ui.IsIdle());
    EXPECT_GT(ui.RowCount(), rowsAfterBox) << "the run stopped with the box";
    ASSERT_TRUE(ui.Click(IDC_STOP));
    ASSERT_TRUE(ui.WaitUntilIdle(60000));
    EXPECT_TRUE(IsStamped(ui.LastRow().text, L"Test aborted by user at "));
}

TEST_F(UiStopAndClose, EnterAndEscInTheDialogDoNothing)
{
    ::SetFocus(nullptr);
    ui.PressKey(IDC_OUTPUT_FOLDER, VK_RETURN);
    ui.PressKey(IDC_OUTPUT_FOLDER, VK_ESCAPE);
    ui.PressKey(IDC_VERBOSE, VK_ESCAPE);
    ::Sleep(500);
    ASSERT_TRUE(ui.Responds());
    EXPECT_FALSE(ui.HasExited(0)) << "a key closed the window";
    EXPECT_TRUE(::IsWindowVisible(ui.Window()));
    EXPECT_TRUE(ui.IsIdle()) << "a key started a run";
    EXPECT_EQ(0, ui.RowCount());
}

TEST_F(UiStopAndClose, TheLastItemOfTheSystemMenuOpensTheAboutBox)
{
    // The system menu cannot be read from another process under Wine, so it is used as a person
    // would: Alt+Space, Up to its last item, Enter. (Its items are read in-process in AppMainDlgTest.)
    // On a loaded machine a key can reach the menu before its loop runs; a person would try again.
    HWND about = nullptr;
    for (int attempt = 0; attempt < 3 && !about; ++attempt)
    {
        ASSERT_TRUE(ui.ChooseLastSystemMenuItem()) << "no system menu opened";
        about = ui.WaitForOwnedDialog(4000);
        if (!about)
            ::PostMessageW(ui.Window(), WM_CANCELMODE, 0, 0);
    }
    ASSERT_NE(nullptr, about) << "no About box";
    wchar_t caption[64] = {};
    ::GetWindowTextW(about, caption, 64);
    EXPECT_STREQ(L"About Corvane", caption);
    const auto texts = ChildTexts(about);
    EXPECT_TRUE(Contains(texts, L"Corvane"));
    EXPECT_TRUE(Contains(texts, L"Version 1.00.0000"));
#ifdef _WIN64
    EXPECT_TRUE(Contains(texts, L"The 64-bit program, for 64-bit Outlook."));
#else
    EXPECT_TRUE(Contains(texts, L"Checks the MAPI and Outlook set-up."));
#endif
    EXPECT_TRUE(Contains(texts, L"OK"));
    // Modal: the main window is disabled until the box goes.
    EXPECT_FALSE(::IsWindowEnabled(ui.Window()));

    // Esc closes the About box (unlike the main window).
    ::PostMessageW(::GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(
        ui.WaitUntil([](const CUiDriver& driver) { return driver.WaitForOwnedDialog(0) == nullptr; }, 10000));
    EXPECT_TRUE(::IsWindowEnabled(ui.Window()));

    // The system command itself opens it again, and OK closes it.
    ::PostMessageW(ui.Window(), WM_SYSCOMMAND, 0x10, 0);
    about = ui.WaitForOwnedDialog(10000);
    ASSERT_NE(nullptr, about);
    CUiDriver::PressOk(about);
    ASSERT_TRUE(
        ui.WaitUntil([](const CUiDriver& driver) { return driver.WaitForOwnedDialog(0) == nullptr; }, 10000));
    EXPECT_TRUE(ui.Responds());
    ui.SetChecked(IDC_VERBOSE, false);
    EXPECT_TRUE(ui.Click(IDC_EXECUTE)) << "the main window is not usable again";
    EXPECT_TRUE(ui.WaitUntilIdle(120000));
}
