// The common-controls rebar as a framework control bar: the frame lays it
// out like a docked toolbar. A frame derives its own class, creates the
// child bars in OnCreateBands and inserts them as bands. Frames build it only
// when the library is newer than 4.70 (ComCtlVersion() > 470).
//
// A frame using the whole layer, in its OnCreate: Create the rebar (the
// menu bar and flat toolbar bands come from OnCreateBands), SetBandColours
// (COLOR_BTNTEXT on COLOR_BTNFACE, again on WM_SYSCOLORCHANGE), then
// CCoolMenuManager::AttachFrame and LoadToolbarImages of its toolbar; its
// PreTranslateMessage asks CMenuBar::FilterFrameKey first.
#pragma once

#include "ControlBars.h"
#include "FlatToolBar.h"

class CCoolBar : public CControlBar {
    DECLARE_DYNAMIC(CCoolBar)
public:
    // The frames pass kCoolBarWindowStyle and CBRS_ALIGN_TOP.
    BOOL Create(CWnd* parent, DWORD windowStyle, DWORD barStyle, UINT id);
    // Adds a band holding `child` at `index` (-1: at the end); width 0 lets
    // the rebar choose; newRow starts a new row. The rebar's answer.
    BOOL InsertBand(CWnd* child, int minWidth, int minHeight, int width, LPCSTR text, int index, BOOL newRow);
    // Every band's text and background colours.
    void SetBandColours(COLORREF foreground, COLORREF background);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Creates the child bars and inserts them; TRUE when made.
    virtual BOOL OnCreateBands() = 0;
    // Inserts a toolbar made on the rebar as a band as tall as its buttons
    // plus extraHeight, drawn transparent over the band's background.
    bool AddToolBarBand(CFlatToolBar& bar, int width, int extraHeight, bool newRow);
    // The programs' two bands: the menu bar on the first row, the flat
    // toolbar loaded from the resource on the row below.
    bool AddMenuAndToolBands(CFlatToolBar& menuBar, CFlatToolBar& toolBar, UINT toolBarResource);
    // Default: the parent lays itself out again (a posted WM_SIZE).
    virtual void OnHeightChange(const CRect& windowRect);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnHeightChangeNotify(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()
};

// Child, visible, clipping siblings and children, border, band borders,
// variable height, tooltips.
const DWORD kCoolBarWindowStyle = 0x56800700;
