#include "engine/probes/ProbeStep.h"

#include "framework/StringTable.h"

namespace corvane {

namespace {
constexpr int kStepIndent = 1;
} // namespace

void InsertRowAt(CReportData& engine, int& rowPosition, DWORD style, const std::wstring& text)
{
    const int index = engine.InsertEvent(rowPosition, style, text.c_str());
    if (rowPosition >= 0 && index >= 0)
        rowPosition = index + 1;
}

CProbeStep::CProbeStep(CReportData& engine, UINT statusId, ProgressOperation progress) : engine_(engine)
{
    const std::wstring status = LoadResourceString(statusId);
    engine_.UpdateProgress(progress, 0, status.c_str());
    rowPosition = engine_.InsertEvent(-1, EventStyle(EventIcon::GemMoving, kStepIndent), status.c_str());
}

HRESULT CProbeStep::End(HRESULT result, UINT errorId, int errorIndent)
{
    // Without a placeholder (the list refused it) nothing is removed, and an error is appended instead
    // of overwriting a row that belongs to someone else.
    if (SUCCEEDED(result))
    {
        if (rowPosition >= 0)
            engine_.RemoveEvent(rowPosition);
    }
    else
    {
        const std::wstring text = FormatResourceString(errorId, static_cast<unsigned int>(result));
        const DWORD style = EventStyle(EventIcon::Warning, errorIndent);
        if (rowPosition >= 0)
            engine_.UpdateEvent(rowPosition, style, text.c_str());
        else
            engine_.InsertEvent(-1, style, text.c_str());
    }
    engine_.UpdateProgress(ProgressKeep, 0, DefaultStatusText);
    return result;
}

} // namespace corvane
