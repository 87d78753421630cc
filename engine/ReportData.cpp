#include "engine/ReportData.h"

#include "engine/OutputFolder.h"

#include "framework/HResult.h"
#include "framework/PathText.h"
#include "res/resource.h"

#include <new>

namespace corvane {

CReportData::CReportData() : outputFolder(ProgramFolder())
{
    // Without the event Stop has no effect, but a run still runs to its end.
    stopEvent.Create();
}

CReportData::~CReportData()
{
    // A document still held is released without uninitialising COM: this may not be its thread.
    report.reset();
    reportApartment_.Abandon();
}

void CReportData::AttachSink(IEventSink* sink)
{
    sink_ = sink;
}

HRESULT CReportData::OpenReport(CReportDocument** document)
{
    if (report)
        return E_UNEXPECTED;
    if (!document)
        return E_POINTER;
    *document = nullptr;

    RETURN_IF_FAILED(reportApartment_.Initialize());

    HRESULT hr = E_OUTOFMEMORY;
    std::unique_ptr<CReportDocument> created(new (std::nothrow) CReportDocument);
    if (created)
        hr = created->Create();
    if (FAILED(hr))
    {
        created.reset();
        reportApartment_.Reset();
        return hr;
    }
    report = std::move(created);
    *document = report.get();
    return S_OK;
}

HRESULT CReportData::CloseReport()
{
    report.reset();
    reportApartment_.Reset();
    return S_OK;
}

} // namespace corvane
