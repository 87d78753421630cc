#pragma once
// What a run ends with: the worker's exit code, and /run's exit code. README.md's table of exit codes is
// made from the comments here (tests/e2e/check-exit-codes.sh compares them).

namespace corvane {

enum RunResult : int
{
    RunCompleted = 0,                  // the test completed
    RunAborted = 1,                    // the test was stopped (only from the window's Stop)
    RunReportFailed = -1,              // no report could be saved, or the output folder could not be made
    RunSystemVersionFailed = -2,       // the system version step failed; the report is still saved
    RunSystemFoldersFailed = -3,       // the system folders step failed; the report is still saved
    RunMailClientsFailed = -4,         // the mail clients step failed; the report is still saved
    RunOutlookLanguageKeysFailed = -5, // the Outlook language keys step failed; the report is still saved
    RunMessagingSubsystemFailed =
        -6,                    // the Windows Messaging Subsystem step failed; the report is still saved
    RunMapiModulesFailed = -7, // the MAPI libraries step failed; the report is still saved
    RunMapiComponentPathsFailed = -8, // the MAPI component paths step failed; the report is still saved
    RunOutlookAppPathFailed = -9,     // the Outlook application path step failed; the report is still saved
    RunOutlookModuleFailed = -10,     // the Outlook module step failed; the report is still saved
    // ERROR_INVALID_PARAMETER, as Windows' own tools return it.
    RunUsageError = 87, // a command line that cannot be used (only /run)
};

} // namespace corvane
