#include "ImageView.h"

#include "AppServices.h"
#include "DocumentOperationCalls.h"
#include "DocumentCalls.h"
#include "ExplorerTree.h"
#include "ImageDoc.h"
#include "ImageDocLayout.h"
#include "NotepadForm.h"
#include "Settings.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(XImageView, CScrollView)

BEGIN_MESSAGE_MAP(XImageView, CScrollView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_COMMAND(ID_TOOL_SHOW_BORDER, OnToolShowBorder)
    ON_UPDATE_COMMAND_UI(ID_TOOL_SHOW_BORDER, OnUpdateToolShowBorder)
    ON_COMMAND(ID_CROP_INVERT_SELECTION, OnCropInvertSelection)
    ON_UPDATE_COMMAND_UI(ID_CROP_INVERT_SELECTION, OnUpdateCropInvertSelection)
    ON_COMMAND(ID_COLOR_CHECK_CHANGE, OnColorCheckChange)
END_MESSAGE_MAP()

XImageDoc* XImageView::GetImageDoc() const { return DYNAMIC_DOWNCAST(XImageDoc, GetDocument()); }

DisplayImage* XImageView::GetTopImage() const
{
    XImageDoc* doc = GetImageDoc();
    return doc ? doc->TopImage() : nullptr;
}

void XImageView::UpdateScrollSizes()
{
    XImageDoc* doc = GetImageDoc();
    CSize total(doc ? doc->canvasWidth : 0, doc ? doc->canvasHeight : 0);
    SetScrollSizes(MM_TEXT, total);
}

void XImageView::PrepareImageDC(CDC* dc)
{
    CPoint scroll = GetScrollPosition();
    dc->SetViewportOrg(SendtoPage[kSendtoMarginX] - scroll.x, SendtoPage[kSendtoMarginY] - scroll.y);
}

CRect XImageView::CanvasToClient(const RECT& canvas) const
{
    CPoint scroll = GetScrollPosition();
    CRect rect(canvas);
    rect.OffsetRect(SendtoPage[kSendtoMarginX] - scroll.x, SendtoPage[kSendtoMarginY] - scroll.y);
    return rect;
}

void XImageView::OnDraw(CDC* dc)
{
    XImageDoc* doc = GetImageDoc();
    if (!doc)
        return;
    PrepareImageDC(dc);
    for (DisplayImage* image : doc->images)
        image->Draw(dc->GetSafeHdc());
}

// Only the margins and the canvas around the images are erased: OnDraw
// covers every image, so its pixels are painted once, not twice.
BOOL XImageView::OnEraseBkgnd(CDC* dc)
{
    XImageDoc* doc = GetImageDoc();
    const int saved = ::SaveDC(dc->GetSafeHdc());
    if (doc) {
        for (const DisplayImage* image : doc->images) {
            if (!image->HasSoundBlocks())
                continue;
            const CRect rect = CanvasToClient(image->placement);
            ::ExcludeClipRect(dc->GetSafeHdc(), rect.left, rect.top, rect.left + image->width,
                              rect.top + image->height);
        }
    }
    const BOOL erased = CScrollView::OnEraseBkgnd(dc);
    ::RestoreDC(dc->GetSafeHdc(), saved);
    return erased;
}

void XImageView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    UpdateScrollSizes();
}

void XImageView::OnUpdate(CView*, LPARAM, CObject*)
{
    UpdateScrollSizes();
    Invalidate();
}

void XImageView::RedrawTopImage()
{
    DisplayImage* top = GetTopImage();
    if (!top)
        return;
    CClientDC dc(this);
    PrepareImageDC(&dc);
    top->Draw(dc.GetSafeHdc());
}

void XImageView::OnToolShowBorder()
{
    Session[kSessionMergeBorder] = !Session[kSessionMergeBorder];
    RedrawTopImage();
}

void XImageView::OnUpdateToolShowBorder(CCmdUI* cmdUI)
{
    XImageDoc* doc = GetImageDoc();
    cmdUI->Enable(doc && doc->images.size() > 1);
    cmdUI->SetCheck(Session[kSessionMergeBorder] ? 1 : 0);
}

void XImageView::OnCropInvertSelection()
{
    Session[kSessionInvertSelection] = !Session[kSessionInvertSelection];
    RedrawTopImage();
}

void XImageView::OnUpdateCropInvertSelection(CCmdUI* cmdUI)
{
    XImageDoc* doc = GetImageDoc();
    cmdUI->Enable(doc && doc->HasOneImage());
    cmdUI->SetCheck(Session[kSessionInvertSelection] ? 1 : 0);
}

void XImageView::OnColorCheckChange()
{
    SetCapture();
    ::SetCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_CURSOR_PICK_COLOR)));
    ClipCursorToClient();
    pickMode = 1;
}

void XImageView::FinishColorPick()
{
    pickMode = 0;
    ::ClipCursor(nullptr);
    ::ReleaseCapture();
    COLORREF color = PickColorAtCursor();
    if (RunCheckColorDialog(color) == kCheckColorChangeResult && ChangeColor(color))
        OpenWorkImageAsDocument();
}

void XImageView::OnSetFocus(CWnd* oldWnd)
{
    CScrollView::OnSetFocus(oldWnd);
    XImageDoc* doc = GetImageDoc();
    XNotepadFormView* notepad = doc ? doc->FindNotepadView() : nullptr;
    DisplayImage* top = GetTopImage();
    if (notepad && notepad->shown && notepad->noteEdit.m_hWnd) {
        notepad->noteEdit.SetFocus();
    } else if (doc && doc->images.size() <= 1 && !(top && top->selectionShown)) {
        if (HWND tree = GetExplorerTree())
            ::SetFocus(tree);
    }
}

void XImageView::OnLButtonDown(UINT, CPoint point)
{
    XImageDoc* doc = GetImageDoc();
    if (!doc || doc->images.empty())
        return;
    if (doc->images.size() > 1) {
        PickAndMoveImage(point);
        return;
    }
    if (pickMode) {
        FinishColorPick();
        return;
    }
    DisplayImage* image = doc->FirstImage();
    if (image->selectionShown)
        DragCropLine(point);
    else if (point.x < image->width && point.y < image->height)
        DragImageOut();
}

void XImageView::OnLButtonDblClk(UINT, CPoint point)
{
    XImageDoc* doc = GetImageDoc();
    if (!doc || !doc->HasOneImage())
        return;
    DisplayImage* image = doc->FirstImage();
    if (point.x < image->width + SendtoPage[kSendtoMarginX] && point.y < image->height + SendtoPage[kSendtoMarginY])
        SendMessage(WM_COMMAND, ID_CROP_SELECT_IMAGE);
}

void XImageView::MoveTopImageBy(int dx, int dy)
{
    DisplayImage* top = GetTopImage();
    if (!top)
        return;
    CRect before = CanvasToClient(top->placement);
    OffsetPlacement(top->placement, dx, dy);
    CRect after = CanvasToClient(top->placement);
    InvalidateRect(&before, TRUE);
    InvalidateRect(&after, TRUE);
}

void XImageView::OnKeyDown(UINT key, UINT, UINT)
{
    XImageDoc* doc = GetImageDoc();
    if (!doc)
        return;
    if (key == VK_DELETE) {
        PostMessage(WM_COMMAND, ID_EDIT_DELETE_IMAGE);
        return;
    }
    if (doc->HasOneImage()) {
        switch (key) {
        case VK_PRIOR: PostMessage(WM_VSCROLL, SB_PAGEUP); return;
        case VK_NEXT: PostMessage(WM_VSCROLL, SB_PAGEDOWN); return;
        case VK_HOME: PostMessage(WM_HSCROLL, SB_PAGELEFT); return;
        case VK_END: PostMessage(WM_HSCROLL, SB_PAGERIGHT); return;
        }
        if (doc->FirstImage()->selectionShown) {
            NudgeCropLines(key);
            return;
        }
        switch (key) {
        case VK_LEFT: PostMessage(WM_HSCROLL, SB_LINELEFT); break;
        case VK_RIGHT: PostMessage(WM_HSCROLL, SB_LINERIGHT); break;
        case VK_UP: PostMessage(WM_VSCROLL, SB_LINEUP); break;
        case VK_DOWN: PostMessage(WM_VSCROLL, SB_LINEDOWN); break;
        }
        return;
    }
    switch (key) {
    case VK_LEFT: MoveTopImageBy(-1, 0); break;
    case VK_RIGHT: MoveTopImageBy(1, 0); break;
    case VK_UP: MoveTopImageBy(0, -1); break;
    case VK_DOWN: MoveTopImageBy(0, 1); break;
    }
}
