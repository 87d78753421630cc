#pragma once
// The program's command line: none opens the window; /run and its options run the test with no window,
// for the tools that start programs on many machines and read their exit codes.

#include "engine/RunResult.h"

#include <windows.h>

#include <string>
#include <vector>

namespace corvane {

enum class CommandLineAction
{
    OpenWindow,
    Run,
    ShowUsage,
    UsageError,
};

struct CommandLineOptions
{
    CommandLineAction action = CommandLineAction::OpenWindow;
    BOOL verbose = TRUE;
    BOOL saveReport = TRUE;
    // The folder as given after /out:, variables not yet expanded; empty for the program's own folder.
    std::wstring outputFolder;
    // For a usage error: the string that says what is wrong, and the argument it names.
    UINT problem = 0;
    std::wstring problemArgument;
};

// Reads the arguments that follow the program's name. Options are matched without regard to case and
// start with / or -.
CommandLineOptions ParseCommandLine(const std::vector<std::wstring>& arguments);

// The arguments after the program's name. Spaces and tabs outside double quotes separate them; a double
// quote only opens or closes a quoted part, and a backslash is always itself: no folder name holds a
// quote, and by the system's own rules "/out:C:\My Reports\" /quiet would be one argument, the folder
// swallowing the option after it.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);

// This process's arguments, split as SplitCommandLine does.
std::vector<std::wstring> CommandLineArguments();

} // namespace corvane
