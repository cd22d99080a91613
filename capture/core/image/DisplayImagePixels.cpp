// DisplayImage: the window-free pixel loops (the dithered display copy, its
// halftone header, colour counting).
#include <cstring>
#include <memory>
#include <new>

#include "../../../formats/DibHelpers.h"
#include "DisplayImage.h"
#include "ImageNotify.h"

namespace {

// Ordered-dither thresholds by (stored row mod 8, column mod 8).
const uint8_t kDitherThreshold[8][8] = {
    {0, 38, 9, 47, 2, 40, 11, 50},   {25, 12, 35, 22, 27, 15, 37, 24},
    {6, 44, 3, 41, 8, 47, 5, 43},    {31, 19, 28, 15, 34, 21, 31, 18},
    {1, 39, 11, 49, 0, 39, 10, 48},  {27, 14, 36, 23, 26, 13, 35, 23},
    {7, 46, 4, 43, 7, 45, 3, 42},    {33, 20, 30, 17, 32, 19, 29, 16},
};

const PaletteRgb kHalftoneLowEntries[10] = {
    {0, 0, 0, 0},     {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},     {0, 0, 128, 0},
    {128, 0, 128, 0}, {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0},   {166, 202, 240, 0},
};
const PaletteRgb kHalftoneHighEntries[10] = {
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0}, {255, 255, 255, 0},
};
enum { kCubeEnd = 226, kGrayEnd = 246 };

// Quotient and remainder of each channel value by 51, the cube's step.
struct ChannelSteps {
    uint8_t level[256];
    uint8_t rest[256];
    ChannelSteps()
    {
        for (int v = 0; v < 256; ++v) {
            level[v] = static_cast<uint8_t>(v / 51);
            rest[v] = static_cast<uint8_t>(v % 51);
        }
    }
};
const ChannelSteps kSteps;

inline int DitherLevel(uint8_t value, uint8_t threshold)
{
    return kSteps.level[value] + (kSteps.rest[value] > threshold ? 1 : 0);
}

// Counts the entries of a marked-index table that are set.
template <size_t N>
int32_t CountMarked(const bool (&marked)[N])
{
    int32_t count = 0;
    for (bool m : marked)
        count += m ? 1 : 0;
    return count;
}

// How many of the N palette indices the rows use, with progress by row;
// indexAt(row, x) reads pixel x of a stored row.
template <size_t N, class IndexAt>
int32_t CountUsedIndices(const DisplayImage& image, IndexAt indexAt)
{
    bool marked[N] = {};
    BlockLock pixels(image.hPixels);
    const uint32_t stride = image.GetRowStride();
    for (int32_t y = 0; y < image.height; ++y) {
        ReportImageProgress(y, image.height);
        const uint8_t* row = pixels.data() + size_t(y) * stride;
        for (int32_t x = 0; x < image.width; ++x)
            marked[indexAt(row, x)] = true;
    }
    return CountMarked(marked);
}

int32_t CountBits(const uint8_t* bytes, size_t size)
{
    int32_t count = 0;
    for (size_t i = 0; i < size; ++i)
        count += __builtin_popcount(bytes[i]);
    return count;
}

} // namespace

PaletteRgb HalftonePaletteEntry(int index)
{
    if (index < kHalftoneCubeBase)
        return kHalftoneLowEntries[index < 0 ? 0 : index];
    if (index < kCubeEnd) {
        int cube = index - kHalftoneCubeBase;
        return {static_cast<BYTE>(51 * (cube / 36)), static_cast<BYTE>(51 * (cube / 6 % 6)),
                static_cast<BYTE>(51 * (cube % 6)), 0};
    }
    if (index < kGrayEnd) {
        BYTE gray = static_cast<BYTE>(16 + 12 * (index - kCubeEnd));
        return {gray, gray, gray, 0};
    }
    return kHalftoneHighEntries[index < kHalftoneEntryCount ? index - kGrayEnd : 9];
}

uint8_t DitherToHalftone(uint8_t red, uint8_t green, uint8_t blue, int x, int y)
{
    uint8_t threshold = kDitherThreshold[y & 7][x & 7];
    return static_cast<uint8_t>(kHalftoneCubeBase + 36 * DitherLevel(red, threshold) +
                                6 * DitherLevel(green, threshold) + DitherLevel(blue, threshold));
}

void DisplayImage::DitherTo8Bit()
{
    if ((bitCount != 24 && bitCount != 32) || !HasSoundBlocks())
        return;
    uint32_t displayBytes = 0;
    if (!CheckedDibImageSize(width, height, 8, &displayBytes))
        return;
    HGLOBAL block = GlobalAlloc(GHND, displayBytes);
    if (!block)
        return;
    if (hDisplayPixels)
        GlobalFree(hDisplayPixels);
    hDisplayPixels = block;

    BlockLock from(hPixels), to(hDisplayPixels);
    const uint32_t sourceStride = GetRowStride();
    const uint32_t displayStride = displayBytes / static_cast<uint32_t>(height);
    const int pixelBytes = bitCount / 8;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = from.data() + size_t(y) * sourceStride;
        uint8_t* out = to.data() + size_t(y) * displayStride;
        for (int32_t x = 0; x < width; ++x, in += pixelBytes)
            out[x] = DitherToHalftone(in[2], in[1], in[0], x, y);
    }
}

bool DisplayImage::BuildHalftoneDisplayHeader()
{
    static_assert(kDisplayHeaderSize == 40 + 4 * 256, "an 8-bit header with its full table");
    HGLOBAL block = AllocateDibHeader(width, height, 8);
    if (!block)
        return false;
    {
        BlockLock lock(block);
        lock.as<DibHeader>()->clrUsed = kHalftoneEntryCount;
        DibColor* table = reinterpret_cast<DibColor*>(lock.data() + 40);
        for (int i = 0; i < kHalftoneEntryCount; ++i) {
            PaletteRgb entry = HalftonePaletteEntry(i);
            table[i] = {entry.peBlue, entry.peGreen, entry.peRed, 0};
        }
    }
    if (hDisplayHeader)
        GlobalFree(hDisplayHeader);
    hDisplayHeader = block;
    return true;
}

void DisplayImage::CountColors4()
{
    colorCount = 0;
    if (bitCount != 4 || !HasSoundBlocks())
        return;
    colorCount = CountUsedIndices<16>(*this, [](const uint8_t* row, int32_t x) {
        return (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
    });
}

void DisplayImage::CountColors8()
{
    colorCount = 0;
    if (bitCount != 8 || !HasSoundBlocks())
        return;
    colorCount = CountUsedIndices<256>(*this, [](const uint8_t* row, int32_t x) { return row[x]; });
}

void DisplayImage::CountColors24()
{
    colorCount = 0;
    if ((bitCount != 24 && bitCount != 32) || !HasSoundBlocks())
        return;
    // One plane of 65536 bits per blue value, made when that blue first
    // occurs; bit (green * 256 + red) marks the colour.
    enum { kPlaneBytes = 65536 / 8 };
    std::unique_ptr<uint8_t[]> planes[256];
    BlockLock pixels(hPixels);
    const uint32_t stride = GetRowStride();
    const int pixelBytes = bitCount / 8;
    for (int32_t y = 0; y < height; ++y) {
        ReportImageProgress(y, height);
        const uint8_t* in = pixels.data() + size_t(y) * stride;
        for (int32_t x = 0; x < width; ++x, in += pixelBytes) {
            std::unique_ptr<uint8_t[]>& plane = planes[in[0]];
            if (!plane) {
                plane.reset(new (std::nothrow) uint8_t[kPlaneBytes]());
                if (!plane) {
                    ShowImageMessage(kStatusNoMemory);
                    return;   // the planes made so far go with the array
                }
            }
            unsigned bit = unsigned(in[1]) * 256 + in[2];
            plane[bit >> 3] |= static_cast<uint8_t>(0x80 >> (bit & 7));
        }
    }
    int32_t count = 0;
    for (const auto& plane : planes) {
        if (plane)
            count += CountBits(plane.get(), kPlaneBytes);
    }
    colorCount = count;
}
