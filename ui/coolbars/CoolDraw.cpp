#include "CoolDraw.h"

#include "ControlBars.h"

namespace {

const DWORD kKeepWhereSourceWhite = 0xB8074A;   // destination where the source is white, brush where black

HBRUSH DitherBrush()
{
    // Made once, kept for the process (the system frees it at exit).
    static HBRUSH brush = [] {
        const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, rows);
        HBRUSH made = ::CreatePatternBrush(pattern);
        ::DeleteObject(pattern);
        return made;
    }();
    return brush;
}

void CopyWithBrush(HDC dc, int x, int y, int cx, int cy, HDC source, int colourIndex)
{
    HBRUSH brush = ::CreateSolidBrush(::GetSysColor(colourIndex));
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::BitBlt(dc, x, y, cx, cy, source, 0, 0, kKeepWhereSourceWhite);
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
}

} // namespace

HBITMAP LoadSysColorBitmapResource(LPCSTR name)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, name, MAKEINTRESOURCEA(2));   // RT_BITMAP
    return resource ? AfxLoadSysColorBitmap(instance, resource, FALSE) : nullptr;
}

void FillRectColour(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, PATCOPY);
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
}

void FillDitheredRect(HDC dc, const RECT& rect)
{
    COLORREF text = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    COLORREF back = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::FillRect(dc, &rect, DitherBrush());
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, back);
}

void DrawEmbossedImage(HDC dc, HIMAGELIST images, int index, int x, int y, BOOL colour)
{
    int cx = 0, cy = 0;
    if (!images || !ImageList_GetIconSize(images, &cx, &cy) || cx <= 0 || cy <= 0)
        return;
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = colour ? ::CreateCompatibleBitmap(dc, cx, cy) : ::CreateBitmap(cx, cy, 1, 1, nullptr);
    if (!memory || !bitmap) {
        if (memory)
            ::DeleteDC(memory);
        if (bitmap)
            ::DeleteObject(bitmap);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    ::PatBlt(memory, 0, 0, cx, cy, WHITENESS);
    ImageList_Draw(images, index, memory, 0, 0, ILD_TRANSPARENT);

    COLORREF back = ::SetBkColor(dc, RGB(255, 255, 255));
    CopyWithBrush(dc, x + 1, y + 1, cx, cy, memory, COLOR_BTNHIGHLIGHT);
    CopyWithBrush(dc, x, y, cx, cy, memory, COLOR_BTNSHADOW);
    ::SetBkColor(dc, back);

    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

void GetWindowRectByMode(RECT& rect, HWND window, int mode)
{
    ::SetRectEmpty(&rect);
    switch (mode) {
    case kClientRect:
        ::GetClientRect(window, &rect);
        break;
    case kClientRectOnScreen:
        ::GetClientRect(window, &rect);
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        break;
    case kWindowRect:
        ::GetWindowRect(window, &rect);
        break;
    case kWindowRectInClient:
        ::GetWindowRect(window, &rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        break;
    case kFirstChildWindowRect:
        if (HWND child = ::GetWindow(window, GW_CHILD))
            ::GetWindowRect(child, &rect);
        break;
    default:
        break;
    }
}
