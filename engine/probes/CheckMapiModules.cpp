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
    FindingFacts& examined = facts.examined;
    examined.mapiStub.path = facts.systemFolder + L"MAPISTUB.DLL";
    examined.mapi32.path = facts.systemFolder + L"MAPI32.DLL";
    examined.outlookMapi.path = facts.outlook.dllPathEx;
    HRESULT hr = CheckFileVersion(examined.mapiStub.path.c_str(), parent, step.rowPosition, 1,
                                  &examined.mapiStub.version.emplace());
    if (SUCCEEDED(hr))
        hr = CheckFileVersion(examined.mapi32.path.c_str(), parent, step.rowPosition, 1,
                              &examined.mapi32.version.emplace());
    if (!facts.outlook.dllPathEx.empty())
        CheckFileVersion(facts.outlook.dllPathEx.c_str(), parent, step.rowPosition, 1,
                         &examined.outlookMapi.version.emplace());
    return step.End(hr, IDS_MAPI_FAILED);
}

} // namespace corvane
