#include "app/AppMainDlg.h"

#include "app/AboutDlg.h"
#include "app/Clipboard.h"
#include "app/FolderPicker.h"
#include "engine/EventRows.h"
#include "engine/ReportData.h"
#include "engine/TestThreadProc.h"
#include "framework/StringTable.h"
#include "framework/WinApp.h"
#include "framework/WorkerThread.h"
#include "res/resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace corvane {

namespace {
constexpr COLORREF kTransparent = RGB(255, 0, 255);

int ScreenBitsPerPixel()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return 0;
    const int bits = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return bits;
}

int MessageBoxOf(HWND owner, UINT textId, UINT type)
{
    const std::wstring text = LoadResourceString(textId);
    if (CWinApp* application = CWinApp::Current())
        return application->MessageBox(owner, text, type);
    return ::MessageBoxW(owner, text.c_str(), L"", type);
}
} // namespace

void AppendAboutItem(HMENU systemMenu, const std::wstring& text)
{
    if (!systemMenu || text.empty())
        return;
    ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text.c_str());
}

CAppMainDlg::CAppMainDlg(CReportData* engine, HWND parent) : CDialog(IDD_MAIN, parent), engine(engine) {}

void CAppMainDlg::DoDataExchange()
{
    ExchangeCheck(IDC_VERBOSE, engine->verbose);
    ExchangeCheck(IDC_SAVE_REPORT, engine->saveReport);
    ExchangeText(IDC_OUTPUT_FOLDER, engine->outputFolder);
}

BOOL CAppMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    events_.Attach({Handle(), Item(IDC_EVENT_LIST), Item(IDC_PROGRESS), Item(IDC_STATUS_TEXT)});
    CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
    engine->AttachSink(&events_);
    AppendAboutItem(::GetSystemMenu(Handle(), FALSE), LoadResourceString(IDS_ABOUTBOX));
    SetIcons();
    SetUpLayout();
    return TRUE;
}

void CAppMainDlg::SetIcons()
{
    const HINSTANCE module = CWinApp::ResourceModule();
    // Shared icons belong to the system: nothing to free when the window goes.
    auto load = [module](int width, int height) {
        return static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, width, height, LR_SHARED));
    };
    if (HICON large = load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)))
        ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (HICON small = load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)))
        ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void CAppMainDlg::SetUpLayout()
{
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    fullWidth = window.right - window.left;
    fullHeight = window.bottom - window.top;

    HWND list = Item(IDC_EVENT_LIST);
    RECT listRect{};
    ::GetWindowRect(list, &listRect);
    compactWidth = fullWidth;
    compactHeight = listRect.top - window.top - ::GetSystemMetrics(SM_CYFRAME);

    RECT client{};
    ::GetClientRect(Handle(), &client);
    listMarginX = client.right - (listRect.right - listRect.left);
    listMarginY = client.bottom - (listRect.bottom - listRect.top);

    ::SetWindowPos(Handle(), nullptr, 0, 0, compactWidth, compactHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetUpEventList(list);
}

void CAppMainDlg::SetUpEventList(HWND list)
{
    RECT listRect{};
    ::GetWindowRect(list, &listRect);
    const std::wstring heading = LoadResourceString(IDS_EVENTS_COLUMN);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = (listRect.right - listRect.left) - (3 * ::GetSystemMetrics(SM_CXVSCROLL)) / 2;
    column.pszText = const_cast<wchar_t*>(heading.c_str()); // the list copies the text
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    const int bits = ScreenBitsPerPixel();
    const UINT strip = bits >= 8 ? IDB_EVENTS_256 : IDB_EVENTS_16;
    if (imageList.Create(16, 16, ILC_MASK | CImageList::ColourFlag(bits), 0, 5))
    {
        imageList.AddMaskedResource(CWinApp::ResourceModule(), strip, kTransparent);
        ::SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imageList.Get()));
    }
}

void CAppMainDlg::OnDestroy()
{
    // The list would destroy the image list with itself; the dialog owns it.
    ::SendMessageW(Item(IDC_EVENT_LIST), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    {
        CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
        engine->AttachSink(nullptr);
    }
    events_.Detach();
}

INT_PTR CAppMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunningChangedMessage)
    {
        OnRunningChanged(wParam != 0);
        return TRUE;
    }
    if (message == WM_NOTIFY && lParam)
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_EVENT_LIST && header->code == LVN_GETDISPINFOW)
        {
            events_.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
            return TRUE;
        }
        if (header->idFrom == IDC_EVENT_LIST && header->code == LVN_ODFINDITEMW)
        {
            const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
            ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, events_.FindRow(find->iStart, find->lvfi));
            return TRUE;
        }
    }
    return CDialog::HandleMessage(message, wParam, lParam);
}

void CAppMainDlg::OnRunningChanged(bool running)
{
    for (int id : {IDC_STATUS_TEXT, IDC_PROGRESS})
        ::ShowWindow(Item(id), running ? SW_SHOW : SW_HIDE);

    HWND active = Item(running ? IDC_STOP : IDC_EXECUTE);
    HWND inactive = Item(running ? IDC_EXECUTE : IDC_STOP);
    ::EnableWindow(active, TRUE);
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(active), TRUE);
    ::EnableWindow(inactive, FALSE);

    for (int id : {IDC_VERBOSE, IDC_SAVE_REPORT, IDC_OUTPUT_LABEL, IDC_OUTPUT_FOLDER, IDC_BROWSE})
        ::EnableWindow(Item(id), running ? FALSE : TRUE);
}

bool CAppMainDlg::OnCommand(int id, int notification, HWND control)
{
    if (notification == BN_CLICKED)
    {
        switch (id)
        {
        case IDC_EXECUTE:
            OnExecute();
            return true;
        case IDC_STOP:
            OnStop();
            return true;
        case IDC_BROWSE:
            OnBrowse();
            return true;
        default:
            break;
        }
    }
    return CDialog::OnCommand(id, notification, control);
}

CWorkerThread* CAppMainDlg::CreateWorker()
{
    return CWorkerThread::CreateSuspended(&TestThreadProc, engine);
}

void CAppMainDlg::OnExecute()
{
    // The previous worker may still hold the lock in its end phase, sending to these controls: the wait
    // keeps handling what it sends, and the run starts only once it has let go.
    CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
    if (engine->runningThread)
        return; // a click that reached the button while a run was under way
    UpdateData(true);
    // A Stop pressed too late for the previous run must not end this one.
    engine->stopEvent.ResetEvent();

    CWorkerThread* worker = CreateWorker();
    if (!worker)
    {
        MessageBoxOf(Handle(), IDS_THREAD_FAILED, MB_ICONERROR);
        return;
    }
    ++runNumber_;
    engine->SetRunning(worker);
    if (!ResumeWorker(worker))
    {
        // The run never started: the window must not stay in its running state for ever.
        worker->Discard();
        engine->SetRunning(nullptr);
        MessageBoxOf(Handle(), IDS_THREAD_FAILED, MB_ICONERROR);
        return;
    }
    // The worker waits at its start barrier until this handler lets go of the lock.
    if (!IsResizable())
        Expand();
}

bool CAppMainDlg::ResumeWorker(CWorkerThread* worker)
{
    return worker->Resume();
}

void CAppMainDlg::OnStop()
{
    const unsigned run = runNumber_;
    CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
    // While this waited, its run may have ended and another begun; the press belongs to the first.
    if (engine->runningThread && run == runNumber_)
        engine->stopEvent.SetEvent();
}

void CAppMainDlg::OnBrowse()
{
    std::wstring folder;
    if (PickFolder(Handle(), ItemText(IDC_OUTPUT_FOLDER), LoadResourceString(IDS_CHOOSE_OUTPUT_FOLDER),
                   folder) == S_OK)
        ::SetDlgItemTextW(Handle(), IDC_OUTPUT_FOLDER, folder.c_str());
}

void CAppMainDlg::OnOK()
{
    HWND list = Item(IDC_EVENT_LIST);
    if (::GetFocus() == list)
        ActivateRow(
            static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

bool CAppMainDlg::OnNotify(const NMHDR* header)
{
    if (header->idFrom != IDC_EVENT_LIST)
        return false;
    switch (header->code)
    {
    case NM_DBLCLK:
        ActivateRow(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
        return true;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == 'C' && ::GetKeyState(VK_CONTROL) < 0)
        {
            CopyEvents(true);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CAppMainDlg::OnContextMenu(HWND window, POINT point)
{
    HWND list = Item(IDC_EVENT_LIST);
    if (window != list)
        return false;
    const int selected =
        static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (point.x == -1 && point.y == -1)
    {
        // From the keyboard: below the selected row, or at the list's corner.
        RECT row{};
        row.left = LVIR_LABEL;
        point = {0, 0};
        if (selected >= 0 && ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(selected),
                                            reinterpret_cast<LPARAM>(&row)))
            point = {row.left, row.bottom};
        ::ClientToScreen(list, &point);
    }
    CMenu menu(::CreatePopupMenu());
    if (!menu)
        return true;
    const bool hasRows = ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0;
    bool hasReport = false;
    {
        CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
        hasReport = !engine->reportPath.empty() && !engine->runningThread;
    }
    ::AppendMenuW(menu.Get(), MF_STRING | (selected >= 0 ? 0 : MF_GRAYED), IDM_COPY_ROW,
                  LoadResourceString(IDS_COPY_ROW).c_str());
    ::AppendMenuW(menu.Get(), MF_STRING | (hasRows ? 0 : MF_GRAYED), IDM_COPY_ALL,
                  LoadResourceString(IDS_COPY_ALL).c_str());
    ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.Get(), MF_STRING | (hasReport ? 0 : MF_GRAYED), IDM_OPEN_REPORT,
                  LoadResourceString(IDS_OPEN_REPORT).c_str());
    ::AppendMenuW(menu.Get(), MF_STRING | (hasReport ? 0 : MF_GRAYED), IDM_SHOW_IN_FOLDER,
                  LoadResourceString(IDS_SHOW_IN_FOLDER).c_str());
    const UINT command = static_cast<UINT>(::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                            point.x, point.y, 0, Handle(), nullptr));
    if (command == IDM_COPY_ROW)
        CopyEvents(true);
    else if (command == IDM_COPY_ALL)
        CopyEvents(false);
    else if (command == IDM_OPEN_REPORT)
        OpenReport();
    else if (command == IDM_SHOW_IN_FOLDER)
        ShowReportInFolder();
    return true;
}

void CAppMainDlg::CopyEvents(bool selectedOnly)
{
    // The list knows which rows are selected; the rows themselves are the dialog's.
    std::vector<int> selected;
    if (selectedOnly)
    {
        HWND list = Item(IDC_EVENT_LIST);
        for (int row = static_cast<int>(
                 ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
             row >= 0; row = static_cast<int>(
                           ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)))
            selected.push_back(row);
    }
    const std::wstring text = EventRowsText(events_.Rows(), selectedOnly ? &selected : nullptr);
    if (!text.empty())
        CopyTextToClipboard(Handle(), text);
}

void CAppMainDlg::ActivateRow(int row)
{
    {
        CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
        if (row < 0 || row != engine->reportRow)
            return;
    }
    OpenReport();
}

void CAppMainDlg::OpenReport()
{
    std::wstring page;
    {
        CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
        page = engine->pagePath;
    }
    if (page.empty())
    {
        ShowReportInFolder(); // no page was written: the report itself, in its folder
        return;
    }
    // The page by its full path, with the program that the user chose for web pages.
    ::ShellExecuteW(Handle(), L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CAppMainDlg::ShowReportInFolder()
{
    std::wstring report;
    {
        CScopedLock lock(*engine, CScopedLock::Wait::HandlingSentMessages);
        report = engine->reportPath;
    }
    if (report.empty())
        return;
    // The shell opens the folder with the report selected. No program is started by name: explorer.exe
    // would be looked for in the working directory first, where anyone may have left one.
    PIDLIST_ABSOLUTE item = ::ILCreateFromPathW(report.c_str());
    if (!item)
        return;
    ::SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ::ILFree(item);
}

bool CAppMainDlg::OnClose()
{
    if (engine->runningThread)
    {
        MessageBoxOf(Handle(), IDS_STILL_RUNNING, MB_ICONEXCLAMATION);
        return true;
    }
    EndDialog(IDCANCEL);
    return true;
}

bool CAppMainDlg::OnSysCommand(UINT command, LPARAM /*position*/)
{
    if ((command & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CAboutDlg about(Handle());
    about.DoModal();
    return true;
}

bool CAppMainDlg::IsResizable() const
{
    return (::GetWindowLongW(Handle(), GWL_STYLE) & WS_THICKFRAME) != 0;
}

void CAppMainDlg::Expand()
{
    const LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
    ::SetWindowLongW(Handle(), GWL_STYLE, style | WS_THICKFRAME);
    // The new frame is drawn at once; the size change that comes with it lays out the list.
    ::SetWindowPos(Handle(), nullptr, 0, 0, fullWidth, fullHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CAppMainDlg::OnSize(UINT type, int width, int height)
{
    CDialog::OnSize(type, width, height);
    if (!IsResizable() || type == SIZE_MINIMIZED)
        return;
    ::SetWindowPos(Item(IDC_EVENT_LIST), nullptr, 0, 0, width - listMarginX, height - listMarginY,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CAppMainDlg::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (!info || !IsResizable())
        return false;
    info->ptMinTrackSize.x = fullWidth;
    info->ptMinTrackSize.y = fullHeight;
    return true;
}

} // namespace corvane
