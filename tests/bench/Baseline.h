#pragma once
// The raw baseline of a run: the same registry calls, module and version look-ups and DOM appends as a
// non-verbose run with a report, and the same save, with no event rows and no formatting beyond what
// the file needs. Against it the benchmark measures what the engine adds.

#include <string>

namespace corvane::scale {

struct BaselineResult
{
    bool saved = false;
    double milliseconds = 0;
    size_t items = 0; // "DataItem" and "DataList" elements written below the hives
};

// Runs on the calling thread, which must have COM initialised.
BaselineResult RunBaseline(const std::wstring& reportPath);

} // namespace corvane::scale
