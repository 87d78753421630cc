#include "framework/WinApp.h"

namespace corvane {

namespace {
CWinApp* g_application = nullptr;

std::wstring ExecutableBaseName()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : 0);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}
} // namespace

CWinApp::CWinApp() : name_(ExecutableBaseName())
{
    g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

CWinApp* CWinApp::Current()
{
    return g_application;
}

HINSTANCE CWinApp::ResourceModule()
{
    return ::GetModuleHandleW(nullptr);
}

int CWinApp::Run()
{
    if (!InitInstance())
        return ExitInstance();
    MSG message;
    BOOL got;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0 && got != -1)
    {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    exitCode_ = got == 0 ? static_cast<int>(message.wParam) : -1;
    return ExitInstance();
}

bool CWinApp::OnCommand(UINT id)
{
    for (const CommandEntry& entry : CommandMap())
    {
        if (entry.id == id)
        {
            (this->*entry.handler)();
            return true;
        }
    }
    return false;
}

int CWinApp::MessageBox(HWND owner, const std::wstring& text, UINT type) const
{
    return ::MessageBoxW(owner, text.c_str(), name_.c_str(), type);
}

} // namespace corvane
