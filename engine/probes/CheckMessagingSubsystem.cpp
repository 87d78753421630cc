// The Windows Messaging Subsystem key, values only.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "framework/HResult.h"
#include "probes/inventory/MessagingSubsystemKey.h"
#include "res/resource.h"

namespace corvane {

HRESULT CReportData::CheckMessagingSubsystem(IXMLDOMNode* parent)
{
    CProbeStep step(*this, IDS_CHECK_MAPI);
    const HRESULT hr = CopyRegistryHive(
        *this, {HKEY_LOCAL_MACHINE, L"HKLM", L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem"}, parent,
        step.rowPosition, kRowsForKey, kNoSubkeys,
        [this](HKEY key) { facts.examined.messagingSubsystem = ReadMessagingSubsystem(key); });
    if (hr == HResultFromWin32(ERROR_FILE_NOT_FOUND))
        facts.examined.messagingSubsystem = MessagingSubsystemFacts{};
    return step.End(hr, IDS_MAPI_FAILED);
}

} // namespace corvane
