#pragma once
// The frame that every mail and MAPI probe step runs in: status text, placeholder row, detail rows
// stacked above it, and the placeholder removed or turned into the step's error row at the end.

#include "engine/ReportData.h"

#include <string>

namespace corvane {

// Inserts a row at rowPosition and advances it past the new row. A position of -1 appends and stays -1;
// a row that the list refuses does not move the position.
void InsertRowAt(CReportData& engine, int& rowPosition, DWORD style, const std::wstring& text);

class CProbeStep
{
public:
    // Steps the progress bar (or applies progress, ProgressKeep for a part that takes no step of it), shows
    // the status text and appends the placeholder row with it.
    CProbeStep(CReportData& engine, UINT statusId, ProgressOperation progress = ProgressStep);
    CProbeStep(const CProbeStep&) = delete;
    CProbeStep& operator=(const CProbeStep&) = delete;

    // Removes the placeholder on success, or makes it the error row (errorId with the code, icon 1, the
    // given indent) on failure; restores the default status text. Returns result unchanged.
    HRESULT End(HRESULT result, UINT errorId, int errorIndent = 1);

    // Where the step's next detail row goes: the placeholder's own position.
    int rowPosition = -1;

private:
    CReportData& engine_;
};

} // namespace corvane
