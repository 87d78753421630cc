#include "engine/ReportData.h"

#include "framework/HResult.h"
#include "framework/PathText.h"
#include "res/resource.h"

#include <new>

namespace corvane {

std::wstring OutputFolderFromModulePath(const wchar_t* modulePath)
{
    const std::wstring path(modulePath ? modulePath : L"");
    const size_t lastBackslash = path.rfind(L'\\');
    if (lastBackslash == std::wstring::npos || lastBackslash == 0)
        return L"C:\\";
    return path.substr(0, lastBackslash);
}

std::wstring ProgramFolder()
{
    std::wstring path;
    QueryProgramPath(path); // without a path, the fallback folder
    return OutputFolderFromModulePath(path.c_str());
}

std::wstring ReportFilePath(const std::wstring& outputFolder, const wchar_t* fileName)
{
    const auto trimSpaces = [](const std::wstring& text) {
        const size_t first = text.find_first_not_of(L' ');
        return first == std::wstring::npos ? std::wstring()
                                           : text.substr(first, text.find_last_not_of(L' ') - first + 1);
    };
    // Spaces around the text and one pair of double quotes (Explorer's "Copy as path") are no part of
    // the folder; a folder left empty would otherwise name the root of the current drive.
    std::wstring folder = trimSpaces(outputFolder);
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
        folder = trimSpaces(folder.substr(1, folder.size() - 2));
    if (folder.empty())
        folder = ProgramFolder();
    EnsureTrailingBackslash(folder);
    return folder + fileName;
}

CReportData::CReportData() : outputFolder(ProgramFolder())
{
    // Without the event Stop has no effect, but a run still runs to its end.
    stopEvent.Create();
}

CReportData::~CReportData()
{
    // A document still held is released without uninitialising COM: this may not be its thread.
    report.reset();
    reportApartment_.Abandon();
}

void CReportData::AttachDialog(HWND window)
{
    dialog = window;
    statusText = window ? ::GetDlgItem(window, IDC_STATUS_TEXT) : nullptr;
    progressBar = window ? ::GetDlgItem(window, IDC_PROGRESS) : nullptr;
    eventList = window ? ::GetDlgItem(window, IDC_EVENT_LIST) : nullptr;
    executeButton = window ? ::GetDlgItem(window, IDC_EXECUTE) : nullptr;
    stopButton = window ? ::GetDlgItem(window, IDC_STOP) : nullptr;
    if (eventList)
        eventRows_.Attach(eventList, window);
    else
        eventRows_.Detach();
}

void CReportData::ResetFindings()
{
    osInfo = OsInfo{};
    systemFolder.clear();
    windowsFolder.clear();
    programFilesFolder.clear();
    commonFilesFolder.clear();
    ClearOutlookSettings();
    outlookFolder.clear();
}

void CReportData::ClearOutlookSettings()
{
    hasLcidKeys = FALSE;
    msiComponentId.clear();
    msiApplicationLcid.clear();
    msiOfficeLcid.clear();
    dllPath.clear();
    dllPathEx.clear();
}

HRESULT CReportData::OpenReport(CReportDocument** document)
{
    if (report)
        return E_UNEXPECTED;
    if (!document)
        return E_POINTER;
    *document = nullptr;

    RETURN_IF_FAILED(reportApartment_.Initialize());

    HRESULT hr = E_OUTOFMEMORY;
    std::unique_ptr<CReportDocument> created(new (std::nothrow) CReportDocument);
    if (created)
        hr = created->Create();
    if (FAILED(hr))
    {
        created.reset();
        reportApartment_.Reset();
        return hr;
    }
    report = std::move(created);
    *document = report.get();
    return S_OK;
}

HRESULT CReportData::CloseReport()
{
    report.reset();
    reportApartment_.Reset();
    return S_OK;
}

} // namespace corvane
