// The per-user keys that Outlook's two language values name, copied values only.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "res/resource.h"

namespace corvane {

HRESULT CReportData::CheckOutlookLanguageKeys(IXMLDOMNode* parent)
{
    if (!facts.outlook.hasLcidKeys)
        return S_FALSE;

    CProbeStep step(*this, IDS_CHECK_MAIL_CLIENTS);
    HRESULT hr = S_OK;
    for (const std::wstring* lcid : {&facts.outlook.msiApplicationLcid, &facts.outlook.msiOfficeLcid})
    {
        hr = CopyRegistryHive(*this, {HKEY_CURRENT_USER, L"HKCU", L"Software\\" + FirstString(*lcid)}, parent,
                              step.rowPosition, verbose ? kRowsForKey : kNoRows, kNoSubkeys);
        if (FAILED(hr))
            break;
    }
    if (FAILED(hr))
    {
        // A missing language key is worth a line in the list, not the end of the run.
        step.End(hr, IDS_MAIL_CLIENTS_FAILED);
        return S_FALSE;
    }
    return step.End(hr, IDS_MAIL_CLIENTS_FAILED);
}

} // namespace corvane
