#pragma once
// Whole runs in this process, as the dialog makes them: the real driver on a worker thread started the way
// Execute starts it, the real probes and the real display operations on a visible window whose thread
// keeps handling messages until the worker has ended.

#include "engine/ReportData.h"
#include "tests/app/TestWindow.h"

#include <string>
#include <vector>

namespace corvane::scale {

struct RunOptions
{
    bool verbose = false;
    bool saveReport = true;
    std::wstring outputFolder;
    DWORD timeoutMs = 120000;
};

struct RunOutcome
{
    bool ended = false; // the worker ended within the time allowed
    int result = 0;     // the run result: the worker's exit code
    double milliseconds = 0;
};

// Seconds on a steady clock, for timing.
double NowSeconds();

class CRunHarness
{
public:
    CRunHarness();
    CRunHarness(const CRunHarness&) = delete;
    CRunHarness& operator=(const CRunHarness&) = delete;

    // One run: the options into the engine, the worker created suspended, the engine marked running
    // under its lock, the worker resumed; then this thread handles messages until the worker has ended
    // or the time is up. A run that does not end leaves its worker behind: the caller must stop there.
    RunOutcome Run(const RunOptions& options);

    test::CTestWindow& Window() { return window_; }
    CReportData& Engine() { return engine_; }
    std::vector<test::EventRow> Rows() const { return window_.Rows(); }

private:
    test::CTestWindow window_;
    CReportData engine_;
};

// While one is alive, a crash of this process prints what the process was doing (the label) before it
// ends, so that a failing case can be replayed.
class CCrashLabel
{
public:
    CCrashLabel();
    CCrashLabel(const CCrashLabel&) = delete;
    CCrashLabel& operator=(const CCrashLabel&) = delete;
    ~CCrashLabel();

    static void Set(const std::string& label);
};

} // namespace corvane::scale
