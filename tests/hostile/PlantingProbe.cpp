// Loads "MAPISTUB.DLL" by its bare name, as the MAPI probe does, in a process that keeps the system's
// default library search path, and prints the path of the library that was loaded. The planting check
// starts it in the planted folder to show that the plant would be taken there.
#include <windows.h>

#include <cstdio>

int wmain()
{
    HMODULE library = ::LoadLibraryW(L"MAPISTUB.DLL");
    if (!library)
    {
        std::printf("not loaded: %lu\n", ::GetLastError());
        return 1;
    }
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(library, path, MAX_PATH);
    std::printf("%ls\n", path);
    ::FreeLibrary(library);
    return 0;
}
