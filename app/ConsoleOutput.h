#pragma once
// Where a run started from the command line prints its text: the console it was started from, or the
// file or pipe its output was redirected to; nowhere when it has neither (a scheduled task, a shortcut).

#include "framework/UniqueHandle.h"

#include <string>

namespace corvane {

class CConsoleOutput
{
public:
    // Takes the output handle that the process inherited, else attaches to the console of the process
    // that started it.
    CConsoleOutput();
    CConsoleOutput(const CConsoleOutput&) = delete;
    CConsoleOutput& operator=(const CConsoleOutput&) = delete;
    ~CConsoleOutput();

    bool IsAvailable() const { return output_ != nullptr; }

    // Writes the text as it is: to a console in UTF-16, to a file or pipe in UTF-8. Nothing when there
    // is no output, or when writing fails (a closed pipe must not end the run).
    void Write(const std::wstring& text) const;

private:
    HANDLE output_ = nullptr; // not owned, unless it is consoleOutput_
    bool isConsole_ = false;
    bool attached_ = false;     // attached here, and so detached again at the end
    CFileHandle consoleOutput_; // CONOUT$ of the console attached to
};

} // namespace corvane
