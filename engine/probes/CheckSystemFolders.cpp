// The system folders probe: the Windows, System, Program Files and Common Files folders, kept in the
// engine for the MAPI probes, shown as event rows and listed in the report.
#include "engine/ReportData.h"
#include "framework/StringTable.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

#include <shlobj.h>

namespace corvane {

namespace {

struct SystemFolder
{
    int csidl;
    std::wstring RunFacts::*member;
    const wchar_t* itemName;
    UINT verboseText;
};

// The order of the lookups, the report items and the verbose rows.
const SystemFolder kSystemFolders[] = {
    {CSIDL_WINDOWS, &RunFacts::windowsFolder, xml::WindowsFolderItem, IDS_WINDOWS_FOLDER},
    {CSIDL_SYSTEM, &RunFacts::systemFolder, xml::SystemFolderItem, IDS_SYSTEM_FOLDER},
    {CSIDL_PROGRAM_FILES, &RunFacts::programFilesFolder, xml::ProgramFilesFolderItem, IDS_PROGRAM_FILES},
    {CSIDL_PROGRAM_FILES_COMMON, &RunFacts::commonFilesFolder, xml::CommonFilesFolderItem, IDS_COMMON_FILES},
};

} // namespace

HRESULT CReportData::CheckSystemFolders(IXMLDOMNode* parent)
{
    const std::wstring status = LoadResourceString(IDS_CHECK_SYSTEM_FOLDERS);
    UpdateProgress(ProgressStep, 0, status.c_str());
    const int row = InsertEvent(-1, EventStyle(EventIcon::GemMoving, 1), status.c_str());

    // A buffer on the stack cannot be refused, so the probe has no out-of-memory failure.
    wchar_t path[MAX_PATH] = {};
    for (const SystemFolder& folder : kSystemFolders)
    {
        // A folder the shell cannot name is recorded as an empty path; the others are still asked for.
        path[0] = L'\0';
        const HRESULT found = ::SHGetFolderPathW(nullptr, folder.csidl, nullptr, SHGFP_TYPE_CURRENT, path);
        facts.*folder.member = SUCCEEDED(found) ? std::wstring(path) : std::wstring();
    }
    UpdateEvent(row, EventStyle(EventIcon::Monitor, 1), LoadResourceString(IDS_SYSTEM_FOLDERS).c_str());

    HRESULT hr = S_OK;
    if (report)
    {
        const AttributePair listAttributes[] = {
            {xml::TypeAttribute, xml::ListTypedMap}, {xml::NameAttribute, xml::SystemFoldersList}, {}};
        ElementSpec listSpec(xml::DataList, nullptr, listAttributes);
        CComPtr<IXMLDOMNode> list;
        hr = report->AppendElement(&listSpec, parent, list.Put());
        if (SUCCEEDED(hr))
        {
            for (const SystemFolder& folder : kSystemFolders)
            {
                const AttributePair itemAttributes[] = {
                    {xml::TypeAttribute, xml::ValuePath}, {xml::NameAttribute, folder.itemName}, {}};
                ElementSpec itemSpec(xml::DataItem, (facts.*folder.member).c_str(), itemAttributes);
                report->AppendElement(&itemSpec, list.Get()); // an item that cannot be written is left out
            }
        }
    }

    if (verbose)
    {
        for (const SystemFolder& folder : kSystemFolders)
            InsertEventF(-1, EventStyle(EventIcon::WindowGrid, 2), folder.verboseText,
                         (facts.*folder.member).c_str());
    }
    UpdateProgress(ProgressKeep, 0, DefaultStatusText);
    return hr;
}

} // namespace corvane
