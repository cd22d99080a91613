#include "FullScreenView.h"

#include <algorithm>

#include "AuxWindows.h"
#include "ImageDoc.h"
#include "Settings.h"

IMPLEMENT_DYNCREATE(XWndFullScreenView, CWnd)

BEGIN_MESSAGE_MAP(XWndFullScreenView, CWnd)
    ON_WM_PAINT()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MBUTTONDOWN()
END_MESSAGE_MAP()

XWndFullScreenView* XWndFullScreenView::Current = nullptr;

XWndFullScreenView::XWndFullScreenView()
{
    const char* className = FullScreenViewClassName[0] ? FullScreenViewClassName : nullptr;
    CreateEx(WS_EX_TOPMOST, className, "", WS_POPUP, 0, 0, ScreenWidth, ScreenHeight, nullptr, nullptr);
}

XWndFullScreenView::~XWndFullScreenView()
{
    if (Current == this)
        Current = nullptr;
}

void XWndFullScreenView::Toggle()
{
    if (Current) {
        // The window's end deletes the object (PostNcDestroy).
        Current->DestroyWindow();
        return;
    }
    Current = new XWndFullScreenView;
    if (!Current->m_hWnd) {
        delete Current;
        return;
    }
    Current->ShowWindow(SW_SHOW);
    Current->UpdateWindow();
}

void XWndFullScreenView::PostNcDestroy()
{
    if (Current == this)
        Current = nullptr;
    delete this;
}

void XWndFullScreenView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    HBRUSH background = ::CreateSolidBrush(static_cast<COLORREF>(Session[kSessionViewBackground]));
    ::FillRect(dc.GetSafeHdc(), &client, background);
    ::DeleteObject(background);
    XImageDoc* doc = GetActiveImageDoc();
    if (!doc)
        return;
    LONG left = 0, top = 0, right = 0, bottom = 0;
    for (const DisplayImage* image : doc->images) {
        left = std::min(left, image->placement.left);
        top = std::min(top, image->placement.top);
        right = std::max(right, image->placement.right);
        bottom = std::max(bottom, image->placement.bottom);
    }
    const int x = right - left < ScreenWidth ? (ScreenWidth - (right - left)) / 2 : 0;
    const int y = bottom - top < ScreenHeight ? (ScreenHeight - (bottom - top)) / 2 : 0;
    dc.SetViewportOrg(x, y);
    for (DisplayImage* image : doc->images)
        image->Draw(dc.GetSafeHdc());
}

// Any key or mouse button closes the view; the object goes with the window.
void XWndFullScreenView::OnKeyDown(UINT, UINT, UINT) { DestroyWindow(); }
void XWndFullScreenView::OnLButtonDown(UINT, CPoint) { DestroyWindow(); }
void XWndFullScreenView::OnRButtonDown(UINT, CPoint) { DestroyWindow(); }
void XWndFullScreenView::OnMButtonDown(UINT, CPoint) { DestroyWindow(); }
