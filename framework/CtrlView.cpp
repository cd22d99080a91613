#include "CtrlView.h"

IMPLEMENT_DYNAMIC(CCtrlView, CView)
IMPLEMENT_DYNAMIC(CTreeView, CCtrlView)
IMPLEMENT_DYNAMIC(CListView, CCtrlView)

BEGIN_MESSAGE_MAP(CCtrlView, CView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CCtrlView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = m_strClass;
    cs.style |= m_dwDefaultStyle;
    return CView::PreCreateWindow(cs);
}

// The control paints itself.
void CCtrlView::OnPaint() { Default(); }
