#include "app/CommandLine.h"

#include "framework/UniqueHandle.h"
#include "res/resource.h"

namespace corvane {

namespace {

// The options are ASCII words: folding A to Z by hand keeps "/QUIET" an option under every locale
// (the Turkish dotted and dotless i would defeat lstrcmpiW).
bool SameOption(const std::wstring& text, size_t offset, const wchar_t* option, size_t length)
{
    if (text.size() - offset < length)
        return false;
    for (size_t i = 0; i < length; ++i)
    {
        wchar_t c = text[offset + i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != option[i])
            return false;
    }
    return true;
}

bool StartsAsOption(const std::wstring& argument)
{
    return !argument.empty() && (argument[0] == L'/' || argument[0] == L'-');
}

bool IsOption(const std::wstring& argument, const wchar_t* option)
{
    const size_t length = std::char_traits<wchar_t>::length(option);
    return StartsAsOption(argument) && argument.size() == length + 1 &&
           SameOption(argument, 1, option, length);
}

CommandLineOptions UsageError(UINT problem, const std::wstring& argument)
{
    CommandLineOptions options;
    options.action = CommandLineAction::UsageError;
    options.problem = problem;
    options.problemArgument = argument;
    return options;
}

} // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::wstring>& arguments)
{
    CommandLineOptions options;
    if (arguments.empty())
        return options;

    // A request for the usage is answered whatever else the line holds.
    for (const std::wstring& argument : arguments)
    {
        if (IsOption(argument, L"?"))
        {
            options.action = CommandLineAction::ShowUsage;
            return options;
        }
    }

    const std::wstring* run = nullptr;
    const std::wstring* quiet = nullptr;
    const std::wstring* noReport = nullptr;
    const std::wstring* out = nullptr;
    for (const std::wstring& argument : arguments)
    {
        if (!StartsAsOption(argument))
            return UsageError(IDS_USAGE_UNKNOWN_ARGUMENT, argument);
        const std::wstring** seen = nullptr;
        if (IsOption(argument, L"run"))
            seen = &run;
        else if (IsOption(argument, L"quiet"))
            seen = &quiet;
        else if (IsOption(argument, L"noreport"))
            seen = &noReport;
        else if (SameOption(argument, 1, L"out:", 4))
            seen = &out;
        else
            return UsageError(IDS_USAGE_UNKNOWN_ARGUMENT, argument);
        // An option given twice is most likely a script gone wrong (two folders); neither is guessed at.
        if (*seen)
            return UsageError(IDS_USAGE_REPEATED_OPTION, argument);
        *seen = &argument;
    }

    for (const std::wstring* option : {quiet, noReport, out})
    {
        if (option && !run)
            return UsageError(IDS_USAGE_NEEDS_RUN, *option);
    }
    if (out)
    {
        options.outputFolder = out->substr(5);
        if (options.outputFolder.empty())
            return UsageError(IDS_USAGE_EMPTY_FOLDER, *out);
        if (noReport)
            return UsageError(IDS_USAGE_FOLDER_WITHOUT_REPORT, *out);
    }
    options.action = CommandLineAction::Run;
    options.verbose = quiet ? FALSE : TRUE;
    options.saveReport = noReport ? FALSE : TRUE;
    return options;
}

std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine)
{
    std::vector<std::wstring> arguments;
    if (!commandLine)
        return arguments;
    std::wstring current;
    bool inQuotes = false;
    bool inArgument = false;
    for (const wchar_t* c = commandLine;; ++c)
    {
        if (*c == L'\0' || (!inQuotes && (*c == L' ' || *c == L'\t')))
        {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
            if (*c == L'\0')
                break;
            continue;
        }
        inArgument = true;
        if (*c == L'"')
            inQuotes = !inQuotes;
        else
            current += *c;
    }
    // The program's own name, which Windows may have quoted.
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    return arguments;
}

std::vector<std::wstring> CommandLineArguments()
{
    return SplitCommandLine(::GetCommandLineW());
}

} // namespace corvane
