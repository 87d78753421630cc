#pragma once
// The bitness of an executable file, from the machine field of its PE header.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

namespace corvane {

// Reads the file's headers only (nothing is loaded): IMAGE_FILE_MACHINE_I386 is 32-bit, AMD64 64-bit.
// Fails with the file's error, or with HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT) for a file that is no PE
// image of either machine; bitness is left unchanged then.
HRESULT ReadExecutableBitness(const wchar_t* path, Bitness& bitness);

} // namespace corvane
