// The event list after a run, used as a person uses it: rows copied for a support ticket, and the
// report's row that opens its folder.
#include "framework/UniqueHandle.h"
#include "tests/app/TestWorld.h"

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cwctype>
#include <iterator>
#include <memory>

using namespace corvane::uitest;
using corvane::CRegKey;

namespace {

class UiEventList : public CUiTest
{};

// A verbose run without a report in the test world, as "Copy all" puts it on the clipboard (times masked):
// its four sections.
const wchar_t* const kVerboseRunText[] = {
    L"Test started at YYYY-MM-DD hh:mm:ss.",
    L"System Information",
    L"    OS: Windows NT 6.1 Service Pack 1",
    L"        Platform: WIN32.NT",
    L"        Version: 6.1.7601 SP1",
    L"        Type:  NT_WORKSTATION",
    L"        Suite: ",
    L"        System Language: English (United States)",
    L"        User Language: English (United States)",
    L"    System Folders",
    L"        Windows Folder: C:\\windows",
    L"        System Folder: C:\\windows\\system32",
    L"        Program Files: C:\\Program Files",
    L"        Common Files: C:\\Program Files\\Common Files",
    L"Mail Clients Configuration",
    L"    HKLM\\SOFTWARE\\Clients\\Mail",
    L"        Native Mail Client",
    L"            (Default): Native Mail Client",
    L"            DLLPath: C:\\windows\\system32\\winemapi.dll",
    L"        (Default): Native Mail Client",
    L"    Microsoft Outlook registry key not found",
    L"MAPI Configuration",
    L"    HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem",
    L"        MAPI: 1",
    L"    Version Info: C:\\windows\\system32\\MAPISTUB.DLL",
    L"        Product Version: 2.0.2008.616",
    L"        File Version: 2.0.616.1620",
    L"        Vendor: The Corvane developers",
    L"    Version Info: C:\\windows\\system32\\MAPI32.DLL",
    L"        Product Version: 1.0.0.0",
    L"        File Version: 1.0.0.0",
    L"        Vendor: Microsoft Corporation",
    L"Microsoft Outlook",
    L"    HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE",
    L"        (Default): C:\\Outlook\\OUTLOOK.EXE",
    L"        Path: C:\\Outlook;C:\\Elsewhere",
    L"    Version Info: C:\\Outlook\\OUTLOOK.EXE",
    L"        Product Version: 2.0.2008.616",
    L"        File Version: 2.0.616.1620",
    L"        Vendor: The Corvane developers",
};

// The rest of that run: the inventory, with the names Windows gives this computer and user and the
// bitness of the test world's OUTLOOK.EXE (this test program's own), and the findings.
std::vector<std::wstring> VerboseRunText()
{
    std::vector<std::wstring> lines(std::begin(kVerboseRunText), std::end(kVerboseRunText));
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(computer, &computerLength);
    wchar_t user[257] = {};
    DWORD userLength = 257;
    ::GetUserNameW(user, &userLength);
#ifdef _WIN64
    const std::wstring bitness = L"64-bit";
#else
    const std::wstring bitness = L"32-bit";
#endif
    for (const std::wstring& line : {
             std::wstring(L"Inventory"),
             L"    Computer: " + std::wstring(computer),
             L"    User: " + std::wstring(user),
             std::wstring(L"    Click-to-Run: not installed"),
             std::wstring(L"    Classic Outlook: none installed"),
             L"    Outlook Bitness: " + bitness + L" (OUTLOOK.EXE machine)",
             std::wstring(L"        Read from: C:\\Outlook\\OUTLOOK.EXE"),
             std::wstring(L"    User's Mail Client: none set"),
             std::wstring(L"    E-mail Links: \"C:\\windows\\system32\\winebrowser.exe\" \"%1\""),
             std::wstring(L"    New Outlook: not installed"),
             std::wstring(L"    MAPI Profiles: none"),
             std::wstring(L"Findings"),
             std::wstring(
                 L"    The default mail client 'Native Mail Client' registers Simple MAPI only (DLLPath, no "
                 L"DLLPathEx or MSIComponentID), so programs that need full MAPI cannot use it. (R10)"),
             std::wstring(
                 L"        What to do: If a program that needs full MAPI (profiles, address books) must "
                 L"send mail, make a client that registers DLLPathEx, such as Outlook, the default."),
             std::wstring(L"Test completed at YYYY-MM-DD hh:mm:ss."),
         })
        lines.push_back(line);
    return lines;
}

std::wstring Lines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? L"\r\n" : L"") + lines[i];
    return text;
}

// Every "2009-03-05 09:07:02" in the text as "YYYY-MM-DD hh:mm:ss".
std::wstring MaskTimestamps(std::wstring text)
{
    const wchar_t pattern[] = L"dddd-dd-dd dd:dd:dd";
    const size_t length = sizeof(pattern) / sizeof(wchar_t) - 1;
    for (size_t at = 0; at + length <= text.size(); ++at)
    {
        bool matches = true;
        for (size_t i = 0; i < length && matches; ++i)
            matches = pattern[i] == L'd' ? std::iswdigit(text[at + i]) != 0 : text[at + i] == pattern[i];
        if (matches)
            text.replace(at, length, L"YYYY-MM-DD hh:mm:ss");
    }
    return text;
}

bool WaitForClipboard(const std::wstring& notThis, DWORD timeout)
{
    const DWORD start = ::GetTickCount();
    while (ClipboardText() == notThis)
    {
        if (::GetTickCount() - start > timeout)
            return false;
        ::Sleep(50);
    }
    return true;
}

// A process that the program started, as the system lists it.
struct ChildProcess
{
    DWORD id = 0;
    std::wstring image;
};

std::vector<ChildProcess> ChildrenOf(DWORD parent)
{
    std::vector<ChildProcess> children;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
    {
        if (entry.th32ParentProcessID == parent)
            children.push_back({entry.th32ProcessID, entry.szExeFile});
    }
    ::CloseHandle(snapshot);
    return children;
}

// The command line a process was started with, read from its own process parameters.
std::wstring CommandLineOf(HANDLE process)
{
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return L"";
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    SIZE_T done = 0;
    if (!::ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), &done) ||
        !::ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters), &done))
        return L"";
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!::ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(),
                             parameters.CommandLine.Length, &done))
        return L"";
    return text;
}

struct WindowSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindowOf(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !::IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A program that the one under test started; ended with the object, whatever the test found, so that
// it never outlives the test (it would hold on to the test's output).
class CStartedProgram
{
public:
    explicit CStartedProgram(DWORD id)
        : process_(::OpenProcess(
              PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)),
          id_(id)
    {}
    CStartedProgram(const CStartedProgram&) = delete;
    CStartedProgram& operator=(const CStartedProgram&) = delete;
    ~CStartedProgram()
    {
        if (!process_)
            return;
        if (HWND window = Window(5000))
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(process_, 1);
        ::CloseHandle(process_);
    }

    HANDLE Handle() const { return process_; }

    // Its first visible top-level window; null when none shows in time.
    HWND Window(DWORD timeout) const
    {
        const DWORD start = ::GetTickCount();
        for (;;)
        {
            WindowSearch search{id_, nullptr};
            ::EnumWindows(&FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
            if (search.found || ::GetTickCount() - start > timeout)
                return search.found;
            ::Sleep(50);
        }
    }

private:
    HANDLE process_;
    DWORD id_;
};

} // namespace

TEST_F(UiEventList, CtrlCCopiesTheSelectedRowAndCopyAllTheWholeListIndentedFourSpacesALevel)
{
    RunTest(kReports, true, false);
    const auto rows = ui.Rows();
    const int dllPath = FindRow(rows, L"DLLPath: ");
    ASSERT_NE(-1, dllPath) << Narrow(Describe(rows));

    // Another program's window taking the display's focus can take typed keys with it, and a key can
    // reach a menu before its loop runs; a person would try again.
    EmptyClipboardNow();
    bool copied = false;
    for (int attempt = 0; attempt < 3 && !copied; ++attempt)
    {
        ASSERT_TRUE(ui.ClickRow(dllPath));
        ASSERT_TRUE(ui.TypeCtrlC());
        copied = WaitForClipboard(L"", 5000);
    }
    ASSERT_TRUE(copied) << "Ctrl+C put nothing on the clipboard";
    EXPECT_EQ(L"            DLLPath: C:\\windows\\system32\\winemapi.dll", ClipboardText());

    const std::wstring before = ClipboardText();
    bool copiedAll = false;
    for (int attempt = 0; attempt < 3 && !copiedAll; ++attempt)
    {
        ASSERT_TRUE(ui.RightClickRow(0));
        HWND menu = CUiDriver::WaitForMenu(10000);
        ASSERT_NE(nullptr, menu) << "no context menu";
        CUiDriver::ChooseMenuItem(menu, 2); // Copy, Copy all
        copiedAll = WaitForClipboard(before, 5000);
        if (!copiedAll)
            ::PostMessageW(ui.Window(), WM_CANCELMODE, 0, 0);
    }
    ASSERT_TRUE(copiedAll) << "Copy all put nothing on the clipboard";
    EXPECT_EQ(Lines(VerboseRunText()), MaskTimestamps(ClipboardText()));
}

namespace {

// Web pages open with Notepad in this prefix (a copy of its own), for this test: a program that shows which
// file it was given.
class CPageProgram
{
public:
    CPageProgram()
    {
        CRegKey extension;
        CRegKey command;
        ::RegCreateKeyExW(HKEY_CLASSES_ROOT, L".html", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          extension.Put(), nullptr);
        ::RegCreateKeyExW(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          command.Put(), nullptr);
        Set(extension.Get(), kProgId);
        Set(command.Get(), L"\"C:\\windows\\system32\\notepad.exe\" \"%1\"");
    }
    CPageProgram(const CPageProgram&) = delete;
    CPageProgram& operator=(const CPageProgram&) = delete;
    ~CPageProgram()
    {
        ::SHDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
        ::SHDeleteKeyW(HKEY_CLASSES_ROOT, L"CorvaneTest.Page");
    }

private:
    static constexpr const wchar_t* kProgId = L"CorvaneTest.Page";
    static constexpr const wchar_t* kCommandKey = L"CorvaneTest.Page\\shell\\open\\command";
    static void Set(HKEY key, const std::wstring& text)
    {
        ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
};

// The one program the shell started for the window since it was last asked, and that program's command line.
std::vector<ChildProcess> WaitForChildren(DWORD parent)
{
    std::vector<ChildProcess> children;
    for (int i = 0; i < 200 && children.empty(); ++i)
    {
        ::Sleep(50);
        children = ChildrenOf(parent);
    }
    return children;
}

} // namespace

// Enter or a double-click on the report row opens the report's page with the program the user chose for
// web pages; the context menu's "Show in folder" has the shell show the report's folder. The shell, not
// Corvane, starts either (ShellExecute on the page's full path, SHOpenFolderAndSelectItems): nothing is
// looked for by name in the working directory. Windows' shell selects the report in the folder's window;
// Wine's opens the folder, from the System folder's explorer.exe.
TEST_F(UiEventList, TheReportRowOpensTheReportsPageAndShowInFolderItsFolder)
{
    const CPageProgram pages;
    RunTest(kReports, false, true);
    const auto rows = ui.Rows();
    const int reportRow = FindDriverRow(rows, L"Report saved to the Corvane.xml file.");
    ASSERT_NE(-1, reportRow) << Narrow(Describe(rows));

    // Any other row opens nothing.
    ASSERT_TRUE(ui.ClickRow(0, true));
    ::Sleep(1000);
    EXPECT_TRUE(ChildrenOf(ui.ProcessId()).empty()) << "a double-click on the first row started a program";

    {
        ASSERT_TRUE(ui.ClickRow(reportRow, true));
        const std::vector<ChildProcess> children = WaitForChildren(ui.ProcessId());
        std::vector<std::unique_ptr<CStartedProgram>> started;
        for (const ChildProcess& child : children)
            started.push_back(std::make_unique<CStartedProgram>(child.id));
        ASSERT_EQ(1u, children.size()) << "no program, or more than one, started";
        // A process just started may not have its command line in place yet.
        std::wstring commandLine;
        for (int i = 0; i < 100 && commandLine.empty(); ++i)
        {
            commandLine = CommandLineOf(started[0]->Handle());
            if (commandLine.empty())
                ::Sleep(50);
        }
        EXPECT_EQ(L"\"C:\\windows\\system32\\notepad.exe\" \"C:\\Reports\\Corvane.html\"", commandLine);
    }
    for (int i = 0; i < 100 && !ChildrenOf(ui.ProcessId()).empty(); ++i)
        ::Sleep(100);

    ASSERT_TRUE(ui.RightClickRow(reportRow));
    HWND menu = CUiDriver::WaitForMenu(10000);
    ASSERT_NE(nullptr, menu) << "no context menu";
    CUiDriver::ChooseLastMenuItem(menu); // Show in folder
    const std::vector<ChildProcess> children = WaitForChildren(ui.ProcessId());
    std::vector<std::unique_ptr<CStartedProgram>> started;
    for (const ChildProcess& child : children)
        started.push_back(std::make_unique<CStartedProgram>(child.id));
    ASSERT_EQ(1u, children.size()) << "no program, or more than one, started";
    const CStartedProgram& explorer = *started[0];
    ASSERT_NE(nullptr, explorer.Handle());
    EXPECT_EQ(L"explorer.exe", children[0].image);
    EXPECT_EQ(L"\"C:\\windows\\system32\\explorer.exe\" \"C:\\Reports\"", CommandLineOf(explorer.Handle()));

    // Explorer shows the report's folder.
    HWND window = explorer.Window(10000);
    ASSERT_NE(nullptr, window) << "Explorer showed no window";
    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(L"Reports", caption);
}
