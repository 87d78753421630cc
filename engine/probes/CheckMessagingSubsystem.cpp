// The Windows Messaging Subsystem key, values only.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "res/resource.h"

namespace corvane {

HRESULT CReportData::CheckMessagingSubsystem(IXMLDOMNode* parent)
{
    CProbeStep step(*this, IDS_CHECK_MAPI);
    const HRESULT hr = CopyRegistryHive(
        *this, {HKEY_LOCAL_MACHINE, L"HKLM", L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem"}, parent,
        step.rowPosition, kRowsForKey, kNoSubkeys);
    return step.End(hr, IDS_MAPI_FAILED);
}

} // namespace corvane
