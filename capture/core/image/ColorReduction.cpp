// Colour reductions: 8 bits to 4, 24 bits to 8, 4 bits to 1, each only when
// the colours that occur fit the smaller depth.
#include <cstring>

#include "ColorOps.h"
#include "ImageNotify.h"
#include "ImageResult.h"

namespace {

// Marks the palette indices a 4- or 8-bit image uses; returns how many.
int MarkUsedIndices(const DisplayImage& source, bool* used)
{
    BlockLock pixels(source.hPixels);
    const uint32_t stride = source.GetRowStride();
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* row = pixels.data() + size_t(y) * stride;
        for (int32_t x = 0; x < source.width; ++x)
            used[PaletteIndexAt(row, x, source.bitCount)] = true;
    }
    int count = 0;
    for (uint32_t i = 0; i < source.GetPaletteSize(); ++i)
        count += used[i] ? 1 : 0;
    return count;
}

// The used indices in ascending order become 0, 1, 2...: fills newIndex and
// copies their colours into the result's table.
void PackUsedEntries(const DisplayImage& source, DisplayImage& result, const bool* used, uint8_t* newIndex)
{
    BlockLock from(source.hHeader), to(result.hHeader);
    const DibColor* oldTable = ColorTableOf(from);
    DibColor* newTable = ColorTableOf(to);
    uint8_t next = 0;
    for (uint32_t i = 0; i < source.GetPaletteSize(); ++i) {
        if (!used[i])
            continue;
        newIndex[i] = next;
        newTable[next++] = oldTable[i];
    }
}

// Rewrites every pixel through newIndex into the result's depth.
void RemapPixels(const DisplayImage& source, DisplayImage& result, const uint8_t* newIndex)
{
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        for (int32_t x = 0; x < result.width; ++x) {
            uint8_t index = newIndex[PaletteIndexAt(in, x, source.bitCount)];
            if (result.bitCount == 4)
                out[x >> 1] |= static_cast<uint8_t>((x & 1) ? index : index << 4);
            else if (index)
                out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
    });
}

// Reduces a palette image to newDepth through its used indices.
void ReducePaletteImage(DisplayImage& result, const DisplayImage& source, const bool* used, int newDepth)
{
    BeginResult(result, source);
    result.bitCount = static_cast<uint16_t>(newDepth);
    if (!AllocateResultPixels(result) || !CreateResultHeader(result))
        return;
    uint8_t newIndex[256] = {};
    PackUsedEntries(source, result, used, newIndex);
    RemapPixels(source, result, newIndex);
}

// The distinct colours of a 24-bit image in order of first occurrence, with
// a hash index so that finding a colour does not walk the whole table.
class ColorCollector {
public:
    enum { kCapacity = 256, kSlots = 1024 };

    ColorCollector() { memset(slots_, 0xFF, sizeof slots_); }

    // Index of the colour, added when new; -1 when the table is full.
    int IndexOf(uint32_t color)
    {
        unsigned slot = Hash(color);
        while (slots_[slot] >= 0) {
            if (colors_[slots_[slot]] == color)
                return slots_[slot];
            slot = (slot + 1) & (kSlots - 1);
        }
        if (count_ == kCapacity)
            return -1;
        colors_[count_] = color;
        slots_[slot] = static_cast<int16_t>(count_);
        return count_++;
    }
    int count() const { return count_; }
    uint32_t color(int index) const { return colors_[index]; }

private:
    static unsigned Hash(uint32_t color) { return (color * 2654435761u) >> 22; }

    uint32_t colors_[kCapacity] = {};
    int16_t slots_[kSlots];
    int count_ = 0;
};

inline uint32_t ColorAt(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16; }

// Walks the pixels in stored order; false at the 257th distinct colour.
bool CollectColors(const DisplayImage& source, ColorCollector& colors)
{
    BlockLock pixels(source.hPixels);
    const uint32_t stride = source.GetRowStride();
    uint32_t last = 0xFFFFFFFFu;
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* in = pixels.data() + size_t(y) * stride;
        for (int32_t x = 0; x < source.width; ++x, in += 3) {
            uint32_t color = ColorAt(in);
            if (color != last && colors.IndexOf(color) < 0)
                return false;
            last = color;
        }
    }
    return true;
}

void WriteIndexedPixels(const DisplayImage& source, DisplayImage& result, ColorCollector& colors)
{
    ForEachRowPair(source, result, [&](const uint8_t* in, uint8_t* out) {
        for (int32_t x = 0; x < result.width; ++x, in += 3)
            out[x] = static_cast<uint8_t>(colors.IndexOf(ColorAt(in)));
    });
}

} // namespace

void ReduceColors8To4(DisplayImage& result, const DisplayImage& source)
{
    if (source.bitCount != 8 || !source.HasSoundBlocks())
        return;
    bool used[256] = {};
    if (MarkUsedIndices(source, used) > 16) {
        result.status = kStatusMoreThan16Colors;
        return;
    }
    ReducePaletteImage(result, source, used, 4);
    if (result.hPixels)
        result.status = kStatusReduceColors;
}

void ReduceColors4To1(DisplayImage& result, const DisplayImage& source)
{
    if (source.bitCount != 4 || !source.HasSoundBlocks())
        return;
    bool used[256] = {};
    if (MarkUsedIndices(source, used) > 2)
        return;
    ReducePaletteImage(result, source, used, 1);
}

void ReduceColors24To8(DisplayImage& result, const DisplayImage& source)
{
    if (source.bitCount != 24 || !source.HasSoundBlocks())
        return;
    ColorCollector colors;
    if (!CollectColors(source, colors)) {
        result.status = kStatusMoreThan256Colors;
        return;
    }
    BeginResult(result, source);
    result.bitCount = 8;
    if (!CreateResultHeader(result))
        return;
    {
        BlockLock header(result.hHeader);
        DibColor* table = ColorTableOf(header);
        for (int i = 0; i < colors.count(); ++i) {
            uint32_t c = colors.color(i);
            table[i] = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0};
        }
    }
    if (!AllocateResultPixels(result))
        return;
    WriteIndexedPixels(source, result, colors);
    result.status = kStatusReduceColors;
}
