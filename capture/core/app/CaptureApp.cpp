// Start-up and shut-down of the capture program, and the application's
// commands.
#include "CaptureApp.h"

#include <cstring>

#include "../../../framework/DocTemplate.h"
#include "../../../framework/Document.h"
#include "../../../hook/Kapthook.h"
#include "AppServices.h"
#include "AuxWindows.h"
#include "CaptureState.h"
#include "ClipboardImage.h"
#include "DocumentCalls.h"
#include "ExplorerBarCalls.h"
#include "ImageNotify.h"
#include "MainFrame.h"
#include "OptionDialogCalls.h"
#include "PrintCalls.h"
#include "Settings.h"
#include "SplashWindow.h"
#include "WorkImage.h"
#include "resource.h"

namespace {

const char kInstanceName[] = "Kaptura";
const DWORD kSplashMilliseconds = 3000;

XCaptureApp theApp;

// The top-level window marked with the instance property, or null.
HWND FindRunningInstance()
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT))
        if (GetPropA(window, kInstanceName))
            return window;
    return nullptr;
}

}  // namespace

DisplayImage* ImageToPrint = nullptr;

XCaptureApp& CaptureApp() { return theApp; }

BEGIN_MESSAGE_MAP(XCaptureApp, CWinApp)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_PIXORAMA, OnFilePixorama)
    ON_COMMAND(ID_FILE_BATCH_CONVERSION, OnFileBatchConversion)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_EDIT_PASTE_IMAGE, OnEditPasteImage)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE_IMAGE, OnUpdateEditPasteImage)
    ON_COMMAND(ID_VIEW_BACKGROUND, OnViewBackground)
    ON_COMMAND(ID_OPTIONS_KAPTURA_SETUP, OnOptionsKapturaSetup)
    ON_COMMAND(ID_OPTIONS_CAPTURE_SETUP, OnOptionsCaptureSetup)
    ON_COMMAND(ID_OPTIONS_CLOCK, OnOptionsClock)
    ON_COMMAND(ID_OPTIONS_SNAPSHOT_BUTTONS, OnOptionsSnapshotButtons)
    ON_COMMAND(ID_OPTIONS_HOTKEY_SETUP, OnOptionsHotkeySetup)
    ON_COMMAND(ID_OPTIONS_MASTER_RESET, OnOptionsMasterReset)
    ON_COMMAND(ID_OPTIONS_LOAD_SETTINGS, OnOptionsLoadSettings)
    ON_COMMAND(ID_OPTIONS_SAVE_SETTINGS, OnOptionsSaveSettings)
    ON_COMMAND(ID_HELP_USERS_GUIDE, OnHelpUsersGuide)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

XCaptureApp::XCaptureApp() = default;

bool XCaptureApp::CheckSingleInstance()
{
    // The mutex lives as long as this first instance.
    CreateMutexA(nullptr, TRUE, kInstanceName);
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    if (HWND running = FindRunningInstance()) {
        // The running frame brings itself forward; its settings stay as
        // they are (a program set to run in the background stays so).
        DWORD runningProcess = 0;
        GetWindowThreadProcessId(running, &runningProcess);
        AllowSetForegroundWindow(runningProcess);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(running, WM_BRING_FORWARD, 0, 0, SMTO_NORMAL, 5000, &result);
        SetForegroundWindow(running);
    }
    InstallHooks(1);
    return false;
}

void XCaptureApp::SetHelpPath()
{
    lstrcpynA(HelpFilePath, m_pszHelpFilePath ? m_pszHelpFilePath : "", sizeof HelpFilePath);
    char* slash = strrchr(HelpFilePath, '\\');
    char* name = slash ? slash + 1 : HelpFilePath;
    lstrcpynA(name, "Kaptura99.hlp", static_cast<int>(sizeof HelpFilePath - (name - HelpFilePath)));
    m_pszHelpFilePath = HelpFilePath;
}

BOOL XCaptureApp::InitInstance()
{
    if (!CheckSingleInstance())
        return FALSE;
    Enable3dControls();
    LoadApplicationTitle();
    char modulePath[MAX_PATH] = "";
    GetModuleFileNameA(m_hInstance, modulePath, sizeof modulePath);
    SetSettingsPaths(modulePath);
    SetProfileName(SettingsPath);
    SetHelpPath();
    LoadStdProfileSettings(4);
    ShortcutUpdater = UpdateShortcuts;
    LoadRunModeAndSession();

    const DWORD startTick = GetTickCount();
    SplashWindow splash;
    if (RunMode[kRunLogo])
        splash.Show();

    imageTemplate = CreateImageDocTemplate();
    AddDocTemplate(imageTemplate);
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    XMainFrame* frame = new XMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        // A frame whose window could not be made has gone with it.
        splash.Close();
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->FinishMenuBar();
    frame->DragAcceptFiles();
    ImageMessageReporter = ShowStringMessage;
    SendImageProgressTo(frame->m_hWnd);

    LoadAllSettings();
    settingsLoaded = true;
    RegisterHelperWindowClasses();
    InstallHooks(1);
    PassKapturaWnd(frame->m_hWnd);

    if (splash.IsShown()) {
        // The logo stays for its three seconds; nothing else runs meanwhile.
        while (GetTickCount() - startTick <= kSplashMilliseconds)
            Sleep(50);
        splash.Close();
    }
    ShowMainFrameAsRunModeSays();
    CreateWorkImage();
    ImageToPrint = nullptr;
    RestoreExplorerSelection();
    return TRUE;
}

void XCaptureApp::ShowMainFrameAsRunModeSays()
{
    if (RunMode[kRunShowMainWindow] != 1)
        return;  // runs in the background: tray icon and hot keys only
    m_pMainWnd->CenterWindow();
    m_pMainWnd->ShowWindow(RunMode[kRunMinimised] ? SW_SHOWMINIMIZED : m_nCmdShow);
    m_pMainWnd->UpdateWindow();
}

int XCaptureApp::ExitInstance()
{
    SendImageProgressTo(nullptr);
    ImageMessageReporter = nullptr;
    DeleteWorkImage();
    ReleaseCaptureResources();
    // A second start, or one whose main frame could not be made, leaves the
    // settings file to the instance that loaded it.
    if (settingsLoaded)
        SaveSessionSettings();
    return CWinApp::ExitInstance();
}

// ---- Commands -------------------------------------------------------------------

void XCaptureApp::OnFileOpen()
{
    char name[MAX_PATH] = "";
    ModalBusy = 1;
    const bool explorerStyle = LOBYTE(LOWORD(WindowsVersion)) > 3;
    int chosen = explorerStyle ? RunExplorerOpenDialog(name, sizeof name) : RunOpenDialog(name, sizeof name);
    ModalBusy = 0;
    if (chosen != 1)
        return;
    m_pMainWnd->UpdateWindow();
    if (CDocument* document = OpenDocumentFile(name))
        document->SetTitle(name);
    // A file open already is only brought forward: its preview is not taken.
    if (PreviewLoaded) {
        PreviewLoaded = 0;
        CreateWorkImage();
    }
}

void XCaptureApp::OnFilePixorama() { WinExec("Pixorama99.exe", SW_SHOW); }

void XCaptureApp::OnFileBatchConversion() { WinExec("Morfix99.exe", SW_SHOW); }

void XCaptureApp::OnFilePrintSetup() { RunPrinterSetup(); }

void XCaptureApp::OnEditPasteImage()
{
    // The work image holds nothing between operations; cleared here, a
    // status still 0 after the paste says the clipboard could not be opened
    // (and "Cannot open Clipboard." has been shown).
    if (WorkImage)
        WorkImage->Clear();
    if (!PasteClipboardIntoWorkImage(m_pMainWnd->m_hWnd) && WorkImage->status == 0)
        return;
    // Without pixels this shows the status the paste left ("No bitmap in
    // Clipboard.").
    OpenWorkImageAsDocument();
}

void XCaptureApp::OnUpdateEditPasteImage(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB));
}

void XCaptureApp::OnViewBackground()
{
    static COLORREF custom[16];
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_pMainWnd->m_hWnd;
    dialog.rgbResult = static_cast<COLORREF>(Session[kSessionViewBackground]);
    dialog.lpCustColors = custom;
    dialog.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorA(&dialog))
        Session[kSessionViewBackground] = static_cast<int>(dialog.rgbResult);
}

void XCaptureApp::OnOptionsKapturaSetup()
{
    int values[8];
    for (int i = 0; i < 8; ++i)
        values[i] = RunMode[i];
    if (!RunSetupDialog(values))
        return;
    for (int i = 0; i < 8; ++i)
        RunMode[i] = values[i];
    UpdateShortcuts(RunMode[kRunStartWithWindows], RunMode[kRunDesktopKaptura], RunMode[kRunDesktopBrowser],
                    RunMode[kRunDesktopConverter]);
    SaveSessionSettings();
    XMainFrame* frame = static_cast<XMainFrame*>(m_pMainWnd);
    if (RunMode[kRunTrayIcon])
        frame->AddTrayIcon();
    else
        frame->RemoveTrayIcon();
    if (!RunMode[kRunShowMainWindow])
        ShowStringMessage(IDS_RUNS_IN_BACKGROUND);
    if (RunMode[kRunMinimised])
        frame->ShowWindow(SW_MINIMIZE);
    if (!RunMode[kRunShowMainWindow])
        frame->ShowWindow(SW_HIDE);
}

void XCaptureApp::OnOptionsCaptureSetup() { RunCaptureSetupSheet(); }

void XCaptureApp::OnOptionsClock() { RunClockDialog(); }

void XCaptureApp::OnOptionsSnapshotButtons() { RunSnapshotButtonsDialog(); }

void XCaptureApp::OnOptionsHotkeySetup() { RunHotkeySetupDialog(LastConfirmedHotkeyRow()); }

void XCaptureApp::OnOptionsMasterReset()
{
    CString question;
    question.LoadString(IDS_ASK_MASTER_RESET);
    if (AfxMessageBox(question, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    DeleteFileA(SettingsPath);
    LoadRunModeAndSession();
    LoadAllSettings();
    ResetPrintLibrary();
}

void XCaptureApp::OnHelpUsersGuide() { WinHelp(0, HELP_FINDER); }

void XCaptureApp::OnAppAbout() { RunAboutDialog(); }
