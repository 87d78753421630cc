#pragma once
// The test run driver: the procedure that the worker thread runs for one press of Execute.

#include <windows.h>

namespace corvane {

// Run results: 0 completed, 1 aborted by the user, -1 report failure, -2 to -10 the probe that failed.
enum RunResult : int
{
    RunCompleted = 0,
    RunAborted = 1,
    RunReportFailed = -1,
};

// Runs one test on the engine (a CReportData) and returns the run result as the thread's exit code.
// Every path, an exception included, ends in the end phase that returns the dialog to idle.
UINT TestThreadProc(void* engine);

} // namespace corvane
