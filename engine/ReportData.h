#pragma once
// The test engine: the one object that the dialog thread and the worker share. It is its own lock.

#include "engine/EventIcon.h"
#include "engine/EventSink.h"
#include "engine/RunFacts.h"
#include "framework/ComInitialization.h"
#include "framework/CriticalSection.h"
#include "framework/Event.h"
#include "report/ReportDocument.h"

#include <memory>
#include <string>

namespace corvane {

class CComponentPathChild;
class CWorkerThread;

// Stands for string 3050 in UpdateProgress; not a real text.
extern const wchar_t* const DefaultStatusText;

// A registry dump's depths: logDepth, how many levels get rows (the key's own values are the first),
// and subkeyDepth, how many levels of subkeys are descended; kUnlimitedDepth for all of them.
inline constexpr int kUnlimitedDepth = -1;
inline constexpr int kNoRows = 0;
inline constexpr int kRowsForKey = 1;           // the key's values
inline constexpr int kRowsForKeyAndSubkeys = 2; // also each subkey's name and values
inline constexpr int kNoSubkeys = 0;
inline constexpr int kOneSubkeyLevel = 1;

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

    // Display ------------------------------------------------------------------------------------------
    // Where the rows, progress and running state go from now on; null for nowhere. Under the lock.
    void AttachSink(IEventSink* sink);
    IEventSink* Sink() const { return sink_; }

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
    // examined, when given, receives what the read found, failure included.
    HRESULT CheckFileVersion(const wchar_t* path, IXMLDOMNode* parent, int& rowPosition, int level,
                             VersionFacts* examined = nullptr);
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
    // null), and only when that is an absolute path. examined, when given, receives the answers, a load
    // that failed included.
    HRESULT QueryComponentPath(const wchar_t* module, IXMLDOMNode* parent, int& rowPosition, int level,
                               const wchar_t* loadPath = nullptr, ComponentPathFacts* examined = nullptr);
    HRESULT CheckOutlookModule(IXMLDOMNode* parent);
    // The two parts after the four sections. Neither fails the run: each returns S_OK, or S_FALSE when a
    // Stop cut it short.
    HRESULT CheckInventory(IXMLDOMNode* parent);
    HRESULT CheckFindings(IXMLDOMNode* parent);

    // Members ------------------------------------------------------------------------------------------
    CWorkerThread* runningThread = nullptr;
    CEvent stopEvent;
    std::wstring outputFolder;
    BOOL verbose = TRUE;
    BOOL saveReport = TRUE;
    std::unique_ptr<CReportDocument> report; // the running test's document; null when there is none
    bool stopSeen = false;                   // worker only; cleared by the driver at the start of a run
    // The full path of the report that the last run saved and the index of the row that says so; empty
    // and -1 when it saved none. Under the lock.
    std::wstring reportPath;
    int reportRow = -1;
    // The full path of the readable page written beside that report; empty when none was written.
    std::wstring pagePath;

    // What the run's probes found so far (worker thread only); fresh for each run.
    RunFacts facts;
    // The child that asks the MAPI libraries during a run (worker thread only); null outside a run, when
    // each question gets a child of its own.
    CComponentPathChild* componentPathChild = nullptr;

private:
    CComInitialization reportApartment_; // COM on the thread that opened the report
    IEventSink* sink_ = nullptr;
};

} // namespace corvane
