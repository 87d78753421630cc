#include "tests/app/TestWorld.h"
#include "res/resource.h"

#include <cwctype>

namespace corvane::uitest {

namespace {
const wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
const wchar_t kMessaging[] = L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem";

std::wstring LongValueName(int i)
{
    wchar_t name[32];
    ::swprintf(name, 32, L"CorvaneLongValue%05d", i);
    return name;
}
} // namespace

void PrepareWorld()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    // Without a window manager Wine draws the caption and the sizing frame itself.
    SetRegistryString(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", L"N");
    // An Outlook with a version record, so that a run can complete: the program's own executable.
    ::CreateDirectoryW(L"C:\\Outlook", nullptr);
    ::CopyFileW(CorvaneExecutable().c_str(), L"C:\\Outlook\\OUTLOOK.EXE", FALSE);
    SetRegistryString(HKEY_LOCAL_MACHINE, kAppPaths, nullptr, L"C:\\Outlook\\OUTLOOK.EXE");
    SetRegistryString(HKEY_LOCAL_MACHINE, kAppPaths, L"Path", L"C:\\Outlook;C:\\Elsewhere");
    // Wine's MAPISTUB.DLL has no version record; one with a record lets the MAPI step succeed. The
    // prefix is a linked copy of the template, so the file is unlinked first, never written through.
    ::DeleteFileW(L"C:\\windows\\system32\\MAPISTUB.DLL");
    ::CopyFileW(CorvaneExecutable().c_str(), L"C:\\windows\\system32\\MAPISTUB.DLL", FALSE);
    ::CreateDirectoryW(kReports.c_str(), nullptr);
}

void AddLongValues(int count)
{
    for (int i = 0; i < count; ++i)
        SetRegistryString(HKEY_LOCAL_MACHINE, kMessaging, LongValueName(i).c_str(), L"a value to read");
}

void RemoveLongValues(int count)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMessaging, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < count; ++i)
        ::RegDeleteValueW(key, LongValueName(i).c_str());
    ::RegCloseKey(key);
}

std::vector<std::wstring> DriverRows(const std::vector<EventRow>& rows)
{
    std::vector<std::wstring> texts;
    for (const EventRow& row : rows)
    {
        if (row.indent == 0)
            texts.push_back(row.text);
    }
    return texts;
}

bool IsStamped(const std::wstring& text, const std::wstring& prefix)
{
    // prefix + "YYYY-MM-DD hh:mm:ss" + "."
    const wchar_t pattern[] = L"dddd-dd-dd dd:dd:dd.";
    const size_t length = prefix.size() + (sizeof(pattern) / sizeof(wchar_t) - 1);
    if (text.size() != length || text.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = 0; pattern[i]; ++i)
    {
        const wchar_t c = text[prefix.size() + i];
        if (pattern[i] == L'd' ? !std::iswdigit(c) : c != pattern[i])
            return false;
    }
    return true;
}

int FindDriverRow(const std::vector<EventRow>& rows, const std::wstring& text)
{
    for (size_t i = 0; i < rows.size(); ++i)
    {
        if (rows[i].indent == 0 && rows[i].text == text)
            return static_cast<int>(i);
    }
    return -1;
}

int FindRow(const std::vector<EventRow>& rows, const std::wstring& prefix)
{
    for (size_t i = 0; i < rows.size(); ++i)
    {
        if (rows[i].text.compare(0, prefix.size(), prefix) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring Describe(const std::vector<EventRow>& rows)
{
    std::wstring text;
    for (const EventRow& row : rows)
        text += L"  [" + std::to_wstring(row.icon) + L"," + std::to_wstring(row.indent) + L"] " + row.text +
                L"\n";
    return text;
}

void CUiTest::SetUp()
{
    ASSERT_TRUE(ui.Start()) << "Corvane.exe did not show its window: " << Narrow(CorvaneExecutable());
}

void CUiTest::TearDown()
{
    if (ui.HasExited())
        return;
    ui.WaitUntilIdle(120000);
    // Any box a failed test left open goes first.
    while (HWND box = ui.WaitForOwnedDialog(0))
    {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        ::PostMessageW(box, WM_CLOSE, 0, 0);
        ::Sleep(100);
    }
    EXPECT_TRUE(ui.Close()) << "Corvane.exe did not end when closed";
}

void CUiTest::RunTest(const std::wstring& folder, bool verbose, bool saveReport)
{
    ui.Type(IDC_OUTPUT_FOLDER, folder);
    ui.SetChecked(IDC_VERBOSE, verbose);
    ui.SetChecked(IDC_SAVE_REPORT, saveReport);
    ASSERT_TRUE(ui.Click(IDC_EXECUTE)) << "Execute did not answer";
    ASSERT_TRUE(ui.WaitUntilIdle(120000)) << "the run did not end";
}

} // namespace corvane::uitest
