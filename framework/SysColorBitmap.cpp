// Toolbar bitmaps drawn in the standard button colours, recoloured to the
// system's current ones.
#include "ControlBars.h"

#include <cstring>
#include <vector>

namespace {

struct ColorMap {
    COLORREF from;
    int systemColor;
};

const ColorMap kButtonColors[] = {
    {0x000000, COLOR_BTNTEXT},      // black
    {0x808080, COLOR_BTNSHADOW},    // dark grey
    {0xC0C0C0, COLOR_BTNFACE},      // light grey
    {0xFFFFFF, COLOR_BTNHIGHLIGHT}, // white
};

} // namespace

HBITMAP AfxLoadSysColorBitmap(HINSTANCE instance, HRSRC resource, BOOL mono)
{
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    DWORD size = resource ? ::SizeofResource(instance, resource) : 0;
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize < sizeof header || header.biSize > size || header.biBitCount > 8 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0)
        return nullptr;
    DWORD colors = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount);
    if (colors > 256 || header.biSize + colors * sizeof(RGBQUAD) > size)
        return nullptr;
    std::vector<BYTE> info(header.biSize + colors * sizeof(RGBQUAD));
    std::memcpy(info.data(), data, info.size());
    auto* table = reinterpret_cast<RGBQUAD*>(info.data() + header.biSize);
    for (DWORD i = 0; i < colors; ++i) {
        COLORREF entry = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue) & 0xFFFFFF;
        for (const ColorMap& map : kButtonColors) {
            if (entry == map.from) {
                COLORREF now = ::GetSysColor(map.systemColor);
                table[i].rgbRed = GetRValue(now);
                table[i].rgbGreen = GetGValue(now);
                table[i].rgbBlue = GetBValue(now);
                break;
            }
        }
    }
    const BYTE* bits = data + info.size();
    LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    DWORD stride = ((static_cast<DWORD>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    if (static_cast<unsigned long long>(stride) * height > size - info.size())
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = nullptr;
    if (mono) {
        bitmap = ::CreateBitmap(header.biWidth, height, 1, 1, nullptr);
        if (bitmap)
            ::SetDIBits(screen, bitmap, 0, height, bits, reinterpret_cast<BITMAPINFO*>(info.data()),
                        DIB_RGB_COLORS);
    } else {
        bitmap = ::CreateDIBitmap(screen, &header, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(info.data()),
                                  DIB_RGB_COLORS);
    }
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}
