// The capture program's application object: start-up, shut-down and the
// commands no window takes (Open, the other programs, options, settings
// files, help).
#pragma once

#include "../../../framework/WinApp.h"

class CMultiDocTemplate;
class DisplayImage;

class XCaptureApp : public CWinApp {
public:
    XCaptureApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The one template of the image documents.
    CMultiDocTemplate* imageTemplate = nullptr;

protected:
    afx_msg void OnFileOpen();
    afx_msg void OnFilePixorama();
    afx_msg void OnFileBatchConversion();
    afx_msg void OnFilePrintSetup();
    afx_msg void OnEditPasteImage();
    afx_msg void OnUpdateEditPasteImage(CCmdUI* cmdUI);
    afx_msg void OnViewBackground();
    afx_msg void OnOptionsKapturaSetup();
    afx_msg void OnOptionsCaptureSetup();
    afx_msg void OnOptionsClock();
    afx_msg void OnOptionsSnapshotButtons();
    afx_msg void OnOptionsHotkeySetup();
    afx_msg void OnOptionsMasterReset();
    afx_msg void OnOptionsLoadSettings();
    afx_msg void OnOptionsSaveSettings();
    afx_msg void OnHelpUsersGuide();
    afx_msg void OnAppAbout();

    DECLARE_MESSAGE_MAP()

private:
    bool settingsLoaded = false;   // every setting read: exit writes them back
    // False when another instance runs: it has been brought forward.
    bool CheckSingleInstance();
    void SetHelpPath();
    void ShowMainFrameAsRunModeSays();
};

XCaptureApp& CaptureApp();

// Set by the print commands while an image is being printed.
extern DisplayImage* ImageToPrint;

// Writes every key of the settings (the hide hot key does this).
void WriteAllSettings();
// Copies the settings file to or from another file (Save and Load Settings);
// false when the copy could not be made ("Insufficient memory!" shown when
// memory was short); the target is replaced only by a whole copy.
bool CopySettingsFile(const char* from, const char* to);
// Makes or removes the shortcuts; 1 on success, 0 on failure.
int UpdateShortcuts(int startUp, int desktopKaptura, int desktopBrowser, int desktopConverter);
