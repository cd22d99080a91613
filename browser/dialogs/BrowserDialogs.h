// The browser's dialogs: the scanner shown during a scan, the choice of
// formats and drives, the summary report and the about box.
#pragma once

#include "../../framework/Dialog.h"
#include "../model/BrowserFormats.h"

// Modeless while a scan runs; Cancel sets the scan's cancel flag and closes
// (destroys) the dialog at once.
class XDialogScanner : public CDialog {
public:
    XDialogScanner();
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void ShowPath(const char* path);
    // Closes the dialog when it is still open.
    void Close();

private:
    DWORD shownAt_ = 0;   // tick count of the path last shown
};

class XDialogSelection : public CDialog {
public:
    XDialogSelection();
    int formatFlags[kBrowserFormatCount];
    int driveFlags[kBrowserDriveCount];

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg void OnAllFormats();
    afx_msg void OnAllDrives();
    DECLARE_MESSAGE_MAP()
};

class XDialogReport : public CDialog {
public:
    XDialogReport();
    BOOL OnInitDialog() override;
};

class XDialogExplorerAbout : public CDialog {
public:
    XDialogExplorerAbout();
};

// The report's count and size control of each format, in format order.
extern const int kReportCountIds[kBrowserFormatCount];
