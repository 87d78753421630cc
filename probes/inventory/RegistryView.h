#pragma once
// The registry views that this program can read. On 64-bit Windows the system keeps some keys of
// HKLM\SOFTWARE twice, once for 64-bit and once for 32-bit programs (WOW64), and shows each program its
// own; KEY_WOW64_64KEY and KEY_WOW64_32KEY open a key in a named view instead. 32-bit Windows has one
// view only, and Windows 2000 knows neither flag.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

#include <optional>

namespace corvane {

struct RegistryView
{
    Bitness bitness; // the programs whose view it is
    REGSAM access;   // what opens a key in it: 0 for this program's own view
};

struct RegistryViews
{
    RegistryView own;
    std::optional<RegistryView> other; // 64-bit Windows only
};

// True when this is a 32-bit program on 64-bit Windows. IsWow64Process is looked up at run time: Windows
// XP before SP2 and Windows 2000 lack it, and run no 64-bit code.
bool RunsUnderWow64();

// The views of this program, as the Windows it runs on has them.
RegistryViews ThisProgramRegistryViews();

// The view that 64-bit programs see: this program's own for a 64-bit program, the other one for a 32-bit
// program on 64-bit Windows, and none on 32-bit Windows.
std::optional<RegistryView> SixtyFourBitView(const RegistryViews& views);

} // namespace corvane
