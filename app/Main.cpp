// The process entry point and the one application object.
#include "app/Application.h"
#include "app/CommandLineRun.h"
#include "framework/SystemLibrary.h"
#include "probes/mail/ComponentPathChild.h"

#include <windows.h>

namespace {
corvane::CApplication theApplication;

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the headers name only for newer Windows than the program needs.
constexpr DWORD kSearchSystemFolderOnly = 0x00000800;

// Every library the program loads by itself is named by its full path. What Windows and the libraries
// it uses load later by bare name must not come from the folder Corvane was started from nor from its
// own folder (a Downloads folder, a share), where anyone may have left a DLL that would run with the
// user's rights.
void HardenLibrarySearch()
{
    // The DLL directory takes the working directory's place in the search order of every Windows; the
    // System folder rather than an empty one, which Windows takes as "no working directory" but Wine as
    // "nothing set".
    const std::wstring systemFolder = corvane::SystemFolder();
    if (!systemFolder.empty())
        ::SetDllDirectoryW(systemFolder.c_str());

    // Where the system has it (Windows 8 and later; Vista and 7 with update KB2533623), bare names are
    // looked for in the System folder alone: the application folder leaves the search too.
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDirectories =
        corvane::GetKernelProcAs<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    if (setDefaultDirectories)
        setDefaultDirectories(kSearchSystemFolderOnly);
}
} // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    // A module with a missing dependency or an empty removable drive fails its call instead of showing
    // a system-modal box that would hold the worker until someone answers it.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HardenLibrarySearch();
    const std::vector<std::wstring> arguments = corvane::CommandLineArguments();
    // The program's own child, which asks one MAPI library (ComponentPathChild.h), after the same
    // start-up: no usage text offers its argument.
    if (arguments.size() == 1 && arguments.front() == corvane::kComponentPathChildArgument)
        return corvane::ServeComponentPathQuery();
    const corvane::CommandLineOptions options = corvane::ParseCommandLine(arguments);
    if (options.action != corvane::CommandLineAction::OpenWindow)
        return corvane::RunFromCommandLine(options);
    return theApplication.Run();
}
