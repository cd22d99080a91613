// The capture program's main window: a multiple-document frame with its
// toolbar, status bar, folder-tree bar and notification-area icon. It is
// the one receiver of every capture request (hot keys and snapshot buttons
// from the hook library, the countdown, the program itself) and runs the
// 100 ms timer of the title-bar decorations and the delayed capture.
#pragma once

#include "../../../framework/ControlBars.h"
#include "../../../framework/MdiFrame.h"

#include "../../options/explorer/XDialogBar.h"
#include "CaptureDispatch.h"
#include "../../../ui/coolbars/CoolMenuManager.h"

class CMyCoolBar;

// Sent by a second start of the program to the running main frame, which
// comes forward and changes no setting.
const UINT WM_BRING_FORWARD = WM_APP + 1;
// Posted by the first progress report of a pixel loop: it arrives once the
// loop has returned, and gives the status bar back.
const UINT WM_PROGRESS_OVER = WM_APP + 2;

class XMainFrame : public CMDIFrameWnd {
    DECLARE_DYNAMIC(XMainFrame)
public:
    XMainFrame();
    ~XMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    // The menu bar takes Alt, F10 and the menu keys first.
    BOOL PreTranslateMessage(MSG* msg) override;

    // The menu bar leaves the frame's own menu to go later; taking it away
    // releases the mouse, so it goes now, before the first capture request
    // can open a mouse selection that would end with it.
    void FinishMenuBar();
    // Restores, raises or shows the frame and makes it the foreground window.
    void BringToFront();
    void AddTrayIcon();
    void RemoveTrayIcon();
    CStatusBar& StatusBar() { return statusBar; }
    CControlBar& ExplorerBar() { return explorerBar; }

protected:
    // Creation and bars (MainFrame.cpp).
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    afx_msg void OnViewExplorer();
    afx_msg void OnUpdateViewExplorer(CCmdUI* cmdUI);
    afx_msg void OnTrayOpen();
    afx_msg LRESULT OnBringForward(WPARAM, LPARAM);
    afx_msg void OnTrayHide();
    afx_msg void OnTrayRemoveIcon();
    afx_msg void OnUpdateWindowCloseAll(CCmdUI* cmdUI);
    afx_msg void OnUpdateImageSize(CCmdUI* cmdUI);
    afx_msg void OnUpdateImageDepth(CCmdUI* cmdUI);
    afx_msg void OnUpdateImageTime(CCmdUI* cmdUI);
    afx_msg void OnUpdateDocumentCount(CCmdUI* cmdUI);

    // Capture dispatch (MainFrameDispatch.cpp).
    afx_msg LRESULT OnCaptureRequest(WPARAM type, LPARAM pointerOrNotice);
    afx_msg LRESULT OnHotkey(WPARAM keyAndBits, LPARAM pointer);
    afx_msg LRESULT OnProgress(WPARAM rowDone, LPARAM rowCount);
    afx_msg LRESULT OnProgressOver(WPARAM, LPARAM);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg void OnPaletteChanged(CWnd* focusWnd);
    afx_msg void OnWinIniChange(LPCSTR section);
    afx_msg void OnDevModeChange(LPSTR deviceName);
    afx_msg void OnWindowCloseAll();

    DECLARE_MESSAGE_MAP()

private:
    // A modal dialog over the frame (an image command's options, a file
    // dialog) goes on with its document when it ends, so nothing closes
    // the documents meanwhile: true (and the user told) while one runs. The
    // notification-area icon's menu still answers then.
    bool RefuseWhileDialogRuns();
    // The rebar with the menu bar and the flat toolbar; false (and no rebar)
    // with common controls 4.70 or older.
    bool CreateCoolBar();
    bool CreatePlainToolBar();
    bool CreateStatusBar();
    bool CreateExplorerBar();
    void ShowExplorerBar(bool show);

    void StartCapture(int type);
    void BeginMouseCapture();
    void FinishMouseCapture();
    void FinishPickedWindow();
    // Ends a pending selection without capturing: mouse capture, cursor,
    // hook status, and the frozen picture with its cover window.
    void AbandonMouseCapture();
    void EndSelection();
    // False when the screen could not be frozen (no cover, no memory for
    // the picture); nothing is shown then.
    bool FreezeScreen();
    void UnfreezeScreen();
    void DrawProgress(int percent);
    RequestGuard Guard() const;
    // A capture, a countdown or a mouse selection keeps the title-bar
    // decorations off.
    bool DecorationsHeld() const;

    CToolBar toolBar;   // only without the rebar
    CStatusBar statusBar;
    CCoolMenuManager menuManager;
    int comctlVersion = 0;
    CMyCoolBar* coolBar = nullptr;
    XDialogBar explorerBar;
    NOTIFYICONDATAA trayIcon;

    bool selecting = false;
    bool finishingSelection = false;
    CaptureCountdown countdown;
    ProgressMeter progress;
    bool progressOverPosted = false;
    HBITMAP frozenScreen = nullptr;
};

// The active image window's top image, or null.
class DisplayImage;
DisplayImage* GetActiveTopImage();
