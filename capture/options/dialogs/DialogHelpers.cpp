#include "DialogHelpers.h"

#include "../../../framework/CommonDialogs.h"
#include "../../../framework/WinApp.h"

bool ChooseColorFullOpen(CWnd* owner, COLORREF& color)
{
    CColorDialog dialog(color, CC_FULLOPEN, owner);
    if (dialog.DoModal() != IDOK)
        return false;
    color = dialog.GetColor();
    return true;
}

void ShowHelpKeyword(const char* keyword)
{
    if (CWinApp* app = AfxGetApp())
        app->WinHelp(reinterpret_cast<DWORD_PTR>(keyword), HELP_KEY);
}

bool PixelBitmap::Load(int bitmapId)
{
    Free();
    HBITMAP source = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId));
    BITMAP size = {};
    if (!source || !::GetObjectA(source, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight <= 0) {
        if (source)
            ::DeleteObject(source);
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && !::GetDIBits(screen, source, 0, static_cast<UINT>(size.bmHeight), bits, &info, DIB_RGB_COLORS)) {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(source);
    if (!bitmap)
        return false;
    pixels = static_cast<uint32_t*>(bits);
    width = size.bmWidth;
    height = size.bmHeight;
    return true;
}

void PixelBitmap::Free()
{
    if (bitmap)
        ::DeleteObject(bitmap);
    bitmap = nullptr;
    pixels = nullptr;
    width = height = 0;
}

void PixelBitmap::ReplaceColor(uint32_t from, COLORREF to)
{
    const uint32_t replacement = PixelOf(to);
    const size_t count = size_t(width) * size_t(height);
    for (size_t i = 0; i < count; ++i)
        if ((pixels[i] & 0xFFFFFF) == from)
            pixels[i] = replacement;
}

void PixelBitmap::CopyRows(HDC dc, int x, int y, int firstRow, int lastRow) const
{
    if (!bitmap || firstRow < 0 || lastRow >= height || firstRow > lastRow)
        return;
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(dc, x, y + firstRow, width, lastRow - firstRow + 1, memory, 0, firstRow, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}
