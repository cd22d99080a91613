// Colour operations: duplicate, grayscale, invert, black and white, and the
// depth conversions to 24 bits.
#include "ColorOps.h"

#include <cstring>

#include "ImageNotify.h"
#include "ImageResult.h"
#include "Settings.h"

namespace {

bool IsPaletteDepth(int bitCount) { return bitCount == 1 || bitCount == 4 || bitCount == 8; }

// The source as an operation may read it.
bool Readable(const DisplayImage& source, bool accepts)
{
    return accepts && source.HasSoundBlocks();
}

// Gray of each colour-table entry.
void GrayOfTable(const DibColor* table, uint32_t entries, uint8_t* grays)
{
    for (uint32_t i = 0; i < entries; ++i)
        grays[i] = GrayOf(table[i].red, table[i].green, table[i].blue);
}

void GrayscalePaletteTable(DisplayImage& result)
{
    BlockLock header(result.hHeader);
    DibColor* table = ColorTableOf(header);
    const int entries = static_cast<int>(result.GetPaletteSize());
    for (int i = 0; i < entries; ++i) {
        ReportImageProgress(i, entries);
        uint8_t g = GrayOf(table[i].red, table[i].green, table[i].blue);
        table[i] = {g, g, g, 0};
    }
}

void GrayscaleIndices(DisplayImage& result)
{
    BlockLock header(result.hHeader), pixels(result.hPixels);
    DibColor* table = ColorTableOf(header);
    uint8_t grays[256];
    GrayOfTable(table, 256, grays);
    const uint32_t stride = result.GetRowStride();
    for (int32_t y = 0; y < result.height; ++y) {
        ReportImageProgress(y, result.height);
        uint8_t* row = pixels.data() + size_t(y) * stride;
        for (int32_t x = 0; x < result.width; ++x)
            row[x] = grays[row[x]];
    }
    SetGrayPalette(table, 256);
}

void GrayscaleFrom24(DisplayImage& result, const DisplayImage& source)
{
    BeginResult(result, source);
    result.bitCount = 8;
    if (!AllocateResultPixels(result) || !CreateResultHeader(result))
        return;
    {
        BlockLock header(result.hHeader);
        SetGrayPalette(ColorTableOf(header), 256);
    }
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        for (int32_t x = 0; x < result.width; ++x, in += 3)
            out[x] = GrayOf(in[2], in[1], in[0]);
    });
}

void InvertPixelBytes(DisplayImage& result)
{
    BlockLock pixels(result.hPixels);
    const uint32_t stride = result.GetRowStride();
    const size_t rowBytes = size_t(result.width) * 3;
    for (int32_t y = 0; y < result.height; ++y) {
        ReportImageProgress(y, result.height);
        uint8_t* row = pixels.data() + size_t(y) * stride;
        for (size_t i = 0; i < rowBytes; ++i)
            row[i] = static_cast<uint8_t>(~row[i]);
    }
}

void InvertColorTable(DisplayImage& result)
{
    BlockLock header(result.hHeader);
    DibColor* table = ColorTableOf(header);
    const int entries = static_cast<int>(result.GetPaletteSize());
    for (int i = 0; i < entries; ++i) {
        ReportImageProgress(i, entries);
        table[i].red = static_cast<uint8_t>(~table[i].red);
        table[i].green = static_cast<uint8_t>(~table[i].green);
        table[i].blue = static_cast<uint8_t>(~table[i].blue);
    }
}

bool BecomesWhite(uint8_t red, uint8_t green, uint8_t blue)
{
    return BlackWhite[NearestStandardColor(red, green, blue)] != 0;
}

// Whether each colour-table entry of a palette image becomes white.
void WhiteEntries(const DisplayImage& source, bool* white)
{
    BlockLock header(source.hHeader);
    const DibColor* table = ColorTableOf(header);
    const uint32_t entries = source.GetPaletteSize();
    for (uint32_t i = 0; i < entries; ++i)
        white[i] = BecomesWhite(table[i].red, table[i].green, table[i].blue);
}

void WriteBlackWhitePixels(DisplayImage& result, const DisplayImage& source)
{
    bool white[256] = {};
    if (IsPaletteDepth(source.bitCount))
        WhiteEntries(source, white);
    // Neighbouring 24-bit pixels are often equal: keep the last answer.
    uint32_t lastColor = 0xFFFFFFFFu;
    bool lastWhite = false;
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        for (int32_t x = 0; x < result.width; ++x) {
            bool isWhite;
            if (source.bitCount == 24) {
                const uint8_t* p = in + 3 * size_t(x);
                uint32_t color = p[0] | p[1] << 8 | p[2] << 16;
                if (color != lastColor) {
                    lastColor = color;
                    lastWhite = BecomesWhite(p[2], p[1], p[0]);
                }
                isWhite = lastWhite;
            } else {
                isWhite = white[PaletteIndexAt(in, x, source.bitCount)];
            }
            if (isWhite)
                out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
    });
}

} // namespace

uint8_t GrayOf(uint8_t red, uint8_t green, uint8_t blue)
{
    if (red == green && green == blue)
        return red;
    return static_cast<uint8_t>((30 * red + 54 * green + 11 * blue) / 100);
}

int NearestStandardColor(uint8_t red, uint8_t green, uint8_t blue)
{
    int best = 0;
    int bestDistance = 0x7FFFFFFF;
    for (int i = 0; i < 16; ++i) {
        const DibColor& c = kStandard16Colors[i];
        int dr = c.red - red, dg = c.green - green, db = c.blue - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

bool DuplicateImage(DisplayImage& result, const DisplayImage& source)
{
    if (!source.HasSoundBlocks())
        return false;
    BeginResult(result, source);
    result.hPixels = DuplicateGlobalBlock(source.hPixels, source.GetBitsSize());
    if (!result.hPixels) {
        AbandonResult(result, kStatusNoMemory);
        return false;
    }
    return CopyResultHeader(result, source);
}

void ConvertToGrayscale(DisplayImage& result, const DisplayImage& source)
{
    const int depth = source.bitCount;
    if (!Readable(source, depth == 4 || depth == 8 || depth == 24))
        return;
    if (depth == 24) {
        GrayscaleFrom24(result, source);
    } else if (DuplicateImage(result, source)) {
        if (depth == 4)
            GrayscalePaletteTable(result);
        else
            GrayscaleIndices(result);
    }
    if (result.hPixels)
        result.status = kStatusGrayscale;
}

void InvertColors(DisplayImage& result, const DisplayImage& source)
{
    if (!Readable(source, IsPaletteDepth(source.bitCount) || source.bitCount == 24))
        return;
    if (!DuplicateImage(result, source))
        return;
    if (result.bitCount == 24)
        InvertPixelBytes(result);
    else
        InvertColorTable(result);
    result.status = kStatusInvert;
}

void ConvertToBlackWhite(DisplayImage& result, const DisplayImage& source)
{
    const int depth = source.bitCount;
    if (!Readable(source, depth == 4 || depth == 8 || depth == 24))
        return;
    BeginResult(result, source);
    result.bitCount = 1;
    if (!AllocateResultPixels(result) || !CreateResultHeader(result))
        return;
    WriteBlackWhitePixels(result, source);
    BlockLock header(result.hHeader);
    ColorTableOf(header)[1] = {255, 255, 255, 0};
    result.status = kStatusBlackAndWhite;
}

void ConvertTo24Bit(DisplayImage& result, const DisplayImage& source)
{
    if (!Readable(source, IsPaletteDepth(source.bitCount)))
        return;
    result.width = source.width;
    result.height = source.height;
    result.bitCount = 24;
    result.hPixels = 0;
    result.hHeader = 0;
    if (!CreateResultHeader(result) || !AllocateResultPixels(result))
        return;
    BlockLock header(source.hHeader), from(source.hPixels), to(result.hPixels);
    const DibColor* table = ColorTableOf(header);
    const uint32_t inStride = source.GetRowStride();
    const uint32_t outStride = result.GetRowStride();
    for (int32_t y = 0; y < result.height; ++y) {
        const uint8_t* in = from.data() + size_t(y) * inStride;
        uint8_t* out = to.data() + size_t(y) * outStride;
        for (int32_t x = 0; x < result.width; ++x, out += 3) {
            const DibColor& c = table[PaletteIndexAt(in, x, source.bitCount)];
            out[0] = c.blue;
            out[1] = c.green;
            out[2] = c.red;
        }
    }
}

bool ConvertDeepImageTo24Bit(DisplayImage& image)
{
    if (image.bitCount != 32)
        return true;
    if (!image.HasSoundBlocks())
        return false;
    DisplayImage converted;
    BeginResult(converted, image);
    converted.bitCount = 24;
    if (!AllocateResultPixels(converted) || !CreateResultHeader(converted))
        return false;
    {
        BlockLock from(image.hPixels), to(converted.hPixels);
        const uint32_t inStride = image.GetRowStride();
        const uint32_t outStride = converted.GetRowStride();
        for (int32_t y = 0; y < image.height; ++y) {
            const uint8_t* in = from.data() + size_t(y) * inStride;
            uint8_t* out = to.data() + size_t(y) * outStride;
            for (int32_t x = 0; x < image.width; ++x, in += 4, out += 3)
                memcpy(out, in, 3);
        }
    }
    GlobalFree(image.hPixels);
    GlobalFree(image.hHeader);
    image.bitCount = 24;
    image.hPixels = converted.hPixels;
    image.hHeader = converted.hHeader;
    converted.hPixels = 0;
    converted.hHeader = 0;
    return true;
}

bool ReduceTo8BitsWhenFew(DisplayImage& image)
{
    DisplayImage reduced;
    ReduceColors24To8(reduced, image);
    if (!reduced.hPixels)
        return false;
    image.FreeBlocks();
    image.bitCount = reduced.bitCount;
    image.hPixels = reduced.hPixels;
    image.hHeader = reduced.hHeader;
    reduced.Clear();
    return true;
}
