#include "app/CommandLineRun.h"

#include "app/ConsoleOutput.h"
#include "engine/EventRecorder.h"
#include "engine/OutputFolder.h"
#include "engine/ReportData.h"
#include "engine/TestThreadProc.h"
#include "framework/StringTable.h"
#include "framework/WinApp.h"
#include "framework/WorkerThread.h"
#include "res/resource.h"

namespace corvane {

namespace {

const wchar_t kLineEnd[] = L"\r\n";

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
    CReportData engine; // the dialog's defaults: verbose, report, the program's folder
    engine.verbose = options.verbose;
    engine.saveReport = options.saveReport;
    if (options.saveReport && !options.outputFolder.empty())
    {
        std::wstring folder = ExpandOutputFolder(options.outputFolder);
        if (const UINT problem = OutputFolderUsageProblem(folder))
        {
            ShowUsage(console, FormatResourceString(problem, folder.c_str()));
            return RunUsageError;
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

    // The rows are kept as text, with no window; they are printed as "Copy all" puts them on the
    // clipboard, once the run has given each its final text.
    CEventRecorder rows;
    engine.AttachSink(&rows);
    UINT result = 0;
    const HRESULT started = RunOnThreadAndWait(&TestThreadProc, &engine, result);
    engine.AttachSink(nullptr);
    if (FAILED(started))
    {
        console.Write(LoadResourceString(IDS_THREAD_FAILED) + kLineEnd);
        return RunReportFailed;
    }
    const std::wstring text = rows.Text();
    if (!text.empty())
        console.Write(text + kLineEnd);
    return static_cast<int>(result);
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
            return RunUsageError;
        }
    }
    catch (...)
    {
        // Out of memory for a text: the caller still gets an exit code that says no report came of it.
        return RunReportFailed;
    }
}

} // namespace corvane
