#include "BackgroundWnd.h"

#include "BackgroundTitle.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(XWndBackground, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL XWndBackground::CreateOverScreen()
{
    int width = ::GetSystemMetrics(SM_CXSCREEN);
    int height = ::GetSystemMetrics(SM_CYSCREEN);
    if (!CreateEx(0, AfxRegisterWndClass(0), "Kaptura 99 Setup", WS_POPUP, 0, 0, width, height, nullptr, nullptr))
        return FALSE;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    MSG msg{};
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL XWndBackground::OnEraseBkgnd(CDC*) { return TRUE; }   // the tiles cover everything

void TileBitmap(HDC dc, HBITMAP tile, int width, int height)
{
    BITMAP shape{};
    if (!tile || !::GetObjectA(tile, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
        return;
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, tile);
    for (int y = 0; y < height; y += shape.bmHeight) {
        for (int x = 0; x < width; x += shape.bmWidth)
            ::BitBlt(dc, x, y, shape.bmWidth, shape.bmHeight, memory, 0, 0, SRCCOPY);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

void XWndBackground::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    int width = ::GetSystemMetrics(SM_CXSCREEN);
    int height = ::GetSystemMetrics(SM_CYSCREEN);
    HBITMAP tile = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_BACKGROUND));
    TileBitmap(dc, tile, width, height);
    if (tile)
        ::DeleteObject(tile);

    LOGFONTA face{};
    face.lfHeight = BackgroundTitleHeight(width);
    face.lfWeight = FW_BOLD;
    lstrcpynA(face.lfFaceName, "Tiempo", LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&face);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 255));
    RECT title{10, 5, width, height};
    ::DrawTextA(dc, "Kaptura 99 Setup", -1, &title, DT_LEFT | DT_TOP);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    ::EndPaint(m_hWnd, &paint);
}
