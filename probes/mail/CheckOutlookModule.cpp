// The version information of Outlook's main module in Outlook's folder.
#include "engine/ReportData.h"

#include "framework/PathText.h"

#include "probes/mail/ProbeStep.h"
#include "res/resource.h"

#include <shlwapi.h>

namespace corvane {

HRESULT CReportData::CheckOutlookModule(IXMLDOMNode* parent)
{
    if (outlookFolder.empty())
        return S_FALSE;
    EnsureTrailingBackslash(outlookFolder);

    CProbeStep step(*this, IDS_CHECK_OUTLOOK);
    // Outlook's code lives in OUTLLIB.DLL where there is one; OUTLOOK.EXE is only its launcher then.
    std::wstring path = outlookFolder + L"OUTLLIB.DLL";
    if (!::PathFileExistsW(path.c_str()))
        path = outlookFolder + L"OUTLOOK.EXE";
    const HRESULT hr = CheckFileVersion(path.c_str(), parent, step.rowPosition, 1);
    return step.End(hr, IDS_OUTLOOK_FAILED);
}

} // namespace corvane
