#pragma once
// The resource counters of this process that a leak makes grow: kernel handles, USER and GDI objects,
// private bytes.

#include <windows.h>

#include <string>

namespace corvane::scale {

struct ProcessCounters
{
    DWORD handles = 0;
    DWORD userObjects = 0;
    DWORD gdiObjects = 0;
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
    SIZE_T peakWorkingSet = 0;
    bool handlesFromTable = false;   // handles counted by their values (Wine answers 0)
    bool privateFromRegions = false; // private bytes summed over the address space (Wine answers 0)
    bool userFromWindows = false;    // USER objects counted as this process's windows
    bool gdiFromHandles = false;     // GDI objects counted from the handle table
};

// The system's own counts where it answers them. Wine answers 0 for the handle count, the USER and GDI
// objects and the private bytes; there the handles are counted by their values, the USER objects as this
// process's windows, the GDI objects from the handle table and the private bytes from the address space.
ProcessCounters ReadProcessCounters();

std::string DescribeCounters(const ProcessCounters& counters);

} // namespace corvane::scale
