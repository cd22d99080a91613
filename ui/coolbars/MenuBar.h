// A menu bar made of a flat toolbar in a rebar band: one text button per
// top-level item of the frame's menu. A click or the keyboard (Alt, F10,
// Alt+mnemonic, Space, arrows) opens the popup under its button; while one is
// open, the arrow keys and the mouse move along the bar as in a real menu
// bar. In an MDI frame the bar also stands in for a maximised child's
// caption (its icon at the left, minimise, restore and close at the right)
// and keeps the Window menu's numbered list. Once the bar exists the frame
// has no menu of its own.
#pragma once

#include <vector>

#include "FlatToolBar.h"
#include "SubclassWnd.h"

class CMenuBar;

// Passes the frame's and the MDI client's menu messages to the bar.
class CMenuBarWindowHook : public CSubclassWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CMenuBar* m_pMenuBar = nullptr;
};

class CMenuBarMdiControls;

// On the frame: draws the child's caption parts when the bar paints, and
// fills the Window menu's list when it opens.
class CMenuBarMdiFrameHook : public CSubclassWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CMenuBarMdiControls* m_pControls = nullptr;
    HWND m_hWndMenuBar = nullptr;
};

// The maximised child's icon and caption buttons, hooked on the menu bar.
class CMenuBarMdiControls : public CSubclassWnd {
public:
    enum Part { kIcon = 0, kMinimise = 1, kRestore = 2, kClose = 3, kPartCount = 4 };

    void Install(HWND menuBar, HWND frame, HWND mdiClient, UINT notifyMessage);
    void SetWindowMenu(HMENU windowMenu) { m_hWindowMenu = windowMenu; }
    HMENU WindowMenu() const { return m_hWindowMenu; }
    BOOL IsMaximised() const { return m_bMaximised; }
    HWND ActiveChild() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Learns whether the active child is maximised; tells the bar on change.
    virtual void RefreshActiveChild();
    virtual void Relayout();
    virtual void Layout();
    virtual void DrawPart(HDC dc, int part, BOOL pressed);
    virtual int HitTest(int x, int y) const;   // a Part, or -1
    // TRUE when the mouse message was the controls'.
    virtual BOOL OnMouse(UINT message, UINT flags, int x, int y);
    // The Window menu ends with "&1  title" items, one per child window.
    virtual void UpdateWindowList(HMENU popup);
    virtual void OnCustomDraw(const NMCUSTOMDRAW& draw);

    CMenuBarMdiFrameHook m_frameHook;
    HWND m_hWndMDIClient = nullptr;
    HMENU m_hWindowMenu = nullptr;
    UINT m_nNotifyMessage = 0;
    CRect m_rcParts[kPartCount];
    CRect m_rcCaptionButtons;
    int m_nPressed = 0;           // the caption button held down, 0 none
    BOOL m_bPressedInside = FALSE;
    BOOL m_bMaximised = FALSE;
    int m_nLeftLimit = 0;         // right edge of the last menu button + 2

private:
    void DrawPressed(int part, BOOL pressed);
    HWND m_hActiveShown = nullptr;
};

class CMenuBar : public CFlatToolBar {
    DECLARE_DYNAMIC(CMenuBar)
public:
    // Tells the user the bar needs library 4.71 when it is older.
    CMenuBar();
    ~CMenuBar() override;

    enum State { kIdle = 0, kHot = 1, kPopupOpen = 2 };

    // Rebuilds the buttons from `menu`; the MDI controls take the Window
    // menu. Returns the previous menu.
    HMENU SetMenuButtons(HMENU menu, HMENU windowMenu);
    HMENU GetMenu() const { return m_hMenu; }
    // Tracks popups from `position` on until none is asked for next.
    void OpenPopup(int position);
    void SetState(int state, int position);
    void ToggleHotState();
    int NextPosition(int position, BOOL backwards) const;
    int HitTest(int x, int y) const;   // button under the client point, or -1
    // Closes the open popup; `position` opens next (-1: none).
    void CancelAndOpen(int position);
    void ApplyMenuFont();
    int GetState() const { return m_nState; }
    // Creation leaves the frame's own menu to go by a message posted to the
    // bar; this takes it away now, before anything else is handled.
    void RemoveFrameMenuNow();

    // For the frame's message pre-translation: TRUE when the bar took a key
    // or mouse message the frame is about to dispatch.
    virtual BOOL FilterFrameKey(MSG* msg);
    // While a popup is tracked: TRUE when the bar took the message.
    virtual BOOL FilterMenuMessage(MSG* msg);
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The arrows move along the bar (kept up to date while a popup is open).
    void NoteMenuSelect(UINT flags, HMENU menu);

    CMenuBarMdiControls m_mdiControls;
    CMenuBarWindowHook m_frameHook;
    CMenuBarWindowHook m_clientHook;
    HWND m_hWndMDIClient = nullptr;

protected:
    int OnCreateBar();
    void ForceLayout();
    void OnMdiChildState(BOOL maximised);
    void OnLButtonDown(CPoint point);
    BOOL OnMouseMove(CPoint point);   // TRUE when handled without the control

private:
    std::vector<CString> m_buttonTexts;   // index: the control's string index
    HMENU m_hMenu = nullptr;
    int m_nPopupTracking = -1;
    int m_nNextPopup = -1;
    BOOL m_bProcessRightArrow = FALSE;
    BOOL m_bProcessLeftArrow = FALSE;
    BOOL m_bEscapeWasPressed = FALSE;
    CPoint m_ptMouse{-1, -1};
    int m_nState = kIdle;
};

// Sent to the menu bar: remove the menu of the frame in wParam (posted at
// creation), and the active MDI child became maximised (wParam 1) or not.
const UINT WM_MENUBAR_REMOVE_FRAME_MENU = WM_USER + 1100;
const UINT WM_MENUBAR_MDI_STATE = WM_USER + 1101;
