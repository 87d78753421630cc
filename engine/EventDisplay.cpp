// The engine's display operations: event rows, status text, progress bar and the running state.
// They are called from the worker and send their messages, so each returns once the dialog's thread
// has updated the control.
#include "engine/ReportData.h"
#include "engine/StringTable.h"
#include "res/resource.h"

#include <commctrl.h>

namespace corvane {

namespace {
const wchar_t kDefaultStatusText[] = L"";

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return window ? ::SendMessageW(window, message, wParam, lParam) : 0;
}

void ShowAsLatestRow(HWND list, int index)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

LVITEMW MakeRow(int position, DWORD style, const wchar_t* text)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT | LVIF_STATE;
    item.iItem = position;
    item.pszText = const_cast<wchar_t*>(text ? text : L""); // the list copies the text
    item.iImage = static_cast<int>(LOWORD(style));
    item.iIndent = static_cast<int>(HIWORD(style) & 0x7FFF);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    return item;
}

int RowCount(HWND list)
{
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT));
}
} // namespace

const wchar_t* const DefaultStatusText = kDefaultStatusText;

int CReportData::InsertEvent(int position, DWORD style, const wchar_t* text)
{
    if (!eventList)
        return -1;
    const int count = RowCount(eventList);
    if (position < 0 || position > count)
        position = count;
    LVITEMW item = MakeRow(position, style, text);
    const int index = static_cast<int>(Send(eventList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index >= 0)
        ShowAsLatestRow(eventList, index);
    return index;
}

int CReportData::UpdateEvent(int position, DWORD style, const wchar_t* text)
{
    const int count = RowCount(eventList);
    if (count == 0 || position >= count)
        return InsertEvent(position, style, text);
    if (position < 0)
        position = count - 1;
    LVITEMW item = MakeRow(position, style, text);
    if (Send(eventList, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        ShowAsLatestRow(eventList, position);
    return position;
}

int CReportData::RemoveEvent(int position)
{
    const int count = RowCount(eventList);
    if (position < 0)
    {
        Send(eventList, LVM_DELETEALLITEMS);
        return RowCount(eventList);
    }
    if (position >= count)
        return count;
    Send(eventList, LVM_DELETEITEM, static_cast<WPARAM>(position));
    return count - 1;
}

bool CReportData::UpdateProgress(int operation, int value, const wchar_t* text)
{
    switch (operation)
    {
    case ProgressReset:
        Send(progressBar, PBM_SETPOS, 0);
        if (value < 32767)
            Send(progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, value));
        else
            Send(progressBar, PBM_SETRANGE32, 0, value);
        break;
    case ProgressSetPos:
        Send(progressBar, PBM_SETPOS, static_cast<WPARAM>(value));
        break;
    case ProgressStep:
        Send(progressBar, PBM_DELTAPOS, 1);
        break;
    default:
        break;
    }
    if (text == DefaultStatusText)
    {
        const std::wstring defaultText = LoadResourceString(IDS_DEFAULT_STATUS);
        Send(statusText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(defaultText.c_str()));
    }
    else if (text)
    {
        Send(statusText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    return true;
}

void CReportData::SetRunning(CWorkerThread* thread)
{
    runningThread = thread;
    const bool running = thread != nullptr;
    if (statusText)
        ::ShowWindow(statusText, running ? SW_SHOW : SW_HIDE);
    if (progressBar)
        ::ShowWindow(progressBar, running ? SW_SHOW : SW_HIDE);

    // The button that stays enabled takes the focus before its partner is disabled, so the keyboard
    // never lands on a disabled control.
    HWND active = running ? stopButton : executeButton;
    HWND inactive = running ? executeButton : stopButton;
    if (active)
        ::EnableWindow(active, TRUE);
    if (dialog && active)
        Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(active), TRUE);
    if (inactive)
        ::EnableWindow(inactive, FALSE);

    if (dialog)
    {
        for (int id : {IDC_VERBOSE, IDC_SAVE_REPORT, IDC_OUTPUT_LABEL, IDC_OUTPUT_FOLDER, IDC_BROWSE})
        {
            if (HWND control = ::GetDlgItem(dialog, id))
                ::EnableWindow(control, running ? FALSE : TRUE);
        }
    }
}

int CReportData::InsertEventF(int position, DWORD style, UINT stringId, ...)
{
    va_list arguments;
    va_start(arguments, stringId);
    const std::wstring text = FormatResourceStringV(stringId, arguments);
    va_end(arguments);
    return InsertEvent(position, style, text.c_str());
}

int CReportData::UpdateEventF(int position, DWORD style, UINT stringId, ...)
{
    va_list arguments;
    va_start(arguments, stringId);
    const std::wstring text = FormatResourceStringV(stringId, arguments);
    va_end(arguments);
    return UpdateEvent(position, style, text.c_str());
}

} // namespace corvane
