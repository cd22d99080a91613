// The installer's wizard "KT99": six pages, without Help. Leaving it while
// an install is under way leads to the Exit page (the pages see to that).
#pragma once

#include "SetupPages.h"

class XPropertySheetSetup : public CPropertySheet {
public:
    // Starts on the Uninstall page when a copy is installed, else on the
    // folder page.
    XPropertySheetSetup(CWnd* parent, bool installedCopyKnown);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    XPropertyPageRestart m_restart;
    XPropertyPageUninstall m_uninstall;
    XPropertyPageFolderPath m_folderPath;
    XPropertyPageCopyFile m_copyFile;
    XPropertyPageFinish m_finish;
    XPropertyPageExit m_exit;
};
