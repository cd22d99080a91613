// Zoom, flips and quarter turns, and the entry to scaling (ImageResample).
// Every operation moves single pixels at the source's depth; the 8- and
// 24-bit paths move whole bytes, and the quarter turns walk the picture in
// tiles so that the column reads stay in the cache.
#include "ImageGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "ColorOps.h"
#include "ImageNotify.h"
#include "ImageResult.h"
#include "ImageResample.h"
#include "PixelAccess.h"
#include "RowKernels.h"
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
    return AllocateResultPixelsToOverwrite(result);
}

// The result's header as a copy of the source's, telling the new size.
bool FinishHeader(DisplayImage& result, const DisplayImage& source)
{
    if (!CopyResultHeader(result, source))
        return false;
    UpdateHeaderSize(result);
    return true;
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
    // Small tiles (8 source columns by 32 source rows) keep the rows a tile
    // reads in the first-level cache: measured fastest for 24-bit pictures
    // of screen size.
    constexpr int32_t kTileRows = 8, kTileColumns = 32;
    // The bands of output rows are taken in the order that reads the source
    // columns from left to right (measured a little faster).
    const bool columnsDescend = columnOf(0) > columnOf(result.height - 1);
    for (int32_t done = 0; done < result.height; done += kTileRows) {
        ReportImageProgress(done, result.height);
        const int32_t y0 = columnsDescend ? std::max(0, result.height - done - kTileRows) : done;
        const int32_t y1 = columnsDescend ? result.height - done : std::min(result.height, done + kTileRows);
        for (int32_t x0 = 0; x0 < result.width; x0 += kTileColumns) {
            const int32_t x1 = std::min(result.width, x0 + kTileColumns);
            for (int32_t y = y0; y < y1; ++y) {
                uint8_t* out = RowOf(to, outStride, y);
                const int32_t column = columnOf(y);
                const int32_t row = firstRow + x0 * rowStep;
                if (depth == 24 && column < source.width - 1) {
                    // Pixels of this column have a fourth byte to read.
                    CopyStrided24(RowOf(from, inStride, row) + 3 * size_t(column), step, x1 - x0,
                                  out + 3 * size_t(x0), x1 < result.width - 1);
                } else if (depth == 24) {
                    const uint8_t* in = RowOf(from, inStride, row) + 3 * size_t(column);
                    for (int32_t x = x0; x < x1; ++x, in += step)
                        Copy3(out + 3 * size_t(x), in);
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

void ScaleImageTo(DisplayImage& result, const DisplayImage& source, int newWidth, int newHeight, bool smooth)
{
    if (!IsOperableSource(source))
        return;
    BeginResult(result, source);
    if (newWidth < 1 || newHeight < 1) {
        AbandonResult(result, kStatusNoMemory);
        return;
    }
    // A direction that grows is enlarged by the least whole factor that
    // reaches the new size; an exact enlargement is a zoom.
    const int fx = static_cast<int>((int64_t(newWidth) + source.width - 1) / source.width);
    const int fy = static_cast<int>((int64_t(newHeight) + source.height - 1) / source.height);
    const bool grows = fx > 1 || fy > 1;
    if (grows && int64_t(fx) * source.width == newWidth && int64_t(fy) * source.height == newHeight) {
        ScaleImageUp(result, source, fx, fy);
        return;
    }
    result.width = newWidth;
    result.height = newHeight;
    if (!ResampleEnlarged(result, source, fx, fy, smooth))
        return;
    if (smooth) {
        if (!CreateResultHeader(result))
            return;
        ReduceTo8BitsWhenFew(result);
    } else if (!FinishHeader(result, source)) {
        return;
    }
    result.status = grows ? kStatusZoomIn : kStatusZoomOut;
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
    std::vector<uint8_t> scratch(depth == 24 ? 3 * size_t(width) + 4 : 0);
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        if (depth == 24) {
            ReverseRow24(in, out, width, scratch.data());
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
