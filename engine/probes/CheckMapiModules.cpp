// The version information of the MAPI libraries in the System folder and of Outlook's extra MAPI module.
#include "engine/ReportData.h"

#include "framework/PathText.h"

#include "engine/probes/ProbeStep.h"
#include "res/resource.h"

namespace corvane {

HRESULT CReportData::CheckMapiModules(IXMLDOMNode* parent)
{
    if (facts.systemFolder.empty())
        return S_FALSE;
    EnsureTrailingBackslash(facts.systemFolder);

    CProbeStep step(*this, IDS_CHECK_MAPI);
    // The stub is what every client loads; without it the library behind it is not worth a look.
    HRESULT hr =
        CheckFileVersion((facts.systemFolder + L"MAPISTUB.DLL").c_str(), parent, step.rowPosition, 1);
    if (SUCCEEDED(hr))
        hr = CheckFileVersion((facts.systemFolder + L"MAPI32.DLL").c_str(), parent, step.rowPosition, 1);
    if (!facts.outlook.dllPathEx.empty())
        CheckFileVersion(facts.outlook.dllPathEx.c_str(), parent, step.rowPosition, 1);
    return step.End(hr, IDS_MAPI_FAILED);
}

} // namespace corvane
