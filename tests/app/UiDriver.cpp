#include "tests/app/UiDriver.h"

#include "res/resource.h"
#include "tests/support/Deadline.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cstdio>

namespace corvane::uitest {

namespace {

constexpr DWORD kAnswerTimeout = 10000;

struct FindContext
{
    DWORD processId;
    HWND owner;
    HWND found;
};

bool HasClass(HWND window, const wchar_t* name)
{
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    return ::lstrcmpW(className, name) == 0;
}

BOOL CALLBACK FindMain(HWND window, LPARAM parameter)
{
    auto* context = reinterpret_cast<FindContext*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != context->processId || !HasClass(window, L"#32770"))
        return TRUE;
    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    if (::lstrcmpW(caption, L"Corvane") != 0 || ::GetWindow(window, GW_OWNER))
        return TRUE;
    context->found = window;
    return FALSE;
}

BOOL CALLBACK FindOwned(HWND window, LPARAM parameter)
{
    auto* context = reinterpret_cast<FindContext*>(parameter);
    if (window == context->owner || !::IsWindowVisible(window) || !HasClass(window, L"#32770"))
        return TRUE;
    if (::GetWindow(window, GW_OWNER) != context->owner)
        return TRUE;
    context->found = window;
    return FALSE;
}

// Memory in the other process, freed with the object.
class CRemoteBuffer
{
public:
    CRemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))
    {}
    CRemoteBuffer(const CRemoteBuffer&) = delete;
    CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;
    ~CRemoteBuffer()
    {
        if (address_)
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    void* Get() const { return address_; }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }

private:
    HANDLE process_;
    void* address_;
};

void PostKey(HWND window, WORD key)
{
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

CUiDriver::~CUiDriver()
{
    if (process_.hProcess)
    {
        if (!HasExited())
        {
            ::TerminateProcess(process_.hProcess, 1);
            ::WaitForSingleObject(process_.hProcess, 5000);
        }
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }
}

bool CUiDriver::Start(const std::wstring& executable)
{
    std::wstring path = executable.empty() ? CorvaneExecutable() : executable;
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_))
        return false;
    processId_ = process_.dwProcessId;
    ::WaitForInputIdle(process_.hProcess, 20000);
    for (int i = 0; i < 400 && !window_; ++i)
    {
        window_ = FindMainWindow();
        if (!window_)
            ::Sleep(50);
    }
    // Initialisation ends before the window shows; once it answers, it is set up.
    return window_ && Responds();
}

HWND CUiDriver::FindMainWindow() const
{
    FindContext context{processId_, nullptr, nullptr};
    ::EnumWindows(&FindMain, reinterpret_cast<LPARAM>(&context));
    return context.found && ::IsWindowVisible(context.found) ? context.found : nullptr;
}

bool CUiDriver::HasExited(DWORD timeout) const
{
    return !process_.hProcess || ::WaitForSingleObject(process_.hProcess, timeout) == WAIT_OBJECT_0;
}

bool CUiDriver::Click(int id)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result) != 0;
}

void CUiDriver::ClickWithoutWaiting(int id)
{
    ::PostMessageW(Control(id), BM_CLICK, 0, 0);
}

bool CUiDriver::IsChecked(int id) const
{
    return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CUiDriver::SetChecked(int id, bool checked)
{
    if (IsChecked(id) != checked)
        Click(id);
}

std::wstring CUiDriver::Text(int id) const
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(Control(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                          kAnswerTimeout, &copied);
    return std::wstring(text, copied < 1024 ? copied : 0);
}

void CUiDriver::Type(int id, const std::wstring& text)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                          kAnswerTimeout, &result);
}

void CUiDriver::PressKey(int id, WORD virtualKey)
{
    // The dialog manager handles Enter and Esc in its message loop, so they are posted like input.
    PostKey(Control(id), virtualKey);
}

bool CUiDriver::Responds(DWORD timeout) const
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &result) != 0;
}

int CUiDriver::RowCount() const
{
    DWORD_PTR count = 0;
    ::SendMessageTimeoutW(Control(IDC_EVENT_LIST), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kAnswerTimeout,
                          &count);
    return static_cast<int>(count);
}

EventRow CUiDriver::Row(int index) const
{
    constexpr SIZE_T kTextChars = 1024;
    EventRow row{L"", -1, -1};
    if (index < 0)
        return row;
    CRemoteBuffer remote(process_.hProcess, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    if (!remote.Get())
        return row;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
    item.iItem = index;
    item.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
    item.cchTextMax = kTextChars;
    SIZE_T done = 0;
    ::WriteProcessMemory(process_.hProcess, remote.Get(), &item, sizeof(item), &done);
    DWORD_PTR ok = 0;
    ::SendMessageTimeoutW(Control(IDC_EVENT_LIST), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Get()),
                          SMTO_NORMAL, kAnswerTimeout, &ok);
    if (!ok)
        return row;
    wchar_t text[kTextChars] = {};
    ::ReadProcessMemory(process_.hProcess, remote.Get(), &item, sizeof(item), &done);
    ::ReadProcessMemory(process_.hProcess, remote.At(sizeof(LVITEMW)), text, sizeof(text), &done);
    text[kTextChars - 1] = L'\0';
    return {text, item.iImage, item.iIndent};
}

bool CUiDriver::RowRect(int index, RECT& rect) const
{
    CRemoteBuffer remote(process_.hProcess, sizeof(RECT));
    if (!remote.Get())
        return false;
    rect = {LVIR_LABEL, 0, 0, 0};
    SIZE_T done = 0;
    ::WriteProcessMemory(process_.hProcess, remote.Get(), &rect, sizeof(rect), &done);
    DWORD_PTR ok = 0;
    ::SendMessageTimeoutW(Control(IDC_EVENT_LIST), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE,
                          SMTO_NORMAL, kAnswerTimeout, &ok);
    ::SendMessageTimeoutW(Control(IDC_EVENT_LIST), LVM_GETITEMRECT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(remote.Get()), SMTO_NORMAL, kAnswerTimeout, &ok);
    ::ReadProcessMemory(process_.hProcess, remote.Get(), &rect, sizeof(rect), &done);
    return ok && rect.bottom > rect.top;
}

bool CUiDriver::ClickRow(int index, bool twice)
{
    RECT rect{};
    if (!RowRect(index, rect))
        return false;
    HWND list = Control(IDC_EVENT_LIST);
    const LPARAM at = MAKELPARAM(rect.left + 8, (rect.top + rect.bottom) / 2);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice)
    {
        ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
    }
    return Responds();
}

bool CUiDriver::RightClickRow(int index)
{
    RECT rect{};
    if (!RowRect(index, rect))
        return false;
    HWND list = Control(IDC_EVENT_LIST);
    POINT point{rect.left + 8, (rect.top + rect.bottom) / 2};
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::MapWindowPoints(list, nullptr, &point, 1);
    ::SetCursorPos(point.x, point.y);
    ::PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    ::PostMessageW(list, WM_RBUTTONUP, 0, at);
    return true;
}

bool CUiDriver::TypeCtrlC()
{
    // Ctrl must be down for the program as it reads the C, which only real keyboard input arranges.
    ::SetForegroundWindow(window_);
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
    for (int i = 0; i < 4; ++i)
    {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    return ::SendInput(4, keys, sizeof(INPUT)) == 4 && Responds();
}

std::vector<EventRow> CUiDriver::Rows() const
{
    std::vector<EventRow> rows;
    const int count = RowCount();
    for (int i = 0; i < count; ++i)
    {
        EventRow row = Row(i);
        if (row.icon < 0)
            break;
        rows.push_back(std::move(row));
    }
    return rows;
}

bool CUiDriver::WaitUntilIdle(DWORD timeout)
{
    return WaitUntil([](const CUiDriver& ui) { return ui.IsIdle(); }, timeout);
}

bool CUiDriver::WaitUntil(bool (*condition)(const CUiDriver&), DWORD timeout) const
{
    const test::CDeadline end(timeout);
    while (!condition(*this))
    {
        if (end.Passed())
            return false;
        ::Sleep(20);
    }
    return true;
}

HWND CUiDriver::WaitForOwnedDialog(DWORD timeout) const
{
    const test::CDeadline end(timeout);
    for (;;)
    {
        FindContext context{processId_, window_, nullptr};
        ::EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&context));
        if (context.found)
            return context.found;
        if (end.Passed())
            return nullptr;
        ::Sleep(20);
    }
}

std::wstring CUiDriver::MessageText(HWND box)
{
    // A message box's text is its static control 0xFFFF.
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(::GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                          SMTO_NORMAL, kAnswerTimeout, &copied);
    return std::wstring(text, copied < 1024 ? copied : 0);
}

void CUiDriver::PressOk(HWND box)
{
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

bool CUiDriver::ChooseLastSystemMenuItem()
{
    ::PostMessageW(window_, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    HWND menu = WaitForMenu(5000);
    if (!menu)
        return false;
    ChooseLastMenuItem(menu);
    return true;
}

HWND CUiDriver::WaitForMenu(DWORD timeout)
{
    const DWORD start = ::GetTickCount();
    for (;;)
    {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (menu && ::IsWindowVisible(menu))
            return menu;
        if (::GetTickCount() - start > timeout)
            return nullptr;
        ::Sleep(20);
    }
}

void CUiDriver::ChooseLastMenuItem(HWND menu)
{
    // The menu's own loop reads the keys from the program's queue; it is given time to start.
    ::Sleep(300);
    for (WORD key : {static_cast<WORD>(VK_UP), static_cast<WORD>(VK_RETURN)})
    {
        PostKey(menu, key);
        ::Sleep(250);
    }
}

void CUiDriver::ChooseMenuItem(HWND menu, int downs)
{
    ::Sleep(300);
    for (int i = 0; i < downs; ++i)
    {
        PostKey(menu, VK_DOWN);
        ::Sleep(250);
    }
    PostKey(menu, VK_RETURN);
    ::Sleep(250);
}

void CUiDriver::RequestClose()
{
    ::PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool CUiDriver::Close()
{
    RequestClose();
    return HasExited(15000);
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT))
    {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data)))
        {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void EmptyClipboardNow()
{
    if (::OpenClipboard(nullptr))
    {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

std::wstring CorvaneExecutable()
{
    // The build folder is a Unix path; Wine shows the Unix root as drive Z:.
    std::wstring path = L"Z:";
    for (const char* c = CORVANE_BINARY_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    // The build makes the program of its own bitness: Corvane.exe, or Corvane64.exe for x64.
    constexpr const wchar_t* kProgram = sizeof(void*) == 8 ? L"\\Corvane64.exe" : L"\\Corvane.exe";
    return path + kProgram;
}

SIZE TemplateWindowSize()
{
    ::InitCommonControls();
    HWND dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(102), nullptr,
                                       &InertDialogProc, 0);
    SIZE size{};
    if (dialog)
    {
        RECT rect{};
        ::GetWindowRect(dialog, &rect);
        size = {rect.right - rect.left, rect.bottom - rect.top};
        ::DestroyWindow(dialog);
    }
    return size;
}

bool SetRegistryString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = ::RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                         static_cast<DWORD>((::lstrlenW(value) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

bool DeleteRegistryTree(HKEY root, const wchar_t* key)
{
    const LONG status = ::SHDeleteKeyW(root, key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFile(const std::wstring& path)
{
    std::string content;
    if (FILE* file = ::_wfopen(path.c_str(), L"rb"))
    {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
            content.append(buffer, got);
        std::fclose(file);
    }
    return content;
}

bool DeleteFileIfThere(const std::wstring& path)
{
    return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

} // namespace corvane::uitest
