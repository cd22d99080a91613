#include "SetupPage.h"

#include <vector>

#include "app/SetupState.h"

BEGIN_MESSAGE_MAP(XPropertyPageSetup, CPropertyPage)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void XPropertyPageSetup::SetHeading(int id, LPCSTR text)
{
    if (HWND item = ::GetDlgItem(m_hWnd, id)) {
        ::SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(TheSetup().headingFont)),
                       TRUE);
        if (text)
            ::SetWindowTextA(item, text);
    }
}

RECT XPropertyPageSetup::FrameRect() const
{
    RECT frame{};
    HWND item = ::GetDlgItem(m_hWnd, m_frameId);
    if (item) {
        ::GetWindowRect(item, &frame);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    }
    return frame;
}

HWND XPropertyPageSetup::SheetButton(int id) const { return ::GetDlgItem(::GetParent(m_hWnd), id); }

void XPropertyPageSetup::ShowSheetButton(int id, bool show) { ::ShowWindow(SheetButton(id), show ? SW_SHOW : SW_HIDE); }

void XPropertyPageSetup::SetSheetButtonText(int id, LPCSTR text) { ::SetWindowTextA(SheetButton(id), text); }

void XPropertyPageSetup::SetWizardButtons(DWORD flags)
{
    if (CPropertySheet* sheet = GetSheet())
        sheet->SetWizardButtons(flags);
}

BOOL XPropertyPageSetup::OnQueryCancel()
{
    if (m_leaving == kClosesWizard)
        return TRUE;
    HWND sheet = ::GetParent(m_hWnd);
    ::SendMessageA(sheet, PSM_SETCURSELID, 0, IDD_EXIT);
    return FALSE;
}

void XPropertyPageSetup::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    PaintPicture(dc);
    ::EndPaint(m_hWnd, &paint);
}

void XPropertyPageSetup::PaintPicture(HDC dc)
{
    RECT frame = FrameRect();
    TheSetup().picture.Draw(dc, frame.left, frame.top);
}

void DrawFinishBitmap(HDC dc, HBITMAP bitmap, const RECT& frame)
{
    BITMAP shape{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = -shape.bmHeight;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(shape.bmWidth) * static_cast<size_t>(shape.bmHeight));
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, bitmap, 0, shape.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != shape.bmHeight)
        return;
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    DWORD faceQuad = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    for (DWORD& pixel : pixels) {
        if ((pixel & 0xFFFFFF) == 0xFFFFFF)
            pixel = faceQuad;
    }
    int frameHeight = frame.bottom - frame.top;
    int height = frameHeight > 0 && frameHeight < shape.bmHeight ? frameHeight : shape.bmHeight;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, frame.left, frame.top, shape.bmWidth, height, 0, 0, shape.bmWidth, shape.bmHeight,
                    pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}
