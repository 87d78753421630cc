#include "tests/hostile/RunHarness.h"

#include "engine/TestThreadProc.h"
#include "framework/UniqueHandle.h"
#include "framework/WorkerThread.h"
#include "tests/support/Deadline.h"

#include <cstdio>
#include <cstring>

namespace corvane::scale {

namespace {

char g_crashLabel[512] = "";
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "\nCRASH (exception 0x%08lX at %p) while: %s\n",
                 exception ? exception->ExceptionRecord->ExceptionCode : 0UL,
                 exception ? exception->ExceptionRecord->ExceptionAddress : nullptr, g_crashLabel);
    std::fflush(stderr);
    std::fflush(stdout);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

double NowSeconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

CRunHarness::CRunHarness()
{
    engine_.AttachSink(&window_.Sink());
}

RunOutcome CRunHarness::Run(const RunOptions& options)
{
    RunOutcome outcome;
    engine_.verbose = options.verbose ? TRUE : FALSE;
    engine_.saveReport = options.saveReport ? TRUE : FALSE;
    if (!options.outputFolder.empty())
        engine_.outputFolder = options.outputFolder;
    engine_.stopEvent.ResetEvent();

    const double start = NowSeconds();
    CKernelHandle finished;
    {
        CScopedLock lock(engine_);
        CWorkerThread* worker = CWorkerThread::CreateSuspended(&TestThreadProc, &engine_);
        if (!worker)
            return outcome;
        HANDLE copy = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), worker->Handle(), ::GetCurrentProcess(), &copy,
                          SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0);
        finished.Reset(copy);
        engine_.SetRunning(worker);
        worker->Resume();
    }
    if (!finished)
        return outcome;

    const test::CDeadline deadline(options.timeoutMs);
    HANDLE handles[] = {finished.Get()};
    for (;;)
    {
        const DWORD remaining = deadline.Remaining();
        if (remaining == 0)
            break;
        const DWORD wait = ::MsgWaitForMultipleObjects(1, handles, FALSE, remaining, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0)
        {
            DWORD code = 0;
            ::GetExitCodeThread(finished.Get(), &code);
            outcome.ended = true;
            outcome.result = static_cast<int>(code);
            break;
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    outcome.milliseconds = (NowSeconds() - start) * 1000.0;
    // What the end of the run left for this thread (the list's last paint) is handled before the caller
    // looks at the window.
    test::CTestWindow::PumpMessages();
    return outcome;
}

CCrashLabel::CCrashLabel()
{
    g_previousFilter = ::SetUnhandledExceptionFilter(&ReportCrash);
}

CCrashLabel::~CCrashLabel()
{
    ::SetUnhandledExceptionFilter(g_previousFilter);
}

void CCrashLabel::Set(const std::string& label)
{
    std::strncpy(g_crashLabel, label.c_str(), sizeof(g_crashLabel) - 1);
    g_crashLabel[sizeof(g_crashLabel) - 1] = '\0';
}

} // namespace corvane::scale
