// The engine's display operations: event rows, status text, progress and the running state, passed to
// the sink. They are called from the worker, and each returns once the sink has taken the change.
#include "engine/ReportData.h"
#include "framework/StringTable.h"
#include "res/resource.h"

namespace corvane {

namespace {
const wchar_t kDefaultStatusText[] = L"";
constexpr int kNoRow = -1;
} // namespace

const wchar_t* const DefaultStatusText = kDefaultStatusText;

int CReportData::InsertEvent(int position, DWORD style, const wchar_t* text)
{
    return sink_ ? sink_->InsertRow(position, style, text ? text : L"") : kNoRow;
}

int CReportData::UpdateEvent(int position, DWORD style, const wchar_t* text)
{
    return sink_ ? sink_->UpdateRow(position, style, text ? text : L"") : kNoRow;
}

int CReportData::RemoveEvent(int position)
{
    // Without a sink nothing is kept, and so none can be removed.
    return sink_ ? sink_->RemoveRow(position) : 0;
}

bool CReportData::UpdateProgress(int operation, int value, const wchar_t* text)
{
    if (!sink_)
        return true;
    if (text == DefaultStatusText)
    {
        const std::wstring defaultText = LoadResourceString(IDS_DEFAULT_STATUS);
        sink_->Progress(operation, value, defaultText.c_str());
    }
    else
    {
        sink_->Progress(operation, value, text);
    }
    return true;
}

void CReportData::SetRunning(CWorkerThread* thread)
{
    runningThread = thread;
    if (sink_)
        sink_->RunningChanged(thread != nullptr);
}

int CReportData::InsertEventF(int position, DWORD style, UINT stringId, ...)
{
    va_list arguments;
    va_start(arguments, stringId);
    const std::wstring text = FormatResourceStringV(stringId, arguments);
    va_end(arguments);
    return InsertEvent(position, style, text.c_str());
}

int CReportData::UpdateEventF(int position, DWORD style, UINT stringId, ...)
{
    va_list arguments;
    va_start(arguments, stringId);
    const std::wstring text = FormatResourceStringV(stringId, arguments);
    va_end(arguments);
    return UpdateEvent(position, style, text.c_str());
}

} // namespace corvane
