#pragma once
// The test run driver: the procedure that the worker thread runs for one press of Execute.

#include "engine/RunResult.h"

#include <windows.h>

namespace corvane {

// Runs one test on the engine (a CReportData) and returns the run result as the thread's exit code.
// Every path, an exception included, ends in the end phase that returns the dialog to idle.
UINT TestThreadProc(void* engine);

} // namespace corvane
