#pragma once
// A finding: one thing wrong with (or worth knowing about) the machine's mail set-up, with what to do.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace corvane {

enum class FindingSeverity
{
    Error,       // mail through MAPI cannot work as set up
    Warning,     // works for some programs or users only, or a known cause of failures
    Information, // explains a fact; nothing is broken
};

// A rule's verdict. The texts are string table entries with printf-style "%s" placeholders, one
// argument for each; the rules load no text, the caller formats them.
struct Finding
{
    std::wstring id; // stable: "R1"
    FindingSeverity severity = FindingSeverity::Information;
    UINT messageId = 0;
    UINT adviceId = 0;
    std::vector<std::wstring> messageArguments;
    std::vector<std::wstring> adviceArguments;
    // The examined facts that the finding rests on, as name and value, in the order they matter.
    std::vector<std::pair<std::wstring, std::wstring>> facts;

    bool operator==(const Finding&) const = default;
};

// Every rule over the facts: errors first, then warnings, then information; within a severity in the
// rules' own fixed order.
std::vector<Finding> EvaluateFindings(const FindingFacts& facts);

} // namespace corvane
