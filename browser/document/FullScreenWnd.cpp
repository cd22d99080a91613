#include "FullScreenWnd.h"

#include "../../capture/core/image/DisplayImage.h"
#include "../../framework/Gdi.h"
#include "../../framework/WinApp.h"
#include "../app/BrowserIds.h"
#include "../app/BrowserState.h"

BEGIN_MESSAGE_MAP(XWndFullScreen, CWnd)
    ON_WM_PAINT()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MBUTTONDOWN()
END_MESSAGE_MAP()

BOOL XWndFullScreen::Open()
{
    if (!CreateEx(WS_EX_TOPMOST, kFullScreenClass, "", WS_POPUP, 0, 0, Browser.screenWidth, Browser.screenHeight,
                  nullptr, nullptr))
        return FALSE;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    ::SetForegroundWindow(m_hWnd);
    SetFocus();
    return TRUE;
}

void XWndFullScreen::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    HBRUSH brush = CreateSolidBrush(Browser.background);
    FillRect(dc.m_hDC, &client, brush);
    DeleteObject(brush);
    if (!image_)
        return;
    const int left = image_->width < Browser.screenWidth ? (Browser.screenWidth - image_->width) / 2 : 0;
    const int top = image_->height < Browser.screenHeight ? (Browser.screenHeight - image_->height) / 2 : 0;
    SetViewportOrgEx(dc.m_hDC, left, top, nullptr);
    image_->Draw(dc.m_hDC);
}

void XWndFullScreen::RequestClose()
{
    if (closing_)
        return;
    closing_ = true;
    ShowWindow(SW_HIDE);
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_COMMAND, ID_FULL_SCREEN_VIEW);
}

void XWndFullScreen::OnKeyDown(UINT, UINT, UINT) { RequestClose(); }
void XWndFullScreen::OnLButtonDown(UINT, CPoint) { RequestClose(); }
void XWndFullScreen::OnRButtonDown(UINT, CPoint) { RequestClose(); }
void XWndFullScreen::OnMButtonDown(UINT, CPoint) { RequestClose(); }
