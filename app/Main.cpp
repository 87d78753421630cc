// The process entry point and the one application object.
#include "app/Application.h"

#include <windows.h>

#include <cwchar>

namespace {
corvane::CApplication theApplication;

// The MAPI libraries are loaded by their bare names, so that the system's search order finds them. The
// working directory leaves that order before anything is loaded: a library planted there is never
// taken, while the application folder and the System folder keep their places. The DLL directory takes
// the working directory's place; it is the application folder rather than an empty one, which Windows
// takes as "no working directory" but Wine as "nothing set".
void RemoveWorkingDirectoryFromLibrarySearch()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* lastBackslash = length > 0 && length < MAX_PATH ? std::wcsrchr(path, L'\\') : nullptr;
    if (lastBackslash)
        *lastBackslash = L'\0';
    else
        path[0] = L'\0';
    ::SetDllDirectoryW(path);
}
} // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    RemoveWorkingDirectoryFromLibrarySearch();
    return theApplication.Run();
}
