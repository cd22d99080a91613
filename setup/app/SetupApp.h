// The installer's application: the background, then the wizard, then the end
// (no message loop of its own).
#pragma once

#include "WinApp.h"

class XSetupApp : public CWinApp {
public:
    XSetupApp() : CWinApp("Kaptura 99 Setup") {}
    BOOL InitInstance() override;
};
