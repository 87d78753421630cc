// The version information of Outlook's main module in Outlook's folder.
#include "engine/ReportData.h"

#include "framework/PathText.h"

#include "engine/probes/ProbeStep.h"
#include "res/resource.h"

#include <shlwapi.h>

namespace corvane {

HRESULT CReportData::CheckOutlookModule(IXMLDOMNode* parent)
{
    if (facts.outlookFolder.empty())
        return S_FALSE;
    EnsureTrailingBackslash(facts.outlookFolder);

    CProbeStep step(*this, IDS_CHECK_OUTLOOK);
    // Outlook's code lives in OUTLLIB.DLL where there is one; OUTLOOK.EXE is only its launcher then.
    std::wstring path = facts.outlookFolder + L"OUTLLIB.DLL";
    if (!::PathFileExistsW(path.c_str()))
        path = facts.outlookFolder + L"OUTLOOK.EXE";
    facts.examined.outlookModule.path = path;
    const HRESULT hr = CheckFileVersion(path.c_str(), parent, step.rowPosition, 1,
                                        &facts.examined.outlookModule.version.emplace());
    return step.End(hr, IDS_OUTLOOK_FAILED);
}

} // namespace corvane
