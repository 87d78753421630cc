#include "app/Application.h"

#include "app/AppMainDlg.h"
#include "engine/ReportData.h"
#include "framework/ComInitialization.h"
#include "framework/StringTable.h"
#include "res/resource.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>

namespace corvane {

BOOL CApplication::InitInstance()
{
    ::InitCommonControls();
    CWinApp::InitInstance();

    // A failure is only reported: the worker initialises COM for itself, so the report still works.
    CComInitialization com;
    const HRESULT hr = com.Initialize();
    if (FAILED(hr))
        MessageBox(nullptr, FormatResourceString(IDS_COM_INIT_FAILED, static_cast<unsigned>(hr)),
                   MB_ICONERROR);

    {
        auto engine = std::make_unique<CReportData>();
        auto dialog = std::make_unique<CAppMainDlg>(engine.get());
        mainWindow = dialog.get();
        dialog->DoModal();

        // Uninitialised, when it was initialised, before the dialog and the engine go.
        com.Reset();
        mainWindow = nullptr;
        dialog.reset();
        engine.reset();
    }
    return FALSE;
}

} // namespace corvane
