// Views that are common controls: the view's own window is a tree or a
// list control, so the control paints itself and its notifications come
// back to the view by reflection.
#pragma once

#include "Controls.h"
#include "View.h"

class CCtrlView : public CView {
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(LPCSTR className, DWORD style) : m_strClass(className), m_dwDefaultStyle(style) {}

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC*) override {}

    afx_msg void OnPaint();

protected:
    CString m_strClass;
    DWORD m_dwDefaultStyle;
    DECLARE_MESSAGE_MAP()
};

class CTreeView : public CCtrlView {
    DECLARE_DYNAMIC(CTreeView)
public:
    CTreeView() : CCtrlView(WC_TREEVIEWA, WS_CHILD | WS_VISIBLE | WS_BORDER) {}
    // The view's window is the control: the control wrapper adds no state.
    CTreeCtrl& GetTreeCtrl() const { return *reinterpret_cast<CTreeCtrl*>(const_cast<CTreeView*>(this)); }
};

class CListView : public CCtrlView {
    DECLARE_DYNAMIC(CListView)
public:
    CListView() : CCtrlView(WC_LISTVIEWA, WS_CHILD | WS_VISIBLE | WS_BORDER) {}
    CListCtrl& GetListCtrl() const { return *reinterpret_cast<CListCtrl*>(const_cast<CListView*>(this)); }
};
