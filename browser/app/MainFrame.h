// The browser's main window: a single-document frame with its toolbar (the
// rebar with menu bar and flat toolbar where the bar layer can make it),
// status bar with the image and scan panes, and two splitters holding the
// folder tree and the file list above the image pane.
#pragma once

#include "../../framework/ControlBars.h"
#include "../../framework/Frame.h"
#include "../../framework/Splitter.h"
#include "../../ui/coolbars/CoolMenuManager.h"

class CMyCoolBar;

class XMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(XMainFrame)
public:
    XMainFrame();
    ~XMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSysColorChange();
    afx_msg void OnClose();
    afx_msg void OnViewBackground();
    afx_msg void OnUpdateImageSize(CCmdUI* cmdUI);
    afx_msg void OnUpdateImageDepth(CCmdUI* cmdUI);
    afx_msg void OnUpdateTotalSpace(CCmdUI* cmdUI);
    afx_msg void OnUpdateTotalFiles(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // The rebar with the menu bar and the flat toolbar; false (and the plain
    // toolbar stands in) with common controls 4.70 or older.
    bool CreateCoolBar();
    bool CreatePlainToolBar();
    void ShowMessage(LPCSTR path);

    CStatusBar statusBar_;
    CToolBar toolBar_;
    CCoolMenuManager menuManager_;
    int controlsVersion_ = 0;
    CMyCoolBar* coolBar_ = nullptr;
    CSplitterWnd outerSplitter_;
    CSplitterWnd innerSplitter_;
};

// Top row height and tree column width of a client area (each at least 20).
void SplitterSizes(int clientWidth, int clientHeight, int& topHeight, int& leftWidth);
