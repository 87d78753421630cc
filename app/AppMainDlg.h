#pragma once
// The main dialog: test options, output folder, Execute and Stop, and the event list that the engine
// fills during a run. Compact and fixed until the first run, full-size and resizable from then on.

#include "app/EventListView.h"
#include "framework/Dialog.h"
#include "framework/ImageList.h"

#include <string>

namespace corvane {

class CReportData;
class CWorkerThread;

class CAppMainDlg : public CDialog
{
public:
    // The engine is borrowed: it must outlive the dialog.
    explicit CAppMainDlg(CReportData* engine, HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    // Enter and Esc must not close the window. Enter on the event list acts on its selected row as a
    // double-click does; otherwise both do nothing.
    void OnOK() override;
    void OnCancel() override {}

    bool OnCommand(int id, int notification, HWND control) override;
    bool OnSysCommand(UINT command, LPARAM position) override;
    bool OnClose() override;
    void OnSize(UINT type, int width, int height) override;
    bool OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnDestroy() override;
    bool OnNotify(const NMHDR* header) override;
    bool OnContextMenu(HWND window, POINT point) override;
    // The list's questions about its rows, and the run's start and end from the event list's side.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnExecute();
    void OnStop();
    void OnBrowse();

    // Makes the worker of a new run (suspended); null with the reason in the last error.
    virtual CWorkerThread* CreateWorker();
    // Lets the new run's worker go; false with the reason in the last error.
    virtual bool ResumeWorker(CWorkerThread* worker);

private:
    void SetIcons();
    void SetUpLayout();
    void SetUpEventList(HWND list);
    // Execute or Stop, the status and progress, and the options as a run starts or ends; the button
    // that stays enabled takes the focus.
    void OnRunningChanged(bool running);
    void Expand();
    bool IsResizable() const;
    void CopyEvents(bool selectedOnly);
    // The report row opens the report's page; any other row does nothing.
    void ActivateRow(int row);
    // The saved report's page in the default browser (the report in its folder when no page was written),
    // and the report selected in its folder.
    void OpenReport();
    void ShowReportInFolder();

    CReportData* engine;
    int fullWidth = 0;
    int fullHeight = 0;
    int compactWidth = 0;
    int compactHeight = 0;
    int listMarginX = 0;
    int listMarginY = 0;
    CImageList imageList;
    CEventListView events_; // the engine's sink while the window is there
    // Counts the runs started here, so that a Stop that waited for the lock acts only on its own run.
    unsigned runNumber_ = 0;
};

// Appends a separator and the About item to a system menu; nothing when the text is empty.
void AppendAboutItem(HMENU systemMenu, const std::wstring& text);

} // namespace corvane
