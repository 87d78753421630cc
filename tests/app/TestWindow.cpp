#include "tests/app/TestWindow.h"

#include "res/resource.h"

#include <commctrl.h>

namespace corvane::test {

namespace {
HWND AddControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                int width, int height, int id)
{
    return ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                             nullptr);
}
} // namespace

CTestWindow::CTestWindow()
{
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    window_ = ::CreateWindowExW(0, L"#32770", L"Corvane test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                480, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    AddControl(window_, L"BUTTON", L"Run test in &verbose mode", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10, 200,
               16, IDC_VERBOSE);
    AddControl(window_, L"BUTTON", L"Save test results &report", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 30, 200,
               16, IDC_SAVE_REPORT);
    AddControl(window_, L"STATIC", L"&Output Folder:", 0, 10, 50, 90, 16, IDC_OUTPUT_LABEL);
    AddControl(window_, WC_EDITW, L"", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 100, 50, 300, 18,
               IDC_OUTPUT_FOLDER);
    AddControl(window_, L"BUTTON", L"&Browse...", BS_PUSHBUTTON | WS_TABSTOP, 410, 50, 80, 20, IDC_BROWSE);
    AddControl(window_, L"STATIC", L"Process is running...", 0, 10, 80, 380, 16, IDC_STATUS_TEXT);
    AddControl(window_, L"BUTTON", L"Execute", BS_PUSHBUTTON | WS_TABSTOP, 410, 80, 80, 20, IDC_EXECUTE);
    AddControl(window_, L"BUTTON", L"Stop", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 410, 105, 80, 20,
               IDC_STOP);
    AddControl(window_, PROGRESS_CLASSW, L"", WS_BORDER, 10, 105, 380, 14, IDC_PROGRESS);
    HWND list = AddControl(window_, WC_LISTVIEWW, L"",
                           WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS |
                               LVS_OWNERDATA,
                           10, 130, 600, 300, IDC_EVENT_LIST);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = 560;
    column.pszText = const_cast<wchar_t*>(L"Events");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ::SetWindowSubclass(window_, Answer, 1, reinterpret_cast<DWORD_PTR>(this));
    view_.Attach({window_, list, Control(IDC_PROGRESS), Control(IDC_STATUS_TEXT)});
    PumpMessages();
}

CTestWindow::~CTestWindow()
{
    view_.Detach();
    ::RemoveWindowSubclass(window_, Answer, 1);
    ::DestroyWindow(window_);
    PumpMessages();
}

std::vector<EventRow> CTestWindow::Rows() const
{
    HWND list = Control(IDC_EVENT_LIST);
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<EventRow> rows;
    for (int i = 0; i < count; ++i)
    {
        wchar_t text[4096] = {};
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = 4096;
        ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back({text, item.iImage, item.iIndent});
    }
    return rows;
}

int CTestWindow::SelectedRow() const
{
    return static_cast<int>(
        ::SendMessageW(Control(IDC_EVENT_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int CTestWindow::FocusedRow() const
{
    return static_cast<int>(
        ::SendMessageW(Control(IDC_EVENT_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

bool CTestWindow::IsRowVisible(int row) const
{
    HWND list = Control(IDC_EVENT_LIST);
    const int top = static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int perPage = static_cast<int>(::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + perPage;
}

std::wstring CTestWindow::StatusText() const
{
    wchar_t text[512] = {};
    ::GetWindowTextW(Control(IDC_STATUS_TEXT), text, 512);
    return text;
}

int CTestWindow::ProgressPosition() const
{
    return static_cast<int>(::SendMessageW(Control(IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

int CTestWindow::ProgressHigh() const
{
    return static_cast<int>(::SendMessageW(Control(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0));
}

LRESULT CALLBACK CTestWindow::Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                     DWORD_PTR self)
{
    auto* test = reinterpret_cast<CTestWindow*>(self);
    if (message == kRunningChangedMessage)
    {
        test->runningChanges_.push_back(wParam != 0);
        return 0;
    }
    if (message == WM_NOTIFY)
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_EVENT_LIST && header->code == LVN_GETDISPINFOW)
        {
            test->view_.FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
            return 0;
        }
        if (header->idFrom == IDC_EVENT_LIST && header->code == LVN_ODFINDITEMW)
        {
            const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
            return test->view_.FindRow(find->iStart, find->lvfi);
        }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void CTestWindow::PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace corvane::test
