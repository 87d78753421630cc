#include "app/Application.h"

#include "app/AppMainDlg.h"
#include "engine/ReportData.h"
#include "engine/StringTable.h"
#include "res/resource.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>

namespace corvane {

namespace {
const CWinApp::CommandEntry kCommands[] = {
    {CWinApp::HelpCommand, &CWinApp::OnHelp},
};
} // namespace

std::span<const CWinApp::CommandEntry> CApplication::CommandMap() const
{
    return kCommands;
}

BOOL CApplication::InitInstance()
{
    ::InitCommonControls();
    CWinApp::InitInstance();

    // A failure is only reported: the worker initialises COM for itself, so the report still works.
    const HRESULT hr = ::CoInitialize(nullptr);
    if (FAILED(hr))
        MessageBox(nullptr, FormatResourceString(IDS_COM_INIT_FAILED, static_cast<unsigned>(hr)),
                   MB_ICONERROR);

    {
        auto engine = std::make_unique<CReportData>();
        auto dialog = std::make_unique<CAppMainDlg>(engine.get());
        mainWindow = dialog.get();
        dialog->DoModal();

        // Uninitialised once whatever CoInitialize returned, and before the dialog and the engine go.
        ::CoUninitialize();
        mainWindow = nullptr;
        dialog.reset();
        engine.reset();
    }
    return FALSE;
}

} // namespace corvane
