// The converter's application object: settings in, the dialog, settings out.
#pragma once

#include "WinApp.h"

class XConvertApp : public CWinApp {
public:
    XConvertApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;

private:
    CString settingsPath_;
    CString helpPath_;
};
