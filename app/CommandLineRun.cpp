#include "app/CommandLineRun.h"

#include "app/ConsoleOutput.h"
#include "app/EventListText.h"
#include "app/HiddenEventList.h"
#include "app/OutputFolder.h"
#include "engine/ReportData.h"
#include "engine/StringTable.h"
#include "engine/TestThreadProc.h"
#include "framework/WinApp.h"
#include "res/resource.h"

#include <commctrl.h>
#include <process.h>

namespace corvane {

namespace {

const wchar_t kLineEnd[] = L"\r\n";

unsigned __stdcall TestThreadEntry(void* engine)
{
    return TestThreadProc(engine);
}

// The run on a worker thread, as Execute starts it. A thread of its own rather than a CWorkerThread,
// which frees itself when it ends: this one is waited for and its exit code, the run result, read. While
// waiting, this thread handles what the worker sends to the list it owns.
int RunOnWorker(CReportData& engine, const CConsoleOutput& console)
{
    unsigned threadId = 0;
    CKernelHandle thread(
        reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &TestThreadEntry, &engine, 0, &threadId)));
    if (!thread)
    {
        console.Write(LoadResourceString(IDS_THREAD_FAILED) + kLineEnd);
        return RunReportFailed;
    }
    // Only the worker's end lets this go on: the engine and the list must outlive it.
    HANDLE handle = thread.Get();
    for (;;)
    {
        const DWORD wake = ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_SENDMESSAGE, 0);
        if (wake == WAIT_OBJECT_0)
            break;
        if (wake == WAIT_FAILED)
            ::Sleep(10);
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    DWORD result = 0;
    if (!::GetExitCodeThread(handle, &result))
        return RunReportFailed;
    return static_cast<int>(result);
}

void ShowUsage(const CConsoleOutput& console, const std::wstring& problem)
{
    const std::wstring usage = LoadResourceString(IDS_USAGE);
    if (console.IsAvailable())
    {
        console.Write(problem.empty() ? usage + kLineEnd : problem + kLineEnd + kLineEnd + usage + kLineEnd);
        return;
    }
    // Asked for by someone at the screen. A mistaken command line with nowhere to print is left to its
    // exit code: a box would hold a scheduled task until someone came to answer it.
    if (problem.empty() && CWinApp::Current())
        CWinApp::Current()->MessageBox(nullptr, usage, MB_ICONINFORMATION);
}

int RunUnattended(const CommandLineOptions& options, const CConsoleOutput& console)
{
    ::InitCommonControls();
    CReportData engine; // the dialog's defaults: verbose, report, the program's folder
    engine.verbose = options.verbose;
    engine.saveReport = options.saveReport;
    if (options.saveReport && !options.outputFolder.empty())
    {
        std::wstring folder = ExpandOutputFolder(options.outputFolder);
        if (const UINT problem = OutputFolderUsageProblem(folder))
        {
            ShowUsage(console, FormatResourceString(problem, folder.c_str()));
            return ExitUsageError;
        }
        const HRESULT hr = MakeOutputFolder(options.outputFolder, folder);
        if (hr == kOutputFolderNotOwn)
        {
            console.Write(FormatResourceString(IDS_OUTPUT_FOLDER_NOT_OWN, folder.c_str()) + kLineEnd);
            return RunReportFailed;
        }
        if (FAILED(hr))
        {
            console.Write(
                FormatResourceString(IDS_OUTPUT_FOLDER_FAILED, folder.c_str(), static_cast<unsigned>(hr)) +
                kLineEnd);
            return RunReportFailed;
        }
        engine.outputFolder = folder;
    }

    CHiddenEventList list;
    engine.AttachDialog(list.Holder());
    const int result = RunOnWorker(engine, console);
    // The rows as "Copy all" puts them on the clipboard, once the run has given each its final text; the
    // engine keeps them, so they are read before it lets the list go.
    const std::wstring rows = EventListText(list.List(), false);
    engine.AttachDialog(nullptr);
    if (!rows.empty())
        console.Write(rows + kLineEnd);
    return result;
}

} // namespace

int RunFromCommandLine(const CommandLineOptions& options)
{
    try
    {
        const CConsoleOutput console;
        switch (options.action)
        {
        case CommandLineAction::Run:
            return RunUnattended(options, console);
        case CommandLineAction::ShowUsage:
            ShowUsage(console, std::wstring());
            return 0;
        case CommandLineAction::UsageError:
        default: // OpenWindow is no command line's business
            ShowUsage(console, FormatResourceString(options.problem, options.problemArgument.c_str()));
            return ExitUsageError;
        }
    }
    catch (...)
    {
        // Out of memory for a text: the caller still gets an exit code that says no report came of it.
        return RunReportFailed;
    }
}

} // namespace corvane
