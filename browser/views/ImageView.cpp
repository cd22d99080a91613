#include "ImageView.h"

#include "../../capture/core/image/DisplayImage.h"
#include "../../framework/Gdi.h"
#include "TreeView.h"

IMPLEMENT_DYNCREATE(XExplorerImageView, CScrollView)

BEGIN_MESSAGE_MAP(XExplorerImageView, CScrollView)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void XExplorerImageView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(100, 100));
    if (XExplorerDoc* doc = GetDocument())
        doc->imageView = this;
}

void XExplorerImageView::OnDraw(CDC* dc)
{
    XExplorerDoc* doc = GetDocument();
    if (!doc || !doc->image)
        return;
    const CPoint scroll = GetScrollPosition();
    SetViewportOrgEx(dc->m_hDC, 5, 5, nullptr);
    SetWindowOrgEx(dc->m_hDC, scroll.x, scroll.y, nullptr);
    doc->image->Draw(dc->m_hDC);
}

void XExplorerImageView::SetImageScrollSize(int width, int height)
{
    ScrollToPosition(CPoint(0, 0));
    SetScrollSizes(MM_TEXT, CSize(width + 10, height + 10));
}

void XExplorerImageView::OnKeyDown(UINT key, UINT, UINT)
{
    HandleDeleteKey(key);
    Default();
}
