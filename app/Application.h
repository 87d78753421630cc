#pragma once
// The application object: prepares the common controls and COM, runs the main dialog over one engine.

#include "framework/WinApp.h"

namespace corvane {

class CApplication : public CWinApp
{
public:
    CApplication() = default;

    // Runs the whole program and returns FALSE, so no message loop follows it.
    BOOL InitInstance() override;
};

} // namespace corvane
