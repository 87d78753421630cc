#pragma once
// The test engine: the one object that the dialog thread and the worker share. It is its own lock.

#include "engine/EventIcon.h"
#include "engine/EventList.h"
#include "framework/ComInitialization.h"
#include "framework/CriticalSection.h"
#include "framework/Event.h"
#include "probes/system/OsInfo.h"
#include "report/ReportDocument.h"

#include <memory>
#include <string>

namespace corvane {

class CWorkerThread;

// Progress operation codes of UpdateProgress.
enum ProgressOperation : int
{
    ProgressKeep = 0,
    ProgressReset = 1,
    ProgressSetPos = 2,
    ProgressStep = 3,
};

// Stands for string 3050 in UpdateProgress; not a real text.
extern const wchar_t* const DefaultStatusText;

// A registry dump's depth that has no limit.
inline constexpr int kUnlimitedDepth = -1;

// An event row's style: indent level in the high half, icon index in the low half.
constexpr DWORD EventStyle(EventIcon icon, int indent)
{
    return (static_cast<DWORD>(indent & 0x7FFF) << 16) | static_cast<DWORD>(static_cast<int>(icon) & 0xFFFF);
}

class CReportData : public CCriticalSection
{
public:
    CReportData();
    ~CReportData() override;

    // Window handles -------------------------------------------------------------------------------
    // On the thread that owns the window; the event list must be a virtual list view (LVS_OWNERDATA),
    // whose rows the engine keeps from then on.
    void AttachDialog(HWND window);

    // Report document ------------------------------------------------------------------------------
    HRESULT OpenReport(CReportDocument** document);
    HRESULT CloseReport();

    // Display (called from the worker; synchronous) ------------------------------------------------
    int InsertEvent(int position, DWORD style, const wchar_t* text);
    int UpdateEvent(int position, DWORD style, const wchar_t* text);
    int RemoveEvent(int position);
    bool UpdateProgress(int operation, int value, const wchar_t* text);
    void SetRunning(CWorkerThread* thread);

    // Event rows from the string table, formatted printf-style.
    int InsertEventF(int position, DWORD style, UINT stringId, ...);
    int UpdateEventF(int position, DWORD style, UINT stringId, ...);

    // Stop signal (worker) -------------------------------------------------------------------------
    // True once Stop has been pressed during this run: the look consumes the auto-reset event into
    // the sticky stopSeen, so the driver and a long registry dump can both see the same press.
    bool StopRequested();

    // Probes -----------------------------------------------------------------------------------------
    HRESULT CheckSystemVersion(IXMLDOMNode* parent);
    HRESULT CheckSystemFolders(IXMLDOMNode* parent);
    HRESULT CheckFileVersion(const wchar_t* path, IXMLDOMNode* parent, int& rowPosition, int level);
    // indent: of this key's rows; logDepth and subkeyDepth: how many levels get rows, and how many are
    // descended (kUnlimitedDepth for all of them).
    HRESULT DumpRegistryKey(HKEY key, IXMLDOMNode* parent, int* rowPosition, int indent, int logDepth,
                            int subkeyDepth);
    HRESULT CheckMailClients(IXMLDOMNode* parent);
    HRESULT CheckOutlookLanguageKeys(IXMLDOMNode* parent);
    HRESULT CheckMessagingSubsystem(IXMLDOMNode* parent);
    HRESULT CheckOutlookAppPath(IXMLDOMNode* parent);
    HRESULT CheckMapiModules(IXMLDOMNode* parent);
    HRESULT CheckMapiComponentPaths(IXMLDOMNode* parent);
    // module is the name that rows and the report show; the library loaded is loadPath (module when
    // null), and only when that is an absolute path.
    HRESULT QueryComponentPath(const wchar_t* module, IXMLDOMNode* parent, int& rowPosition, int level,
                               const wchar_t* loadPath = nullptr);
    HRESULT CheckOutlookModule(IXMLDOMNode* parent);

    // Members ------------------------------------------------------------------------------------------
    CWorkerThread* runningThread = nullptr;
    CEvent stopEvent;
    HWND dialog = nullptr;
    HWND statusText = nullptr;
    HWND progressBar = nullptr;
    HWND eventList = nullptr;
    HWND executeButton = nullptr;
    HWND stopButton = nullptr;
    std::wstring outputFolder;
    BOOL verbose = TRUE;
    BOOL saveReport = TRUE;
    std::unique_ptr<CReportDocument> report; // the running test's document; null when there is none
    bool stopSeen = false;                   // worker only; cleared by the driver at the start of a run
    // The full path of the report that the last run saved; empty when it saved none. Under the lock.
    std::wstring reportPath;

    // Findings that one probe leaves for a later one (worker thread only). Each run starts with them
    // empty, so that nothing a run finds comes from the run before it.
    void ResetFindings();
    // The Outlook client's settings alone: what a look without the client key leaves.
    void ClearOutlookSettings();
    OsInfo osInfo{};
    std::wstring systemFolder;
    std::wstring windowsFolder;
    std::wstring programFilesFolder;
    std::wstring commonFilesFolder;
    BOOL hasLcidKeys = FALSE;
    std::wstring msiComponentId;
    std::wstring msiApplicationLcid; // whole registry data: every string with its terminator
    std::wstring msiOfficeLcid;      // whole registry data: every string with its terminator
    std::wstring dllPath;
    std::wstring dllPathEx;
    std::wstring outlookFolder;

private:
    CComInitialization reportApartment_; // COM on the thread that opened the report
    CEventList eventRows_;               // the rows of eventList, kept on the dialog's thread
};

// The folder of the given executable path: cut before the last backslash; "C:\" when there is no
// backslash, or the only one is the first character.
std::wstring OutputFolderFromModulePath(const wchar_t* modulePath);

// The folder of the running program, by the rule above.
std::wstring ProgramFolder();

// The report file's path in the output folder as the user typed it: spaces around it and one pair of
// surrounding double quotes are taken off, and a folder left empty is the program's own.
std::wstring ReportFilePath(const std::wstring& outputFolder, const wchar_t* fileName);

} // namespace corvane
