// Colour operations: duplicate, grayscale, invert, black and white, and the
// depth conversions to 24 bits.
#include "ColorOps.h"

#include <cstring>
#include <vector>

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

// The nearest of the standard colours whose bits are set, the first of
// equals winning.
int NearestAmong(uint16_t colours, uint8_t red, uint8_t green, uint8_t blue)
{
    int best = 0;
    int bestDistance = 0x7FFFFFFF;
    for (int i = 0; colours; ++i, colours >>= 1) {
        if (!(colours & 1))
            continue;
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

// The nearest standard colour of every colour, looked up. The cube of
// colours is cut into cells of 8 levels a side, and a cell whose eight
// corners share a nearest colour answers with it: the colours nearest to
// one standard colour (the first of equals winning) are those on the right
// side of a plane towards every other standard colour, a convex region, so
// a box with all its corners inside lies inside whole. Cells with corners
// of several colours are cut into eight cells of 4 levels, each holding the
// set of its corners' nearest colours (one colour, or the few to measure);
// a test checks every colour of the cube against the plain search.
class StandardColorGrid {
public:
    StandardColorGrid()
    {
        for (int r = 0; r < 256; r += 8)
            for (int g = 0; g < 256; g += 8)
                for (int b = 0; b < 256; b += 8) {
                    uint16_t colours = CornerColours(r, g, b, 8);
                    unsigned entry = SingleColour(colours);
                    if (entry >= 16) {
                        entry = 16 + unsigned(fine_.size() / 8);
                        for (int corner = 0; corner < 8; ++corner)
                            fine_.push_back(
                                CornerColours(r + (corner >> 2) * 4, g + (corner >> 1 & 1) * 4, b + (corner & 1) * 4, 4));
                    }
                    coarse_[CoarseIndex(uint8_t(r), uint8_t(g), uint8_t(b))] = uint16_t(entry);
                }
    }

    // The standard colours (a bit each) among which the nearest to the
    // colour lies: one bit where the grid knows the answer.
    uint16_t Candidates(uint8_t red, uint8_t green, uint8_t blue) const
    {
        const unsigned coarse = coarse_[CoarseIndex(red, green, blue)];
        if (coarse < 16)
            return uint16_t(1u << coarse);
        return fine_[(coarse - 16) * 8 + ((red >> 2 & 1) << 2 | (green >> 2 & 1) << 1 | (blue >> 2 & 1))];
    }

    int Nearest(uint8_t red, uint8_t green, uint8_t blue) const
    {
        return NearestAmong(Candidates(red, green, blue), red, green, blue);
    }

private:
    static unsigned CoarseIndex(uint8_t red, uint8_t green, uint8_t blue)
    {
        return unsigned(red >> 3) << 10 | unsigned(green >> 3) << 5 | unsigned(blue >> 3);
    }

    // The colour of a set of one, else 16 or more.
    static unsigned SingleColour(uint16_t colours)
    {
        unsigned colour = 0;
        while (colour < 16 && colours != (1u << colour))
            ++colour;
        return colour;
    }

    // The nearest colours of the cell's corners, a bit each.
    static uint16_t CornerColours(int r, int g, int b, int size)
    {
        const int last = size - 1;
        uint16_t colours = 0;
        for (int corner = 0; corner < 8; ++corner)
            colours |= uint16_t(1u << SearchNearestStandardColor(uint8_t(r + (corner >> 2) * last),
                                                                 uint8_t(g + (corner >> 1 & 1) * last),
                                                                 uint8_t(b + (corner & 1) * last)));
        return colours;
    }

    uint16_t coarse_[32 * 32 * 32] = {};  // a colour, or 16 + the number of its block of fine cells
    std::vector<uint16_t> fine_;
};

const StandardColorGrid& Grid()
{
    static const StandardColorGrid grid;
    return grid;
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

// What each cell of 4 levels a side becomes under the current flags: black
// (0), white (1), or 2 where its candidate colours disagree and the nearest
// must be measured.
constexpr uint8_t kMeasure = 2;

unsigned CellIndex4(uint8_t red, uint8_t green, uint8_t blue)
{
    return unsigned(red >> 2) << 12 | unsigned(green >> 2) << 6 | unsigned(blue >> 2);
}

std::vector<uint8_t> BlackWhiteCells(const StandardColorGrid& grid, uint16_t whiteColours)
{
    std::vector<uint8_t> cells(64 * 64 * 64);
    for (int r = 0; r < 256; r += 4)
        for (int g = 0; g < 256; g += 4)
            for (int b = 0; b < 256; b += 4) {
                const uint16_t candidates = grid.Candidates(uint8_t(r), uint8_t(g), uint8_t(b));
                const uint16_t white = candidates & whiteColours;
                cells[CellIndex4(uint8_t(r), uint8_t(g), uint8_t(b))] =
                    white == 0 ? 0 : white == candidates ? 1 : kMeasure;
            }
    return cells;
}

void WriteBlackWhiteRow24(const StandardColorGrid& grid, const uint8_t* cells, uint16_t whiteColours,
                          const uint8_t* in, uint8_t* out, int32_t width)
{
    unsigned bits = 0;
    for (int32_t x = 0; x < width; ++x, in += 3) {
        unsigned white = cells[CellIndex4(in[2], in[1], in[0])];
        if (white == kMeasure)
            white = whiteColours >> grid.Nearest(in[2], in[1], in[0]) & 1;
        bits = bits << 1 | white;
        if ((x & 7) == 7) {
            out[x >> 3] = uint8_t(bits);
            bits = 0;
        }
    }
    if (width & 7)
        out[width >> 3] = uint8_t(bits << (8 - (width & 7)));
}

void WriteBlackWhitePixels(DisplayImage& result, const DisplayImage& source)
{
    if (source.bitCount == 24) {
        const StandardColorGrid& grid = Grid();
        uint16_t whiteColours = 0;
        for (int i = 0; i < 16; ++i)
            whiteColours = uint16_t(whiteColours | (BlackWhite[i] != 0) << i);
        const std::vector<uint8_t> cells = BlackWhiteCells(grid, whiteColours);
        ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
            WriteBlackWhiteRow24(grid, cells.data(), whiteColours, in, out, result.width);
        });
        return;
    }
    bool white[256] = {};
    WhiteEntries(source, white);
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        for (int32_t x = 0; x < result.width; ++x)
            if (white[PaletteIndexAt(in, x, source.bitCount)])
                out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    });
}

} // namespace

uint8_t GrayOf(uint8_t red, uint8_t green, uint8_t blue)
{
    if (red == green && green == blue)
        return red;
    return static_cast<uint8_t>((30 * red + 54 * green + 11 * blue) / 100);
}

int SearchNearestStandardColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return NearestAmong(0xFFFF, red, green, blue);
}

int NearestStandardColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return Grid().Nearest(red, green, blue);
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
