#pragma once
// What the program does when it was started with arguments: show its usage, or run the test with no
// window, print the rows where it was started from and end with the run's result as its exit code.

#include "app/CommandLine.h"

namespace corvane {

// The process exit code: the run result (0 completed, -1 report failure, -2 to -10 the probe that
// failed), 0 after the usage was asked for, RunUsageError for a command line that cannot be used.
int RunFromCommandLine(const CommandLineOptions& options);

} // namespace corvane
