// The clipboard's device-independent bitmap block: building it from an image
// and reading a foreign one back, every size checked against the block.
#include <cstdint>
#include <cstring>

#include "ClipboardImage.h"
#include "ImageResult.h"

namespace {

enum { kRgb = 0, kBitFields = 3 };

// Where the parts of a foreign block lie and how its pixels read.
struct DibLayout {
    int32_t width = 0;
    int32_t height = 0;        // rows, always positive
    bool topDown = false;
    int bitCount = 0;          // of the block
    int imageBitCount = 0;     // of the image it becomes
    uint32_t colorEntries = 0; // entries stored in the block
    size_t tableOffset = 0;
    size_t pixelOffset = 0;
    size_t stride = 0;
    uint32_t masks[3] = {};    // red, green, blue for 16 and 32 bits
};

bool IsBlockDepth(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

uint32_t ReadU32(const uint8_t* p)
{
    uint32_t value;
    memcpy(&value, p, 4);
    return value;
}

// The channel masks of a 16- or 32-bit block; false when they are unusable.
bool ReadMasks(const uint8_t* data, size_t size, const DibHeader& header, DibLayout& layout)
{
    if (header.compression == kRgb) {
        const uint32_t plain16[3] = {0x7C00, 0x03E0, 0x001F};
        const uint32_t plain32[3] = {0xFF0000, 0x00FF00, 0x0000FF};
        memcpy(layout.masks, layout.bitCount == 16 ? plain16 : plain32, sizeof layout.masks);
        return true;
    }
    // Bit fields follow a 40-byte header, or sit inside one of 52 or more.
    if (40 + 12 > size || (header.size != 40 && header.size < 52))
        return false;
    for (int i = 0; i < 3; ++i)
        layout.masks[i] = ReadU32(data + 40 + 4 * i);
    if (header.size == 40)
        layout.tableOffset += 12;
    const uint32_t limit = layout.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (uint32_t mask : layout.masks) {
        if (mask == 0 || mask > limit)
            return false;
    }
    return true;
}

// Checks a foreign block's header against the block; fills layout.
bool ParseDibBlock(const uint8_t* data, size_t size, DibLayout& layout)
{
    if (size < sizeof(DibHeader))
        return false;
    DibHeader header;
    memcpy(&header, data, sizeof header);
    if (header.size < 40 || header.size > size || header.width <= 0 || header.height == 0 ||
        header.height == INT32_MIN || header.planes != 1 || !IsBlockDepth(header.bitCount))
        return false;
    layout.width = header.width;
    layout.topDown = header.height < 0;
    layout.height = layout.topDown ? -header.height : header.height;
    layout.bitCount = header.bitCount;
    layout.imageBitCount = header.bitCount > 8 ? 24 : header.bitCount;
    layout.tableOffset = header.size;

    const bool deep = header.bitCount == 16 || header.bitCount == 32;
    if (header.compression != kRgb && !(header.compression == kBitFields && deep))
        return false;
    if (deep && !ReadMasks(data, size, header, layout))
        return false;

    const uint32_t fullTable = GetPaletteEntryCount(header.bitCount);
    if (header.clrUsed > 256 || (fullTable && header.clrUsed > fullTable))
        return false;
    layout.colorEntries = header.clrUsed ? header.clrUsed : fullTable;

    // Everything in 64 bits: nothing below can wrap.
    uint64_t stride = (uint64_t(header.width) * header.bitCount + 31) / 32 * 4;
    uint64_t pixelOffset = uint64_t(layout.tableOffset) + 4ull * layout.colorEntries;
    uint64_t end = pixelOffset + stride * uint64_t(layout.height);
    uint32_t imageBytes = 0;
    if (end > size || !CheckedDibImageSize(layout.width, layout.height, layout.imageBitCount, &imageBytes))
        return false;
    layout.pixelOffset = static_cast<size_t>(pixelOffset);
    layout.stride = static_cast<size_t>(stride);
    return true;
}

// A channel of a 16- or 32-bit pixel scaled to 0..255.
struct Channel {
    uint32_t mask;
    int shift;
    uint32_t top;   // the channel's largest value
    explicit Channel(uint32_t m) : mask(m), shift(__builtin_ctz(m)), top(m >> __builtin_ctz(m)) {}
    uint8_t operator()(uint32_t pixel) const
    {
        return static_cast<uint8_t>(uint64_t((pixel & mask) >> shift) * 255 / top);
    }
};

void ConvertDeepRow(const uint8_t* in, uint8_t* out, const DibLayout& layout)
{
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    const int pixelBytes = layout.bitCount / 8;
    for (int32_t x = 0; x < layout.width; ++x, in += pixelBytes, out += 3) {
        uint32_t pixel = pixelBytes == 2 ? uint32_t(in[0] | in[1] << 8) : ReadU32(in);
        out[0] = blue(pixel);
        out[1] = green(pixel);
        out[2] = red(pixel);
    }
}

void CopyColorTable(const uint8_t* data, const DibLayout& layout, DisplayImage& image)
{
    BlockLock header(image.hHeader);
    DibColor* table = ColorTableOf(header);
    const uint8_t* stored = data + layout.tableOffset;
    for (uint32_t i = 0; i < layout.colorEntries && i < image.GetPaletteSize(); ++i)
        table[i] = {stored[4 * i], stored[4 * i + 1], stored[4 * i + 2], 0};
}

void CopyRows(const uint8_t* data, const DibLayout& layout, DisplayImage& image)
{
    BlockLock pixels(image.hPixels);
    const uint32_t stride = image.GetRowStride();
    for (int32_t y = 0; y < layout.height; ++y) {
        int32_t storedRow = layout.topDown ? layout.height - 1 - y : y;
        const uint8_t* in = data + layout.pixelOffset + size_t(storedRow) * layout.stride;
        uint8_t* out = pixels.data() + size_t(y) * stride;
        if (layout.bitCount == 16 || layout.bitCount == 32)
            ConvertDeepRow(in, out, layout);
        else
            memcpy(out, in, stride);
    }
}

} // namespace

HGLOBAL BuildClipboardDib(const DisplayImage& image)
{
    if (!image.HasSoundBlocks())
        return 0;
    const size_t headerBytes = image.GetHeaderSize();
    const size_t pixelBytes = image.GetBitsSize();
    HGLOBAL block = GlobalAlloc(GHND, headerBytes + pixelBytes);
    if (!block)
        return 0;
    BlockLock to(block), header(image.hHeader), pixels(image.hPixels);
    memcpy(to.data(), header.data(), headerBytes);
    memcpy(to.data() + headerBytes, pixels.data(), pixelBytes);
    return block;
}

std::vector<uint8_t> BuildMonochromeRows(const DisplayImage& image)
{
    std::vector<uint8_t> rows;
    if (image.bitCount != 1 || !image.HasSoundBlocks())
        return rows;
    const size_t rowBytes = (size_t(image.width) + 15) / 16 * 2;
    const uint32_t stride = image.GetRowStride();
    rows.resize(rowBytes * size_t(image.height));
    BlockLock pixels(image.hPixels);
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* stored = pixels.data() + size_t(image.height - 1 - y) * stride;
        memcpy(rows.data() + size_t(y) * rowBytes, stored, rowBytes);
    }
    return rows;
}

bool ReadClipboardDib(DisplayImage& image, HGLOBAL block)
{
    const size_t size = block ? GlobalSize(block) : 0;
    BlockLock lock(block);
    DibLayout layout;
    if (!lock.data() || !ParseDibBlock(lock.data(), size, layout)) {
        image.status = kStatusNoClipboardBitmap;
        return false;
    }
    image.width = layout.width;
    image.height = layout.height;
    image.bitCount = static_cast<uint16_t>(layout.imageBitCount);
    if (!CreateResultHeader(image) || !AllocateResultPixels(image))
        return false;
    CopyColorTable(lock.data(), layout, image);
    CopyRows(lock.data(), layout, image);
    return true;
}
