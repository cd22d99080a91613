// The multiple-document frames: the main frame with its MDI client (the
// window that holds the document windows and keeps the Window menu's list),
// and the document windows inside it.
#pragma once

#include "Frame.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    HWND m_hWndMDIClient = nullptr;

    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
    // The client holds the numbered list of document windows in the popup
    // of the menu that has the window commands (else the next-to-last one).
    virtual HMENU GetWindowMenuPopup(HMENU menuBar);

    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
    void MDITile(int how = MDITILE_HORIZONTAL) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, how, 0); }
    void MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
    void MDIMaximize(CWnd* child);
    void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
    // Puts the menu (and its window-list popup) on the frame; returns the
    // previous one. Sent as WM_MDISETMENU, so hooks on the client see it;
    // nothing is sent when that menu is in place already.
    HMENU MDISetMenu(HMENU frameMenu, HMENU windowMenu);

    CFrameWnd* GetActiveFrame() override;
    HACCEL GetDefaultAccelerator() override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;

    afx_msg void OnWindowCascade() { MDICascade(); }
    afx_msg void OnWindowTile() { MDITile(MDITILE_HORIZONTAL); }
    afx_msg void OnWindowTileVert() { MDITile(MDITILE_VERTICAL); }
    afx_msg void OnWindowArrange() { MDIIconArrange(); }
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* cmdUI);

protected:
    HMENU m_hMenuInPlace = nullptr;   // the menu MDISetMenu put in place last
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    BOOL Create(LPCSTR className, LPCSTR windowName,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CMDIFrameWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const;

    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int showCommand = -1) override;
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;

    // The document's menu while this window is active.
    HMENU m_hMenuShared = nullptr;

    afx_msg void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();

protected:
    // Puts this window's menu in place, or the frame's own when no document
    // window stays active.
    void UpdateFrameMenu(BOOL activating, CWnd* activated);
    DECLARE_MESSAGE_MAP()
};
