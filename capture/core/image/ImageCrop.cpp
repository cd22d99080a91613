// Crop, erase, the colour change and the cropping lines' geometry.
#include "ImageCrop.h"

#include <algorithm>

#include "ColorOps.h"
#include "ImageFrame.h"
#include "ImageNotify.h"
#include "ImageResult.h"
#include "PixelAccess.h"

namespace {

bool IsOperableSource(const DisplayImage& source)
{
    const int depth = source.bitCount;
    return (depth == 1 || depth == 4 || depth == 8 || depth == 24) && source.HasSoundBlocks();
}

bool IsEmpty(const ImageRect& r) { return r.right <= r.left || r.bottom <= r.top; }

uint32_t PixelOfColor(COLORREF color)
{
    // Colour references hold red in the low byte; pixels blue.
    return (color >> 16 & 0xFF) | (color & 0xFF00) | (color & 0xFF) << 16;
}

// The index or pixel value that erases to white.
uint32_t EraseValue(const DisplayImage& image)
{
    if (image.bitCount == 24)
        return 0xFFFFFF;
    BlockLock header(image.hHeader);
    const DibColor* table = ColorTableOf(header);
    const int entries = static_cast<int>(image.GetPaletteSize());
    for (int i = 0; i < entries; ++i)
        if (table[i].red > 246 && table[i].green > 246 && table[i].blue > 246)
            return uint32_t(i);
    // No near-white entry: the nearest colour to white there is.
    return uint32_t(NearestTableIndex(table, entries, 0xFFFFFF));
}

} // namespace

ImageRect ClampedSelection(const DisplayImage& image)
{
    const ImageRect& s = image.selection;
    ImageRect r = {std::max<LONG>(s.left, 0), std::max<LONG>(s.top, 0), std::min<LONG>(s.right, image.width),
                   std::min<LONG>(s.bottom, image.height)};
    if (IsEmpty(r))
        r = {0, 0, 0, 0};
    return r;
}

void CropImage(DisplayImage& result, const DisplayImage& source)
{
    const ImageRect s = ClampedSelection(source);
    if (!IsOperableSource(source) || IsEmpty(s))
        return;
    BeginResult(result, source);
    result.width = s.right - s.left;
    result.height = s.bottom - s.top;
    if (!AllocateResultPixels(result) || !CopyResultHeader(result, source))
        return;
    UpdateHeaderSize(result);
    BlockLock from(source.hPixels), to(result.hPixels);
    const uint32_t inStride = source.GetRowStride(), outStride = result.GetRowStride();
    const int32_t firstRow = source.height - s.bottom;
    for (int32_t i = 0; i < result.height; ++i) {
        ReportImageProgress(i, result.height);
        CopyPixels(from.data() + size_t(firstRow + i) * inStride, s.left, to.data() + size_t(i) * outStride, 0,
                   result.width, source.bitCount);
    }
    result.selection = {0, 0, result.width, result.height};
    result.status = kStatusCrop;
}

void EraseSelection(DisplayImage& result, const DisplayImage& source)
{
    const ImageRect s = ClampedSelection(source);
    if (!IsOperableSource(source) || IsEmpty(s) || !DuplicateImage(result, source))
        return;
    const uint32_t value = EraseValue(result);
    const int depth = result.bitCount;
    BlockLock pixels(result.hPixels);
    const uint32_t stride = result.GetRowStride();
    const int32_t rows = s.bottom - s.top, firstRow = result.height - s.bottom;
    for (int32_t i = 0; i < rows; ++i) {
        ReportImageProgress(i, rows);
        uint8_t* row = pixels.data() + size_t(firstRow + i) * stride;
        for (int32_t x = s.left; x < s.right; ++x)
            SetPixelAt(row, x, depth, value);
    }
    result.status = kStatusErase;
}

void ReplaceColor24(DisplayImage& image, COLORREF oldColor, COLORREF newColor)
{
    if (image.bitCount != 24 || !image.HasSoundBlocks())
        return;
    const uint32_t from = PixelOfColor(oldColor), to = PixelOfColor(newColor);
    BlockLock pixels(image.hPixels);
    const uint32_t stride = image.GetRowStride();
    for (int32_t y = 0; y < image.height; ++y) {
        ReportImageProgress(y, image.height);
        uint8_t* row = pixels.data() + size_t(y) * stride;
        for (int32_t x = 0; x < image.width; ++x)
            if (PixelAt(row, x, 24) == from)
                SetPixelAt(row, x, 24, to);
    }
}

bool ChangeImageColor(DisplayImage& result, const DisplayImage& source, COLORREF oldColor, COLORREF newColor)
{
    if (!IsOperableSource(source) || !DuplicateImage(result, source))
        return false;
    if (result.bitCount == 24) {
        ReplaceColor24(result, oldColor, newColor);
    } else {
        BlockLock header(result.hHeader);
        DibColor* table = ColorTableOf(header);
        const uint32_t old = PixelOfColor(oldColor);
        // Every entry of that colour: a table may hold it more than once
        // (unused entries are often black), and the picked pixel may use
        // any of them.
        for (uint32_t i = 0; i < result.GetPaletteSize(); ++i)
            if (uint32_t(table[i].blue | table[i].green << 8 | table[i].red << 16) == old)
                table[i] = {uint8_t(newColor >> 16), uint8_t(newColor >> 8), uint8_t(newColor), 0};
    }
    result.colorCount = 0;
    result.status = kStatusChangeColor;
    return true;
}

COLORREF ColorAtPoint(const DisplayImage& image, int32_t x, int32_t y)
{
    if (!IsOperableSource(image) || x < 0 || y < 0 || x >= image.width || y >= image.height)
        return kNoColor;
    BlockLock pixels(image.hPixels);
    const uint8_t* row = pixels.data() + size_t(image.height - 1 - y) * image.GetRowStride();
    const uint32_t value = PixelAt(row, x, image.bitCount);
    if (image.bitCount == 24)
        return PixelOfColor(value);   // the same swap turns a pixel into a colour reference
    BlockLock header(image.hHeader);
    const DibColor c = ColorTableOf(header)[value];
    return COLORREF(c.red | c.green << 8 | c.blue << 16);
}

// ---- The cropping lines ----

int HitCropCorner(const ImageRect& s, int32_t x, int32_t y)
{
    auto in = [x, y](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        return x >= left && x < right && y >= top && y < bottom;
    };
    if (in(s.right - 4, s.bottom - 4, s.right + 4, s.bottom + 4))
        return 4;
    if (in(s.left - 3, s.bottom - 4, s.left + 5, s.bottom + 4))
        return 3;
    if (in(s.left - 3, s.top - 3, s.left + 5, s.top + 5))
        return 2;
    if (in(s.right - 4, s.top - 3, s.right + 4, s.top + 5))
        return 1;
    return 0;
}

void CropAnchor(const ImageRect& s, int corner, int32_t& x, int32_t& y)
{
    x = (corner == 1 || corner == 4) ? s.left : s.right;
    y = (corner == 1 || corner == 2) ? s.bottom : s.top;
}

ImageRect SpanRect(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y)
{
    return {std::min(anchorX, x), std::min(anchorY, y), std::max(anchorX, x), std::max(anchorY, y)};
}

namespace {

// One edge step; the strip between the old and the new edge over the
// selection's current extent is recorded.
enum Edge { kLeftEdge, kTopEdge, kRightEdge, kBottomEdge };

bool StepEdge(ImageRect& s, Edge edge, int delta, int32_t width, int32_t height, std::vector<ImageRect>* changed)
{
    LONG* value = nullptr;
    LONG low = 0, high = 0;
    switch (edge) {
    case kLeftEdge: value = &s.left, low = 0, high = s.right - 1; break;
    case kTopEdge: value = &s.top, low = 0, high = s.bottom - 1; break;
    case kRightEdge: value = &s.right, low = s.left + 1, high = width; break;
    case kBottomEdge: value = &s.bottom, low = s.top + 1, high = height; break;
    }
    const LONG moved = *value + delta;
    if (moved < low || moved > high)
        return false;
    const LONG strip = std::min(*value, moved);
    if (changed) {
        if (edge == kLeftEdge || edge == kRightEdge)
            changed->push_back({strip, s.top, strip + 1, s.bottom});
        else
            changed->push_back({s.left, strip, s.right, strip + 1});
    }
    *value = moved;
    return true;
}

} // namespace

bool NudgeSelection(ImageRect& s, CropKey key, bool shift, int32_t width, int32_t height,
                    std::vector<ImageRect>* changed)
{
    switch (key) {
    case kCropKeyLeft: return StepEdge(s, shift ? kRightEdge : kLeftEdge, -1, width, height, changed);
    case kCropKeyUp: return StepEdge(s, shift ? kBottomEdge : kTopEdge, -1, width, height, changed);
    case kCropKeyRight: return StepEdge(s, shift ? kRightEdge : kLeftEdge, 1, width, height, changed);
    case kCropKeyDown: return StepEdge(s, shift ? kBottomEdge : kTopEdge, 1, width, height, changed);
    case kCropKeyInward:
    case kCropKeyOutward: {
        const int in = key == kCropKeyInward ? 1 : -1;
        bool moved = StepEdge(s, kLeftEdge, in, width, height, changed);
        moved |= StepEdge(s, kTopEdge, in, width, height, changed);
        moved |= StepEdge(s, kRightEdge, -in, width, height, changed);
        moved |= StepEdge(s, kBottomEdge, -in, width, height, changed);
        return moved;
    }
    }
    return false;
}
