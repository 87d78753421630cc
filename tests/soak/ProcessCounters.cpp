#include "tests/soak/ProcessCounters.h"

#include <psapi.h>

#include <cstdio>

namespace corvane::scale {

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId())
    {
        ++*reinterpret_cast<DWORD*>(count);
        ::EnumChildWindows(window, &CountChild, count);
    }
    return TRUE;
}

DWORD CountWindows()
{
    DWORD count = 0;
    ::EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Every GDI handle of this process: a handle whose upper half is zero names its table slot whatever its
// generation, so each slot is looked at once.
DWORD CountGdiHandles()
{
    DWORD count = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
    {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++count;
    }
    return count;
}

// Every open kernel handle of this process, found by asking for each handle value's flags: handle values
// are multiples of four, handed out lowest first, so the search ends after a long run of free values.
DWORD CountKernelHandles()
{
    DWORD count = 0;
    UINT_PTR lastOpen = 0;
    for (UINT_PTR value = 4; value < 0x100000 && value < lastOpen + 0x4000; value += 4)
    {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
        {
            ++count;
            lastOpen = value;
        }
        if (lastOpen == 0 && value > 0x4000)
            break;
    }
    return count;
}

// Committed memory that belongs to this process alone: what "private bytes" counts.
SIZE_T CountPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const BYTE* address = nullptr; ::VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
         address = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize)
    {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        if (region.RegionSize == 0)
            break;
    }
    return total;
}

} // namespace

ProcessCounters ReadProcessCounters()
{
    ProcessCounters counters;
    HANDLE process = ::GetCurrentProcess();
    ::GetProcessHandleCount(process, &counters.handles);
    if (counters.handles == 0)
    {
        counters.handles = CountKernelHandles();
        counters.handlesFromTable = true;
    }
    counters.userObjects = ::GetGuiResources(process, GR_USEROBJECTS);
    counters.gdiObjects = ::GetGuiResources(process, GR_GDIOBJECTS);
    if (counters.userObjects == 0)
    {
        counters.userObjects = CountWindows();
        counters.userFromWindows = true;
    }
    if (counters.gdiObjects == 0)
    {
        counters.gdiObjects = CountGdiHandles();
        counters.gdiFromHandles = true;
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)))
    {
        counters.privateBytes = memory.PrivateUsage;
        counters.workingSet = memory.WorkingSetSize;
        counters.peakWorkingSet = memory.PeakWorkingSetSize;
    }
    if (counters.privateBytes == 0)
    {
        counters.privateBytes = CountPrivateBytes();
        counters.privateFromRegions = true;
    }
    return counters;
}

std::string DescribeCounters(const ProcessCounters& counters)
{
    char text[256];
    std::snprintf(
        text, sizeof text, "handles %lu, USER %lu%s, GDI %lu%s, private %.1f MB, working set %.1f MB",
        static_cast<unsigned long>(counters.handles), static_cast<unsigned long>(counters.userObjects),
        counters.userFromWindows ? " (windows)" : "", static_cast<unsigned long>(counters.gdiObjects),
        counters.gdiFromHandles ? " (handle table)" : "",
        static_cast<double>(counters.privateBytes) / 1048576.0,
        static_cast<double>(counters.workingSet) / 1048576.0);
    return text;
}

} // namespace corvane::scale
