#include "ExplorerApp.h"

#include "../../capture/core/image/ImageNotify.h"
#include "../../framework/CommandLine.h"
#include "../../framework/DocTemplate.h"
#include "../../print/Pagent.h"
#include "../dialogs/BrowserDialogs.h"
#include "../document/ExplorerDoc.h"
#include "BrowserIds.h"
#include "BrowserState.h"
#include "MainFrame.h"

BEGIN_MESSAGE_MAP(XExplorerApp, CWinApp)
    ON_COMMAND(ID_BATCH_CONVERSION, OnBatchConversion)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnPrintSetup)
    ON_COMMAND(ID_HELP_USERS_GUIDE, OnUsersGuide)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

namespace {
XExplorerApp theApp;
}

BOOL XExplorerApp::InitInstance()
{
    Enable3dControls();
    // Drives without a disk answer the scan with an error, not a system box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    InitPaths();
    m_pszHelpFilePath = Browser.helpPath;
    LoadStdProfileSettings(0);
    ImageMessageReporter = ShowStringMessage;
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(XExplorerDoc), RUNTIME_CLASS(XMainFrame),
                                          nullptr));
    CCommandLineInfo commandLine;
    KfParseCommandLine(m_lpCmdLine, commandLine);
    if (!KfProcessShellCommand(*this, commandLine))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    LoadSettings();
    m_pMainWnd->SendMessage(WM_COMMAND, ID_VIEW_SELECT_FORMATS);
    return TRUE;
}

void XExplorerApp::OnBatchConversion() { WinExec("Morfix99.exe", SW_SHOW); }

void XExplorerApp::OnPrintSetup() { PrinterSetup("Pixorama", Browser.settingsPath); }

void XExplorerApp::OnUsersGuide() { ::WinHelpA(m_pMainWnd->GetSafeHwnd(), Browser.helpPath, HELP_KEY,
                                               reinterpret_cast<ULONG_PTR>("Sort Images")); }

void XExplorerApp::OnAppAbout()
{
    XDialogExplorerAbout dialog;
    dialog.DoModal();
}
