#include "framework/WinApp.h"

#include "framework/PathText.h"

namespace corvane {

namespace {
CWinApp* g_application = nullptr;

std::wstring ExecutableBaseName()
{
    std::wstring name;
    QueryProgramPath(name); // without a path, no name
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

int CWinApp::MessageBox(HWND owner, const std::wstring& text, UINT type) const
{
    return ::MessageBoxW(owner, text.c_str(), name_.c_str(), type);
}

} // namespace corvane
