// Outlook's application path key, values only; its "Path" value gives Outlook's folder.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "res/resource.h"

namespace corvane {

HRESULT CReportData::CheckOutlookAppPath(IXMLDOMNode* parent)
{
    // Emptied first so that a folder from an earlier run never outlives a key that is gone.
    facts.outlookFolder.clear();
    CProbeStep step(*this, IDS_CHECK_OUTLOOK);
    const HRESULT hr =
        CopyRegistryHive(*this,
                         {HKEY_LOCAL_MACHINE, L"HKLM",
                          L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE"},
                         parent, step.rowPosition, kRowsForKey, kNoSubkeys, [this](HKEY key) {
                             const RegistryValue path = QueryRegistryValue(key, L"Path");
                             if (path.status != ERROR_SUCCESS)
                                 return;
                             // "Path" is a search list; the first entry is Outlook's own folder. Not
                             // expanded.
                             const std::wstring text = FirstString(path.data);
                             facts.outlookFolder = text.substr(0, text.find(L';'));
                         });
    return step.End(hr, IDS_OUTLOOK_FAILED);
}

} // namespace corvane
