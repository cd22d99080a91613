// Control bars: windows docked at one side of a frame (toolbar, status bar,
// dialog bar). Each tells the frame's layout how much room it takes, updates
// the state of its buttons or panes when the program idles, and passes the
// commands and notifications of its controls on to the frame.
#pragma once

#include "Collections.h"
#include "Frame.h"

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // Bar style (CBRS_*), kept apart from the window style.
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style);
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY; }
    BOOL IsFloating() const { return FALSE; }
    BOOL IsVisible() const;
    virtual int GetCount() const { return 0; }   // buttons or panes

    // The room the bar takes: along the frame side when stretched, and its
    // own thickness across it.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    // The client rectangle less the bar's borders.
    virtual void CalcInsideRect(CRect& rect, BOOL horizontal) const;
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle);
    // Asks target (the frame, which routes on to its view and document)
    // for the state of every button or pane; called when the program idles.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;
    // Updates the child controls with an id through target; push buttons
    // without any handler are disabled when disableIfNoHandler.
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);

    CFrameWnd* GetDockingFrame() const;
    CFrameWnd* m_pDockSite = nullptr;
    BOOL m_bAutoDelete = FALSE;   // delete the object when the window goes
    int m_cxLeftBorder = 6, m_cxRightBorder = 0;
    int m_cyTopBorder = 2, m_cyBottomBorder = 2;

    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    // Room for the borders CalcInsideRect takes off.
    CSize BorderSize(BOOL horizontal) const;
    // Joins the frame that is the bar's parent (bars inside other bars,
    // such as a rebar's bands, belong to no frame's list).
    void AttachToFrame();
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;

    DECLARE_MESSAGE_MAP()
};

// A button bar over the common-controls toolbar. Buttons come from a toolbar
// resource (image size and command ids, 0 for a separator) and its bitmap
// strip, or from SetButtons with a bitmap loaded apart.
class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                  UINT id = AFX_IDW_TOOLBAR);

    BOOL LoadToolBar(UINT id);
    BOOL LoadToolBar(LPCSTR name);
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCSTR name);
    BOOL SetBitmap(HBITMAP bitmap);   // the bar owns it from then on
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    void SetHeight(int height);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    UINT GetButtonStyle(int index) const;   // TBBS_* (a set TBBS_DISABLED means disabled)
    void SetButtonStyle(int index, UINT style);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    BOOL SetButtonText(int index, LPCSTR text);

    int GetCount() const override;
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    int m_nMRUWidth = 32767;   // the width last used while floating

protected:
    // The buttons' extent: every visible button's rectangle united.
    CSize ButtonsExtent() const;
    // The frame lays its bars out again at its next idle time.
    void DelayFrameLayout();
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    HBITMAP m_hbmImageWell = nullptr;
    HRSRC m_hRsrcImageWell = nullptr;
    HINSTANCE m_hInstImageWell = nullptr;

    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()
};

// The status bar: panes of text with ids; pane widths come from the texts
// of their ids' strings. A pane whose update handler disables it shows
// nothing.
class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    // One pane per id; ID_SEPARATOR gives a pane without its own string.
    BOOL SetIndicators(const UINT* ids, int count);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    CString GetPaneText(int index) const;
    void GetPaneText(int index, CString& text) const { text = GetPaneText(index); }
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);

    int GetCount() const override { return m_panes.GetSize(); }
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

protected:
    struct Pane {
        UINT id;
        UINT style;   // SBPS_*
        int width;
        CString text;
    };
    // Gives the control the panes' right edges and texts.
    void ApplyPanes();
    int TextWidth(LPCSTR text) const;
    KfArray<Pane*> m_panes;

    DECLARE_MESSAGE_MAP()
};

// A bar made from a dialog template, docked at a side; its controls'
// commands and notifications go to its own table, then to the frame.
class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();
    ~CDialogBar() override;

    virtual BOOL Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id);
    virtual BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CSize m_sizeDefault;   // the template's size
};

// A bitmap resource with its standard button colours (black, dark grey,
// light grey, white) replaced by the current system colours.
HBITMAP AfxLoadSysColorBitmap(HINSTANCE instance, HRSRC resource, BOOL mono = FALSE);

// A dialog template resource made a child template (child style, no caption
// or popup), as forms and dialog bars are created from; empty on failure.
// The window is created with a dialog procedure that leaves everything to
// the framework object subclassing it.
HWND KfCreateChildDialog(LPCSTR templateName, CWnd* parent);
// The template's child dialog created under parent and bound to window with
// the control id; a dialog that cannot be bound is destroyed.
BOOL KfAttachChildDialog(CWnd* window, LPCSTR templateName, CWnd* parent, UINT id);
// For such a window: the frames' accelerators come first, then its dialog
// keys (Tab, arrows), which would take them otherwise.
BOOL KfPreTranslateChildDialog(CWnd* window, MSG* msg);
