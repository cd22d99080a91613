// Views: child windows of a frame (or of a splitter in it) that show a
// document. A view draws through OnDraw, hears of changes through OnUpdate,
// and routes the commands it does not handle to its document.
#pragma once

#include "Frame.h"

class CDocument;
struct CPrintInfo;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                CCreateContext* context = nullptr) override;

    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnInitialUpdate();   // calls OnUpdate(null, 0, null)
    // Default: the whole view is redrawn.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    // The frame's active view changes; default: the activated view takes
    // the focus.
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    virtual void OnActivateFrame(UINT state, CFrameWnd* frame) { (void)state, (void)frame; }

    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

protected:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()
};

// A view over a canvas larger than its window: scroll bars, keyboard and
// wheel scrolling, and a device context whose origin follows the scroll
// position. Sizes are in pixels (MM_TEXT).
class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;   // page: a tenth of the total; line: a tenth of the page

    void SetScrollSizes(int mapMode, SIZE total, const SIZE& page = sizeDefault, const SIZE& line = sizeDefault);
    CSize GetTotalSize() const { return m_totalLog; }
    CPoint GetScrollPosition() const { return m_scrollPos; }
    CPoint GetDeviceScrollPosition() const { return m_scrollPos; }
    void ScrollToPosition(POINT position);
    void GetDeviceScrollSizes(int& mapMode, SIZE& total, SIZE& page, SIZE& line) const;

    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

protected:
    // Scroll bars shown only where the canvas exceeds the client area.
    void UpdateBars();
    // A scroll action (SB_*) along one bar: the new position, clamped.
    int ScrollTarget(int bar, UINT code, int current) const;
    int MaxScroll(int bar) const;

    int m_nMapMode = MM_TEXT;
    CSize m_totalLog;
    CSize m_pageDev;
    CSize m_lineDev;
    CPoint m_scrollPos;
    BOOL m_bInsideUpdate = FALSE;

    DECLARE_MESSAGE_MAP()
};

// A view made from a dialog template: the template's controls in a child
// window, with data exchange through DoDataExchange.
class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT templateId);
    explicit CFormView(LPCSTR templateName);

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                CCreateContext* context = nullptr) override;
    void OnInitialUpdate() override;   // UpdateData(FALSE)
    void OnDraw(CDC* dc) override { (void)dc; }
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;

protected:
    LPCSTR m_lpszTemplateName;
    HWND m_hWndFocus = nullptr;   // the control that had the focus when the view was left

    afx_msg void OnSetFocus(CWnd* oldWnd);
    DECLARE_MESSAGE_MAP()
};
