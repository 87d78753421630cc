#pragma once
// The About box: a static dialog (template 100) reached from the main window's system menu.

#include "framework/Dialog.h"
#include "res/resource.h"

namespace corvane {

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(HWND parent = nullptr) : CDialog(IDD_ABOUTBOX, parent) {}
};

} // namespace corvane
