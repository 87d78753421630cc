/* A stand-in MAPI stub library for the soak: FGetComponentPath answers with a fixed path. It is built
   without any runtime library (no C runtime, no thread library), so that loading and freeing it once per
   run leaves nothing behind in the process: whatever the soak counts grows by Corvane alone. */
#include <windows.h>

BOOL WINAPI SoakMapiEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

BOOL WINAPI FGetComponentPath(LPSTR component, LPSTR qualifier, LPSTR path, DWORD size, BOOL install)
{
    static const char answer[] = "C:\\Soak\\MSMAPI32.DLL";
    (void)component;
    (void)qualifier;
    (void)install;
    if (!path || size < sizeof(answer))
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    lstrcpynA(path, answer, (int)size);
    return TRUE;
}
