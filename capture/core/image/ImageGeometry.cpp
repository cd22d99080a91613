// Zoom, scale, flips and quarter turns. Every operation moves single pixels
// at the source's depth; the 8- and 24-bit paths move whole bytes, and the
// quarter turns walk the picture in tiles so that the column reads stay in
// the cache.
#include "ImageGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "ColorOps.h"
#include "ImageNotify.h"
#include "ImageResult.h"
#include "PixelAccess.h"
#include "Settings.h"

namespace {

bool IsOperableSource(const DisplayImage& source)
{
    const int depth = source.bitCount;
    return (depth == 1 || depth == 4 || depth == 8 || depth == 24) && source.HasSoundBlocks();
}

// Sizes the result (already begun from its source) and gives it zeroed
// pixels; a size of no pixels, past an int or past the block cap is refused
// as memory the program cannot have.
bool SizeAndAllocate(DisplayImage& result, int64_t width, int64_t height)
{
    if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    result.width = static_cast<int32_t>(width);
    result.height = static_cast<int32_t>(height);
    return AllocateResultPixels(result);
}

// The result's header as a copy of the source's, telling the new size.
bool FinishHeader(DisplayImage& result, const DisplayImage& source)
{
    if (!CopyResultHeader(result, source))
        return false;
    UpdateHeaderSize(result);
    return true;
}

// The sw x sh picture a resample reads lies within the source's blocks.
bool FitsSource(const DisplayImage& source, int32_t sw, int32_t sh, int depth, uint32_t* stride)
{
    return source.hPixels && sw >= 1 && sh >= 1 && sw <= source.width && sh <= source.height &&
           depth == source.bitCount && CheckedDibRowBytes(sw, depth, stride) &&
           GlobalSize(source.hPixels) >= size_t(*stride) * size_t(sh);
}

// 24-bit pixels moved as 4-byte words where the fourth byte read still lies
// in the row and the fourth byte written belongs to a pixel written later.
inline uint32_t Load4(const uint8_t* p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}
inline void Store4(uint8_t* p, uint32_t v) { memcpy(p, &v, 4); }
inline void Copy3(uint8_t* to, const uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// Stored row y of a locked pixel block.
inline uint8_t* RowOf(const BlockLock& block, uint32_t stride, int32_t y)
{
    return block.data() + size_t(y) * stride;
}

// One stored row with every pixel repeated fx times.
void RepeatPixels(const uint8_t* in, uint8_t* out, int32_t width, int fx, int bitCount)
{
    switch (bitCount) {
    case 8:
        for (int32_t x = 0; x < width; ++x, out += fx)
            memset(out, in[x], size_t(fx));
        break;
    case 24: {
        // The row's very last pixel is written by its three bytes.
        uint8_t* const last = out + 3 * (size_t(width) * size_t(fx) - 1);
        for (int32_t x = 0; x < width; ++x, in += 3) {
            const uint32_t pixel = x < width - 1 ? Load4(in) : uint32_t(in[0] | in[1] << 8 | in[2] << 16);
            for (int i = 0; i < fx; ++i, out += 3)
                if (out != last)
                    Store4(out, pixel);
                else
                    Copy3(out, in);
        }
        break;
    }
    default:
        for (int32_t x = 0, to = 0; x < width; ++x) {
            const uint32_t value = PixelAt(in, x, bitCount);
            for (int i = 0; i < fx; ++i)
                SetPixelAt(out, to++, bitCount, value);
        }
    }
}

// Which of a direction's source lines a plain shrink keeps: the counter
// drops line k when k = trunc(i x ratio) while i <= the lines to drop, and
// every line once the output is full.
class PlainDropper {
public:
    PlainDropper(int32_t sourceCount, int32_t keptCount)
        : toDrop_(sourceCount - keptCount), kept_(keptCount)
    {
        if (toDrop_ > 0)
            ratio_ = static_cast<float>(double(sourceCount) / double(toDrop_));
    }
    // Called for the lines in order; true when line k goes to the output.
    bool Keep(int32_t k)
    {
        if (written_ >= kept_)
            return false;
        if (toDrop_ > 0 && counter_ <= toDrop_ && k == int64_t(double(counter_) * double(ratio_))) {
            ++counter_;
            return false;
        }
        ++written_;
        return true;
    }

private:
    int32_t toDrop_;
    int32_t kept_;
    float ratio_ = 0;
    int32_t counter_ = 1;
    int32_t written_ = 0;
};

// Resamples the sw x sh image `from` into result (size preset), plain or
// smooth, and gives the result its header. False when it failed (the
// result's status says why).
bool ResampleInto(DisplayImage& result, const DisplayImage& from, int32_t sw, int32_t sh, bool smooth)
{
    if (!smooth) {
        result.bitCount = from.bitCount;
        PlainResample(result, from, sw, sh);
        return result.hPixels && FinishHeader(result, from);
    }
    SmoothResample(result, from, sw, sh);
    if (!result.hPixels || !CreateResultHeader(result))
        return false;
    ReduceTo8BitsWhenFew(result);
    return true;
}

// Rows i..i+1 averaged pixel by pixel into the smooth shrink's output:
// the partner row and, at columns where the next one is dropped, the next
// column too.
void SmoothRow(const uint8_t* row, const uint8_t* partner, uint8_t* out, int32_t sw, int32_t outWidth,
               bool dropsColumns, float columnRatio)
{
    int32_t written = 0;
    int32_t m = 1;
    for (int32_t j = 0; j < sw && written < outWidth; ++j) {
        const uint8_t* a = row + 3 * size_t(j);
        const uint8_t* b = partner + 3 * size_t(j);
        uint8_t* o = out + 3 * size_t(written);
        if (!dropsColumns) {
            for (int c = 0; c < 3; ++c)
                o[c] = static_cast<uint8_t>((a[c] + b[c]) >> 1);
            ++written;
            continue;
        }
        const double product = double(m) * double(columnRatio);
        const int64_t dropAt = int64_t(product - 1);
        if ((j < sw - 2 && j < int64_t(product - 2)) || (j == sw - 1 && j != dropAt)) {
            for (int c = 0; c < 3; ++c)
                o[c] = static_cast<uint8_t>((a[c] + b[c]) >> 1);
            ++written;
        } else if (j == dropAt) {
            ++m;
        } else {
            for (int c = 0; c < 3; ++c)
                o[c] = static_cast<uint8_t>((a[c] + a[c + 3] + b[c] + b[c + 3]) >> 2);
            ++written;
        }
    }
}

// The quarter turns, tile by tile: output stored row y shows the source
// column columnOf(y), its pixel x taken from source stored row
// firstRow + x * rowStep.
template <class ColumnOf>
void TurnPixels(const DisplayImage& source, DisplayImage& result, ColumnOf columnOf, int32_t firstRow, int rowStep)
{
    BlockLock from(source.hPixels), to(result.hPixels);
    const uint32_t inStride = source.GetRowStride();
    const uint32_t outStride = result.GetRowStride();
    const ptrdiff_t step = ptrdiff_t(rowStep) * ptrdiff_t(inStride);
    const int depth = source.bitCount;
    // Tiles of few output rows (source columns) by many output columns
    // (source rows): measured fastest for 24-bit pictures of screen size.
    constexpr int32_t kTileRows = 16, kTileColumns = 256;
    for (int32_t y0 = 0; y0 < result.height; y0 += kTileRows) {
        ReportImageProgress(y0, result.height);
        const int32_t y1 = std::min(result.height, y0 + kTileRows);
        for (int32_t x0 = 0; x0 < result.width; x0 += kTileColumns) {
            const int32_t x1 = std::min(result.width, x0 + kTileColumns);
            for (int32_t y = y0; y < y1; ++y) {
                uint8_t* out = RowOf(to, outStride, y);
                const int32_t column = columnOf(y);
                const int32_t row = firstRow + x0 * rowStep;
                if (depth == 24) {
                    const uint8_t* in = RowOf(from, inStride, row) + 3 * size_t(column);
                    uint8_t* o = out + 3 * size_t(x0);
                    int32_t x = x0;
                    if (column < source.width - 1) {
                        const int32_t wide = x1 == result.width ? x1 - 1 : x1;
                        for (; x < wide; ++x, o += 3, in += step)
                            Store4(o, Load4(in));
                    }
                    for (; x < x1; ++x, o += 3, in += step)
                        Copy3(o, in);
                } else if (depth == 8) {
                    const uint8_t* in = RowOf(from, inStride, row) + column;
                    for (int32_t x = x0; x < x1; ++x, in += step)
                        out[x] = *in;
                } else {
                    for (int32_t x = x0; x < x1; ++x)
                        SetPixelAt(out, x, depth, PixelAt(RowOf(from, inStride, firstRow + x * rowStep), column, depth));
                }
            }
        }
    }
}

} // namespace

void ScaleImageUp(DisplayImage& result, const DisplayImage& source, int fx, int fy)
{
    if (!IsOperableSource(source))
        return;
    BeginResult(result, source);
    // A factor below 1 gives no pixels and is refused with the others.
    if (!SizeAndAllocate(result, int64_t(fx) * source.width, int64_t(fy) * source.height) ||
        !FinishHeader(result, source))
        return;
    BlockLock from(source.hPixels), to(result.hPixels);
    const uint32_t inStride = source.GetRowStride();
    const uint32_t outStride = result.GetRowStride();
    for (int32_t i = 0; i < source.height; ++i) {
        ReportImageProgress(i, source.height);
        uint8_t* first = RowOf(to, outStride, i * fy);
        RepeatPixels(RowOf(from, inStride, i), first, source.width, fx, source.bitCount);
        for (int r = 1; r < fy; ++r)
            memcpy(first + size_t(r) * outStride, first, outStride);
    }
    result.status = kStatusZoomIn;
}

void PlainResample(DisplayImage& result, const DisplayImage& source, int32_t sw, int32_t sh)
{
    const int32_t outWidth = result.width, outHeight = result.height;
    const int depth = source.bitCount;
    uint32_t inStride = 0;
    if (!FitsSource(source, sw, sh, depth, &inStride) || outWidth < 1 || outHeight < 1 || outWidth > sw ||
        outHeight > sh || !AllocateResultPixels(result))
        return;
    const uint32_t outStride = result.GetRowStride();
    BlockLock from(source.hPixels), to(result.hPixels);
    // The kept columns are the same in every row.
    std::unique_ptr<int32_t[]> columns(new int32_t[size_t(outWidth)]);
    PlainDropper columnDropper(sw, outWidth);
    for (int32_t f = 0, l = 0; f < sw; ++f)
        if (columnDropper.Keep(f))
            columns[size_t(l++)] = f;
    PlainDropper rowDropper(sh, outHeight);
    for (int32_t k = 0, j = 0; k < sh; ++k) {
        ReportImageProgress(k, sh);
        if (!rowDropper.Keep(k))
            continue;
        const uint8_t* in = RowOf(from, inStride, k);
        uint8_t* out = RowOf(to, outStride, j++);
        for (int32_t x = 0; x < outWidth; ++x) {
            const int32_t column = columns[size_t(x)];
            if (depth == 24 && column < sw - 1 && x < outWidth - 1)
                Store4(out + 3 * size_t(x), Load4(in + 3 * size_t(column)));
            else if (depth == 24)
                Copy3(out + 3 * size_t(x), in + 3 * size_t(column));
            else if (depth == 8)
                out[x] = in[columns[size_t(x)]];
            else
                SetPixelAt(out, x, depth, PixelAt(in, columns[size_t(x)], depth));
        }
    }
}

void SmoothResample(DisplayImage& result, const DisplayImage& source, int32_t sw, int32_t sh)
{
    const int32_t outWidth = result.width, outHeight = result.height;
    result.bitCount = 24;
    uint32_t inStride = 0;
    if (!FitsSource(source, sw, sh, source.bitCount, &inStride) || outWidth < 1 || outHeight < 1 ||
        outWidth > sw || outHeight > sh || !AllocateResultPixels(result))
        return;
    CheckedDibRowBytes(sw, 24, &inStride);
    DisplayImage deep;
    const DisplayImage* from24 = &source;
    if (source.bitCount != 24) {
        ConvertTo24Bit(deep, source);
        if (!deep.hPixels) {
            AbandonResult(result, kStatusNoMemory);
            return;
        }
        from24 = &deep;
    }
    const uint32_t outStride = result.GetRowStride();
    const bool dropsRows = outHeight < sh, dropsColumns = outWidth < sw;
    const float rowRatio = dropsRows ? static_cast<float>(double(sh) / double(sh - outHeight)) : 0;
    const float columnRatio = dropsColumns ? static_cast<float>(double(sw) / double(sw - outWidth)) : 0;
    BlockLock from(from24->hPixels), to(result.hPixels);
    int32_t c = 1, d = 0;
    for (int32_t i = 0; i < sh && d < outHeight; ++i) {
        ReportImageProgress(i, sh);
        int32_t partner = i;
        if (dropsRows) {
            const double product = double(c) * double(rowRatio);
            if (i == int64_t(product - 1)) {
                ++c;
                continue;
            }
            const float single = static_cast<float>(product);
            if (!((i < sh - 2 && i < int64_t(double(single) - 2)) || i == sh - 1))
                partner = i + 1;
        }
        SmoothRow(RowOf(from, inStride, i), RowOf(from, inStride, partner), RowOf(to, outStride, d++), sw,
                  outWidth, dropsColumns, columnRatio);
    }
}

void ScaleImageTo(DisplayImage& result, const DisplayImage& source, int newWidth, int newHeight, bool smooth)
{
    if (!IsOperableSource(source))
        return;
    if (newWidth < 1 || newHeight < 1) {
        BeginResult(result, source);
        AbandonResult(result, kStatusNoMemory);
        return;
    }
    const int fx = static_cast<int>((int64_t(newWidth) + source.width - 1) / source.width);
    const int fy = static_cast<int>((int64_t(newHeight) + source.height - 1) / source.height);
    if (fx > 1 || fy > 1) {
        ScaleImageUp(result, source, fx, fy);
        if (!result.hPixels)
            return;
        if (result.width == newWidth && result.height == newHeight)
            return;
        DisplayImage enlarged;
        enlarged.CopyAttributesFrom(result);
        result.Clear();
        result.width = newWidth;
        result.height = newHeight;
        if (ResampleInto(result, enlarged, enlarged.width, enlarged.height, smooth))
            result.status = kStatusZoomIn;
        return;
    }
    BeginResult(result, source);
    result.width = newWidth;
    result.height = newHeight;
    if (ResampleInto(result, source, source.width, source.height, smooth))
        result.status = kStatusZoomOut;
}

void ScaleImage(DisplayImage& result, const DisplayImage& source, int newWidth, int newHeight)
{
    ScaleImageTo(result, source, newWidth, newHeight, RunMode[kRunSmoothScaling] == 1);
}

void FlipImageHorizontal(DisplayImage& result, const DisplayImage& source)
{
    if (!IsOperableSource(source))
        return;
    BeginResult(result, source);
    if (!SizeAndAllocate(result, source.width, source.height) || !FinishHeader(result, source))
        return;
    const int depth = source.bitCount;
    const int32_t width = source.width;
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        if (depth == 24) {
            // The first pixel read is the row's last and the last written
            // ends the row: both by their three bytes.
            const uint8_t* p = in + 3 * size_t(width - 1);
            Copy3(out, p);
            int32_t x = 1;
            // Four pixels at a time as three words: source pixels a b c d
            // (from the left) are written d c b a.
            for (; x + 4 < width; x += 4) {
                const uint8_t* group = p - 3 * size_t(x + 3);
                const uint32_t w0 = Load4(group), w1 = Load4(group + 4), w2 = Load4(group + 8);
                uint8_t* o = out + 3 * size_t(x);
                Store4(o, (w2 >> 8) | ((w1 >> 16) & 0xFF) << 24);
                Store4(o + 4, (w1 >> 24) | (w2 & 0xFF) << 8 | (w0 >> 24) << 16 | (w1 & 0xFF) << 24);
                Store4(o + 8, ((w1 >> 8) & 0xFF) | (w0 & 0xFFFFFF) << 8);
            }
            for (; x < width - 1; ++x)
                Store4(out + 3 * size_t(x), Load4(p - 3 * size_t(x)));
            if (width > 1)
                Copy3(out + 3 * size_t(width - 1), in);
        } else if (depth == 8) {
            for (int32_t x = 0; x < width; ++x)
                out[x] = in[width - 1 - x];
        } else {
            for (int32_t x = 0; x < width; ++x)
                SetPixelAt(out, x, depth, PixelAt(in, width - 1 - x, depth));
        }
    });
    result.status = kStatusFlipHorizontal;
}

void FlipImageVertical(DisplayImage& result, const DisplayImage& source)
{
    if (!IsOperableSource(source))
        return;
    BeginResult(result, source);
    if (!SizeAndAllocate(result, source.width, source.height) || !FinishHeader(result, source))
        return;
    BlockLock from(source.hPixels), to(result.hPixels);
    const uint32_t stride = source.GetRowStride();
    for (int32_t i = 0; i < source.height; ++i) {
        ReportImageProgress(i, source.height);
        memcpy(RowOf(to, stride, source.height - 1 - i), RowOf(from, stride, i), stride);
    }
    result.status = kStatusFlipVertical;
}

void RotateImageLeft(DisplayImage& result, const DisplayImage& source)
{
    if (!IsOperableSource(source))
        return;
    BeginResult(result, source);
    if (!SizeAndAllocate(result, source.height, source.width) || !FinishHeader(result, source))
        return;
    // Output row y is source column y, read from the top row down.
    TurnPixels(source, result, [](int32_t y) { return y; }, source.height - 1, -1);
    result.status = kStatusRotateLeft;
}

void RotateImageRight(DisplayImage& result, const DisplayImage& source)
{
    if (!IsOperableSource(source))
        return;
    BeginResult(result, source);
    if (!SizeAndAllocate(result, source.height, source.width) || !FinishHeader(result, source))
        return;
    // Output row y is source column width - 1 - y, read from the bottom row up.
    const int32_t lastColumn = source.width - 1;
    TurnPixels(source, result, [lastColumn](int32_t y) { return lastColumn - y; }, 0, 1);
    result.status = kStatusRotateRight;
}
