// What the capture program's option dialogs share: stored values brought
// into range, the full-open colour dialog, the help call by keyword, and
// resource bitmaps as 32-bit pixels that can be recoloured.
#pragma once

#include <windows.h>

#include <cstdint>

class CWnd;

inline int ClampedValue(int value, int low, int high) { return value < low ? low : value > high ? high : value; }
inline int FlagValue(int value) { return value != 0 ? 1 : 0; }

// The colour dialog, opened in full, starting at color; true with the
// chosen colour in color on OK.
bool ChooseColorFullOpen(CWnd* owner, COLORREF& color);
// The application's help call with HELP_KEY and keyword.
void ShowHelpKeyword(const char* keyword);

// A resource bitmap copied into a 32-bit top-down DIB section whose pixels
// (0x00RRGGBB) can be changed in place. Empty when it could not be loaded.
class PixelBitmap {
public:
    PixelBitmap() = default;
    ~PixelBitmap() { Free(); }
    PixelBitmap(const PixelBitmap&) = delete;
    PixelBitmap& operator=(const PixelBitmap&) = delete;

    bool Load(int bitmapId);
    void Free();
    // Every pixel of colour from becomes the colour reference to.
    void ReplaceColor(uint32_t from, COLORREF to);
    // Copies rows firstRow to lastRow (top-down, inclusive) to dc at (x, y)
    // of the bitmap's top-left corner.
    void CopyRows(HDC dc, int x, int y, int firstRow, int lastRow) const;
    void Copy(HDC dc, int x, int y) const { CopyRows(dc, x, y, 0, height - 1); }

    HBITMAP bitmap = nullptr;
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// 0x00RRGGBB of a colour reference.
inline uint32_t PixelOf(COLORREF color)
{
    return (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
}
