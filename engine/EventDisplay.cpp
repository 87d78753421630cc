// The engine's display operations: event rows, status text, progress bar and the running state.
// They are called from the worker and send their messages, so each returns once the dialog's thread
// has updated the control. The rows and the painting of the list during a run are the event list's
// (EventList.cpp).
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
} // namespace

const wchar_t* const DefaultStatusText = kDefaultStatusText;

int CReportData::InsertEvent(int position, DWORD style, const wchar_t* text)
{
    return eventRows_.Insert(position, style, text);
}

int CReportData::UpdateEvent(int position, DWORD style, const wchar_t* text)
{
    return eventRows_.Update(position, style, text);
}

int CReportData::RemoveEvent(int position)
{
    return eventRows_.Remove(position);
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
    eventRows_.HoldPainting(running);
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
