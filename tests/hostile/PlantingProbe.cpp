// Loads "MAPISTUB.DLL" by its bare name, as the MAPI probe does, in a process that keeps the system's
// default library search path, and writes the path of the library that was loaded to the file named by
// its argument. The planting check starts it in the planted folder to show that the plant would be taken
// there. It writes the file itself rather than through a shell's redirection, so that an empty answer can
// only mean that the probe never ran to its end.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    FILE* output = ::_wfopen(argv[1], L"wb");
    if (!output)
        return 3;
    HMODULE library = ::LoadLibraryW(L"MAPISTUB.DLL");
    if (!library)
    {
        std::fprintf(output, "not loaded: %lu\n", ::GetLastError());
        std::fclose(output);
        return 1;
    }
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(library, path, MAX_PATH);
    std::fprintf(output, "%ls\n", path);
    ::FreeLibrary(library);
    return std::fclose(output) == 0 ? 0 : 4;
}
