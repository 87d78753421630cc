#pragma once
// What a run ends with: the worker's exit code, and /run's exit code. README.md's table of exit codes is
// made from the comment above each value (tests/e2e/check-exit-codes.sh compares them).

namespace corvane {

enum RunResult : int
{
    // the test completed
    RunCompleted = 0,
    // the test was stopped (only from the window's Stop)
    RunAborted = 1,
    // no report could be saved, or the output folder could not be made (what was made of it is removed)
    RunReportFailed = -1,
    // the system version step failed; the report is still saved
    RunSystemVersionFailed = -2,
    // the system folders step failed; the report is still saved
    RunSystemFoldersFailed = -3,
    // the mail clients step failed; the report is still saved
    RunMailClientsFailed = -4,
    // the Outlook language keys step failed; the report is still saved
    RunOutlookLanguageKeysFailed = -5,
    // the Windows Messaging Subsystem step failed; the report is still saved
    RunMessagingSubsystemFailed = -6,
    // the MAPI libraries step failed; the report is still saved
    RunMapiModulesFailed = -7,
    // the MAPI component paths step failed; the report is still saved
    RunMapiComponentPathsFailed = -8,
    // Outlook's application path step failed; the report is still saved
    RunOutlookAppPathFailed = -9,
    // Outlook's module step failed; the report is still saved
    RunOutlookModuleFailed = -10,
    // a command line that cannot be used (ERROR_INVALID_PARAMETER, as Windows' own tools return it)
    RunUsageError = 87,
};

} // namespace corvane
