// Frame and mat around an image, at the source's depth or, for 1-bit
// sources, through 24 bits and back down to the fewest bits that hold the
// colours.
#include "ImageFrame.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "ColorOps.h"
#include "ImageFileIO.h"
#include "ImageNotify.h"
#include "ImageResult.h"
#include "Settings.h"

namespace {

// What a band pixel is written as: a palette index, or blue, green, red.
struct BandPixel {
    uint8_t bytes[3];
};

BandPixel ColorBytes(COLORREF color)
{
    return {{uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color)}};
}

// A stored row of the result, written pixel by pixel from the left.
class RowWriter {
public:
    RowWriter(uint8_t* row, int bitCount) : row_(row), bitCount_(bitCount) {}

    void Run(int32_t count, const BandPixel& pixel)
    {
        for (int32_t i = 0; i < count; ++i)
            Put(pixel);
    }
    void Copy(const uint8_t* sourceRow, int32_t width)
    {
        if (bitCount_ == 24) {
            memcpy(row_ + 3 * size_t(x_), sourceRow, 3 * size_t(width));
            x_ += width;
            return;
        }
        for (int32_t i = 0; i < width; ++i)
            Put({{PaletteIndexAt(sourceRow, i, bitCount_), 0, 0}});
    }

private:
    void Put(const BandPixel& pixel)
    {
        const uint8_t index = pixel.bytes[0];
        switch (bitCount_) {
        case 4: row_[x_ >> 1] |= static_cast<uint8_t>((x_ & 1) ? (index & 0x0F) : index << 4); break;
        case 8: row_[x_] = index; break;
        default: memcpy(row_ + 3 * size_t(x_), pixel.bytes, 3); break;
        }
        ++x_;
    }

    uint8_t* row_;
    int bitCount_;
    int32_t x_ = 0;
};

// The two band pixels at the result's depth.
struct Bands {
    BandPixel frame;
    BandPixel mat;
};

Bands BandsFor(const DisplayImage& source, const FrameStyle& style)
{
    if (source.bitCount == 24)
        return {ColorBytes(style.frameColor), ColorBytes(style.matColor)};
    BlockLock header(source.hHeader);
    const DibColor* table = ColorTableOf(header);
    const int entries = static_cast<int>(source.GetPaletteSize());
    return {{{uint8_t(NearestTableIndex(table, entries, style.frameColor))}},
            {{uint8_t(NearestTableIndex(table, entries, style.matColor))}}};
}

// Sizes the result; false when a side would not fit the image fields.
bool SizeResult(DisplayImage& result, const DisplayImage& source, int32_t border)
{
    const int64_t width = int64_t(source.width) + 2 * int64_t(border);
    const int64_t height = int64_t(source.height) + 2 * int64_t(border);
    if (width > INT32_MAX || height > INT32_MAX)
        return false;
    result.width = static_cast<int32_t>(width);
    result.height = static_cast<int32_t>(height);
    return true;
}

void WriteFramedRows(DisplayImage& result, const DisplayImage& source, int32_t frame, int32_t mat,
                     const Bands& bands)
{
    BlockLock from(source.hPixels), to(result.hPixels);
    const uint32_t inStride = source.GetRowStride();
    const uint32_t outStride = result.GetRowStride();
    auto rowAt = [&](int32_t y) { return RowWriter(to.data() + size_t(y) * outStride, result.bitCount); };
    const int32_t border = frame + mat;
    const int32_t inner = result.width - 2 * frame;
    // Top and bottom alike, from the edge in: frame rows, then mat rows
    // between frame columns.
    for (int32_t i = 0; i < border; ++i) {
        for (int32_t y : {i, result.height - 1 - i}) {
            RowWriter row = rowAt(y);
            if (i < frame) {
                row.Run(result.width, bands.frame);
            } else {
                row.Run(frame, bands.frame);
                row.Run(inner, bands.mat);
                row.Run(frame, bands.frame);
            }
        }
    }
    for (int32_t y = 0; y < source.height; ++y) {
        ReportImageProgress(y, source.height);
        RowWriter row = rowAt(border + y);
        row.Run(frame, bands.frame);
        row.Run(mat, bands.mat);
        row.Copy(from.data() + size_t(y) * inStride, source.width);
        row.Run(mat, bands.mat);
        row.Run(frame, bands.frame);
    }
}

// 4, 8 and 24 bits: the source's depth and header.
void FrameAtSourceDepth(DisplayImage& result, const DisplayImage& source, int32_t frame, int32_t mat,
                        const FrameStyle& style)
{
    BeginResult(result, source);
    if (!SizeResult(result, source, frame + mat)) {
        AbandonResult(result, kStatusNoMemory);
        return;
    }
    if (!AllocateResultPixels(result) || !CopyResultHeader(result, source))
        return;
    UpdateHeaderSize(result);
    WriteFramedRows(result, source, frame, mat, BandsFor(source, style));
}

// The result's blocks give way to those of its reduction, when there is one
// (a failed reduction leaves the deeper image).
void ReduceResult(DisplayImage& result)
{
    std::unique_ptr<DisplayImage> reduced(AutoReduceColors(result));
    if (!reduced)
        return;
    result.FreeBlocks();
    result.bitCount = reduced->bitCount;
    result.hPixels = reduced->hPixels;
    result.hHeader = reduced->hHeader;
    reduced->hPixels = 0;
    reduced->hHeader = 0;
}

// 1 bit: framed in full colour, then reduced.
void FrameOneBit(DisplayImage& result, const DisplayImage& source, int32_t frame, int32_t mat,
                 const FrameStyle& style)
{
    DisplayImage deep;
    ConvertTo24Bit(deep, source);
    if (!deep.hPixels) {
        AbandonResult(result, kStatusNoMemory);
        return;
    }
    deep.timeStamp = source.timeStamp;
    deep.status = source.status;
    deep.placement = source.placement;
    deep.selection = source.selection;
    FrameAtSourceDepth(result, deep, frame, mat, style);
    if (result.hPixels)
        ReduceResult(result);
}

} // namespace

int NearestTableIndex(const DibColor* table, int entries, COLORREF color)
{
    const int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < entries; ++i) {
        const int dr = table[i].red - red, dg = table[i].green - green, db = table[i].blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void FrameImage(DisplayImage& result, const DisplayImage& source, const FrameStyle& style)
{
    const int depth = source.bitCount;
    if ((depth != 1 && depth != 4 && depth != 8 && depth != 24) || !source.HasSoundBlocks())
        return;
    // Each width alone may be as large as an int holds: the sum must not wrap.
    const int64_t frame = std::max(style.frameWidth, 0), mat = std::max(style.matWidth, 0);
    if (frame + mat > INT32_MAX / 2) {
        BeginResult(result, source);
        AbandonResult(result, kStatusNoMemory);
        return;
    }
    if (depth == 1)
        FrameOneBit(result, source, int32_t(frame), int32_t(mat), style);
    else
        FrameAtSourceDepth(result, source, int32_t(frame), int32_t(mat), style);
    if (result.hPixels)
        result.status = kStatusFrame;
}

void AddImageFrame(DisplayImage& result, const DisplayImage& source)
{
    const FrameStyle style = {Frame[kFrameWidth], Frame[kFrameMatWidth], COLORREF(Frame[kFrameColor]),
                              COLORREF(Frame[kFrameMatColor])};
    FrameImage(result, source, style);
}
