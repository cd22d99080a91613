// The installer's six wizard pages. Each page's Back and Next answer the
// template id of the page to show, or -1 to stay.
#pragma once

#include "SetupPage.h"

class XPropertyPageRestart : public XPropertyPageSetup {
public:
    XPropertyPageRestart() : XPropertyPageSetup(IDD_RESTART, IDC_PICTURE_FRAME) {}
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override { return IDD_FOLDER_PATH; }
};

class XPropertyPageUninstall : public XPropertyPageSetup {
public:
    XPropertyPageUninstall() : XPropertyPageSetup(IDD_UNINSTALL, IDC_PICTURE_FRAME, kShowsExitPage) {}
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;   // "Uninstall"
    LRESULT OnWizardNext() override { return IDD_FOLDER_PATH; }   // "Reinstall"
};

class XPropertyPageFolderPath : public XPropertyPageSetup {
public:
    XPropertyPageFolderPath() : XPropertyPageSetup(IDD_FOLDER_PATH, IDC_PICTURE_FRAME, kShowsExitPage) {}
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

private:
    void Refuse(int control, const CString& message);
};

class XPropertyPageCopyFile : public XPropertyPageSetup {
public:
    XPropertyPageCopyFile() : XPropertyPageSetup(IDD_COPY_FILE, IDC_PICTURE_FRAME, kShowsExitPage) {}
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;
};

class XPropertyPageFinish : public XPropertyPageSetup {
public:
    XPropertyPageFinish() : XPropertyPageSetup(IDD_FINISH, IDC_FINISH_FRAME) {}
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

protected:
    void PaintPicture(HDC dc) override;
};

class XPropertyPageExit : public XPropertyPageSetup {
public:
    XPropertyPageExit() : XPropertyPageSetup(IDD_EXIT, IDC_PICTURE_FRAME) {}
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override { return IDD_FOLDER_PATH; }   // "Setup"
};
