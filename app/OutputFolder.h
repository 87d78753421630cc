#pragma once
// The output folder of a run started from the command line: its variables expanded by Corvane itself
// and the folder made, missing parents included, before the run begins.

#include <windows.h>

#include <string>

namespace corvane {

// Expands given (%COMPUTERNAME%, %USERNAME% and any other variable of the environment), resolves it
// against the working directory and makes every folder of it that is missing. folder receives the
// expanded, full path, on failure too, so that a message can name it. A variable that is not set fails
// with HRESULT_FROM_WIN32(ERROR_ENVVAR_NOT_FOUND) before anything is made; when one folder cannot be
// made, those made before it are removed again, so that a failure leaves the disk as it was.
HRESULT MakeOutputFolder(const std::wstring& given, std::wstring& folder);

} // namespace corvane
