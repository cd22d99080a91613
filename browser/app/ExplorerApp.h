// The image browser's application object: start-up and the commands that
// belong to no document (Batch Conversion, Print Setup, the user's guide,
// About).
#pragma once

#include "../../framework/WinApp.h"

class XExplorerApp : public CWinApp {
public:
    BOOL InitInstance() override;

    afx_msg void OnBatchConversion();
    afx_msg void OnPrintSetup();
    afx_msg void OnUsersGuide();
    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};
