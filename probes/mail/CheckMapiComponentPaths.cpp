// The paths that each MAPI library gives for Outlook's component under each language choice.
#include "engine/ReportData.h"

#include "probes/mail/ProbeStep.h"
#include "res/resource.h"

namespace corvane {

namespace {
constexpr int kFirstRowLevel = 1;
constexpr int kErrorIndent = 2; // under the modules' rows, not beside them
} // namespace

HRESULT CReportData::CheckMapiComponentPaths(IXMLDOMNode* parent)
{
    if (!hasLcidKeys)
        return S_FALSE;

    CProbeStep step(*this, IDS_CHECK_MAPI);
    // Bare names, so that the system's module search finds the libraries as every client does.
    HRESULT hr = QueryComponentPath(L"MAPISTUB.DLL", parent, step.rowPosition, kFirstRowLevel);
    QueryComponentPath(L"MAPI32.DLL", parent, step.rowPosition, kFirstRowLevel);
    if (!dllPathEx.empty())
    {
        const HRESULT extra = QueryComponentPath(dllPathEx.c_str(), parent, step.rowPosition, kFirstRowLevel);
        if (SUCCEEDED(hr))
            hr = extra;
    }
    return step.End(hr, IDS_MAPI_FAILED, kErrorIndent);
}

} // namespace corvane
