// Helpers for the drawing and clipboard tests: images with known pixels, and
// a 24-bit memory surface whose pixels are read back directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "capture/core/image/DisplayImage.h"
#include "formats/DibHelpers.h"
#include "tests/native/DisplayImageKit.h"

namespace winkit {

using imagekit::Shape;

inline uint8_t* Row(const BlockLock& lock, const DisplayImage& image, int32_t storedRow)
{
    return imagekit::PixelRow(image, lock, storedRow);
}

inline void SetEntry(DisplayImage& image, int index, COLORREF color)
{
    imagekit::SetEntry(image, index, GetRValue(color), GetGValue(color), GetBValue(color));
}

// A 24-bit image whose pixel at picture position (x, y), y from the top, is
// RGB(x * 20, y * 30, 200 - x).
inline void FillPattern24(DisplayImage& image, int32_t width, int32_t height)
{
    Shape(image, width, height, 24);
    BlockLock pixels(image.hPixels);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = Row(pixels, image, height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x] = uint8_t(200 - x);
            row[3 * x + 1] = uint8_t(y * 30);
            row[3 * x + 2] = uint8_t(x * 20);
        }
    }
}

inline COLORREF PatternColor(int32_t x, int32_t y) { return RGB(x * 20, y * 30, 200 - x); }

// A top-down 24-bit DIB section selected into a memory DC, filled with one
// colour.
class Surface {
public:
    Surface(int width, int height, COLORREF fill = RGB(1, 2, 3)) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                Set(x, y, fill);
    }
    ~Surface()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint8_t* p = bits_ + size_t(y) * Stride() + 3 * size_t(x);
        return RGB(p[2], p[1], p[0]);
    }
    void Set(int x, int y, COLORREF color)
    {
        uint8_t* p = bits_ + size_t(y) * Stride() + 3 * size_t(x);
        p[0] = GetBValue(color);
        p[1] = GetGValue(color);
        p[2] = GetRValue(color);
    }
    bool SameAs(const Surface& other) const
    {
        GdiFlush();
        return memcmp(bits_, other.bits_, Stride() * height_) == 0;
    }
    size_t Stride() const { return (size_t(width_) * 3 + 3) / 4 * 4; }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint8_t* bits_ = nullptr;
};

} // namespace winkit
