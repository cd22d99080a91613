// The main frame's creation, bars, notification-area icon and status panes.
// The capture messages it receives are handled in MainFrameDispatch.cpp.
#include "MainFrame.h"

#include <cstdio>

#include "../../../hook/Kapthook.h"
#include "AppServices.h"
#include "ComCtlVersion.h"
#include "CommandBars.h"
#include "DisplayImage.h"
#include "DocumentCalls.h"
#include "ExplorerBarCalls.h"
#include "Settings.h"
#include "TitleBarDecorations.h"
#include "resource.h"

namespace {

const char kWindowProperty[] = "Kaptura";
const UINT kTimerId = 1;
const UINT kTimerMilliseconds = 100;
const UINT kToolBarId = 0xE800;
const UINT kStatusBarId = 0xE801;

const UINT kIndicators[] = {
    ID_SEPARATOR, ID_INDICATOR_IMAGE_SIZE, ID_INDICATOR_IMAGE_DEPTH, ID_INDICATOR_IMAGE_TIME,
    ID_INDICATOR_DOC_COUNT};

// The time text, a blank and the date text of a time stamp.
CString FormatImageTime(int32_t stamp)
{
    CString date, time;
    FormatTimeStamp(stamp, date, time);
    return time + " " + date;
}

}  // namespace

IMPLEMENT_DYNAMIC(XMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(XMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_CAPTURE_TRAY, OnTrayNotify)
    ON_MESSAGE(WM_BRING_FORWARD, OnBringForward)
    ON_COMMAND(ID_VIEW_KAPTURA_EXPLORER, OnViewExplorer)
    ON_UPDATE_COMMAND_UI(ID_VIEW_KAPTURA_EXPLORER, OnUpdateViewExplorer)
    ON_COMMAND(ID_TRAY_OPEN, OnTrayOpen)
    ON_COMMAND(ID_TRAY_HIDE, OnTrayHide)
    ON_COMMAND(ID_TRAY_REMOVE_ICON, OnTrayRemoveIcon)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CLOSE_ALL, OnUpdateWindowCloseAll)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_IMAGE_SIZE, OnUpdateImageSize)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_IMAGE_DEPTH, OnUpdateImageDepth)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_IMAGE_TIME, OnUpdateImageTime)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_DOC_COUNT, OnUpdateDocumentCount)
    // Capture dispatch.
    ON_MESSAGE(WM_CAPTURE_REQUEST, OnCaptureRequest)
    ON_MESSAGE(WM_CAPTURE_PROGRESS, OnProgress)
    ON_MESSAGE(WM_PROGRESS_OVER, OnProgressOver)
    ON_MESSAGE(WM_CAPTURE_HOTKEY, OnHotkey)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
    ON_WM_PALETTECHANGED()
    ON_WM_WININICHANGE()
    ON_WM_DEVMODECHANGE()
    ON_COMMAND(ID_WINDOW_CLOSE_ALL, OnWindowCloseAll)
END_MESSAGE_MAP()

XMainFrame::XMainFrame()
{
    ZeroMemory(&trayIcon, sizeof trayIcon);
}

XMainFrame::~XMainFrame()
{
    delete coolBar;
    if (frozenScreen)
        DeleteObject(frozenScreen);
}

BOOL XMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The title stays the application title whatever document is active.
    cs.style &= ~FWS_ADDTOTITLE;
    return CMDIFrameWnd::PreCreateWindow(cs);
}

void XMainFrame::RecalcLayout(BOOL)
{
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
}

int XMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CMDIFrameWnd::OnCreate(cs) == -1)
        return -1;
    if ((!CreateCoolBar() && !CreatePlainToolBar()) || !CreateStatusBar() || !CreateExplorerBar())
        return -1;
    if (RunMode[kRunTrayIcon])
        AddTrayIcon();
    ShowExplorerBar(Session[kSessionExplorerShown] != 0);
    SetProp(kWindowProperty, reinterpret_cast<HANDLE>(1));
    SetTimer(kTimerId, kTimerMilliseconds);
    return 0;
}

bool XMainFrame::CreateCoolBar()
{
    comctlVersion = ComCtlVersion();
    if (comctlVersion <= 470)
        return false;
    coolBar = new CMyCoolBar;
    if (!coolBar->Create(this, kCoolBarWindowStyle, CBRS_ALIGN_TOP, kToolBarId)) {
        // Should the rebar fail after all, the plain toolbar serves.
        delete coolBar;
        coolBar = nullptr;
        return false;
    }
    coolBar->SetBandColours(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNFACE));
    coolBar->MenuBar().LoadFrameMenu();
    menuManager.AttachFrame(m_hWnd);
    menuManager.LoadToolbarImages(IDR_MAIN_TOOLBAR);
    return true;
}

void XMainFrame::FinishMenuBar()
{
    if (coolBar && coolBar->MenuBar().m_hWnd)
        coolBar->MenuBar().RemoveFrameMenuNow();
}

BOOL XMainFrame::PreTranslateMessage(MSG* msg)
{
    if (coolBar && coolBar->MenuBar().m_hWnd && coolBar->MenuBar().FilterFrameKey(msg))
        return TRUE;
    return CMDIFrameWnd::PreTranslateMessage(msg);
}

bool XMainFrame::CreatePlainToolBar()
{
    if (!toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolBarId) ||
        !toolBar.LoadToolBar(IDR_MAIN_TOOLBAR))
        return false;
    toolBar.SetBarStyle(toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&toolBar);
    return true;
}

bool XMainFrame::CreateStatusBar()
{
    if (!statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, kStatusBarId) ||
        !statusBar.SetIndicators(kIndicators, sizeof kIndicators / sizeof kIndicators[0]))
        return false;
    UINT id, style;
    int width;
    statusBar.GetPaneInfo(0, id, style, width);
    statusBar.SetPaneInfo(0, id, SBPS_STRETCH, width);
    return true;
}

bool XMainFrame::CreateExplorerBar()
{
    return explorerBar.Create(this, IDD_EXPLORER_BAR, CBRS_LEFT | CBRS_SIZE_DYNAMIC, IDW_EXPLORER_BAR) != FALSE;
}

void XMainFrame::ShowExplorerBar(bool show)
{
    ShowControlBar(&explorerBar, show, FALSE);
}

bool XMainFrame::RefuseWhileDialogRuns()
{
    if (::IsWindowEnabled(m_hWnd))
        return false;
    ShowStringMessage(IDS_CLOSE_DIALOG_FIRST);
    return true;
}

void XMainFrame::OnClose()
{
    if (RefuseWhileDialogRuns())
        return;
    SaveExplorerSelection();
    RemoveProp(kWindowProperty);
    const HWND window = m_hWnd;
    CMDIFrameWnd::OnClose();
    // Closing was cancelled at a save prompt: a second start must still
    // find this instance.
    if (::IsWindow(window))
        ::SetPropA(window, kWindowProperty, reinterpret_cast<HANDLE>(1));
}

void XMainFrame::OnDestroy()
{
    KillTimer(kTimerId);
    RemoveTrayIcon();
    CMDIFrameWnd::OnDestroy();
}

void XMainFrame::OnSysColorChange()
{
    // Only the rebar keeps colours of its own; the plain toolbar follows the
    // system by itself.
    CMDIFrameWnd::OnSysColorChange();
    if (coolBar)
        coolBar->SetBandColours(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNFACE));
}

void XMainFrame::AddTrayIcon()
{
    trayIcon.cbSize = sizeof trayIcon;
    trayIcon.hWnd = m_hWnd;
    trayIcon.uID = IDR_MAINFRAME;
    trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIcon.uCallbackMessage = WM_CAPTURE_TRAY;
    trayIcon.hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    lstrcpynA(trayIcon.szTip, ApplicationTitle, sizeof trayIcon.szTip);
    Shell_NotifyIconA(NIM_ADD, &trayIcon);
}

void XMainFrame::RemoveTrayIcon()
{
    if (trayIcon.cbSize)
        Shell_NotifyIconA(NIM_DELETE, &trayIcon);
}

LRESULT XMainFrame::OnTrayNotify(WPARAM, LPARAM mouseMessage)
{
    if (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_LBUTTONDBLCLK)
        return 0;
    HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup) {
        if (menu)
            DestroyMenu(menu);
        return 0;
    }
    if (mouseMessage == WM_RBUTTONUP) {
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT cursor;
        GetCursorPos(&cursor);
        SetForegroundWindow();
        TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    } else {
        SendMessage(WM_COMMAND, GetMenuItemID(popup, 0), 0);
    }
    DestroyMenu(menu);
    return 1;
}

void XMainFrame::OnViewExplorer()
{
    Session[kSessionExplorerShown] = !Session[kSessionExplorerShown];
    ShowExplorerBar(Session[kSessionExplorerShown] != 0);
}

void XMainFrame::OnUpdateViewExplorer(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(Session[kSessionExplorerShown] != 0);
}

void XMainFrame::OnTrayOpen()
{
    BringToFront();
    RunMode[kRunShowMainWindow] = 1;
}

LRESULT XMainFrame::OnBringForward(WPARAM, LPARAM)
{
    BringToFront();
    return 0;
}

void XMainFrame::OnTrayHide()
{
    RunMode[kRunShowMainWindow] = 0;
    ShowWindow(SW_HIDE);
}

void XMainFrame::OnTrayRemoveIcon()
{
    // RunMode keeps the icon on: it comes back at the next start.
    RemoveTrayIcon();
}

void XMainFrame::OnUpdateWindowCloseAll(CCmdUI* cmdUI)
{
    cmdUI->Enable(OpenImageDocumentCount() > 0);
}

void XMainFrame::OnUpdateImageSize(CCmdUI* cmdUI)
{
    DisplayImage* image = GetActiveTopImage();
    if (!image) {
        statusBar.SetPaneText(0, "");
        cmdUI->Enable(FALSE);
        return;
    }
    char text[64];
    snprintf(text, sizeof text, "%dw x %dh", static_cast<int>(image->width), static_cast<int>(image->height));
    cmdUI->SetText(text);
    statusBar.SetPaneText(0, image->name);
    cmdUI->Enable(TRUE);
}

void XMainFrame::OnUpdateImageDepth(CCmdUI* cmdUI)
{
    DisplayImage* image = GetActiveTopImage();
    if (!image) {
        cmdUI->Enable(FALSE);
        return;
    }
    char text[64];
    uint32_t colors = image->GetPaletteSize();
    if (colors)
        snprintf(text, sizeof text, "%d-bit, %u colors", image->bitCount, static_cast<unsigned>(colors));
    else
        snprintf(text, sizeof text, "%d-bit, 16.8M colors", image->bitCount);
    cmdUI->SetText(text);
    cmdUI->Enable(TRUE);
}

void XMainFrame::OnUpdateImageTime(CCmdUI* cmdUI)
{
    DisplayImage* image = GetActiveTopImage();
    cmdUI->SetText(image ? static_cast<LPCSTR>(FormatImageTime(image->timeStamp)) : "");
    cmdUI->Enable(TRUE);
}

void XMainFrame::OnUpdateDocumentCount(CCmdUI* cmdUI)
{
    char text[16];
    snprintf(text, sizeof text, "%03d", OpenImageDocumentCount());
    cmdUI->SetText(text);
    cmdUI->Enable(TRUE);
}

DisplayImage* GetActiveTopImage()
{
    CWnd* main = AfxGetMainWnd();
    XMainFrame* frame = main ? DYNAMIC_DOWNCAST(XMainFrame, main) : nullptr;
    if (!frame)
        return nullptr;
    return TopImageOfChildFrame(frame->MDIGetActive());
}
