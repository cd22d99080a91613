// GIF files (.gif): versions 87a and 89a, the first image only, read at the
// size of the logical screen as a 1-, 4- or 8-bit image; written as GIF89a
// with one global colour table, plain or interlaced.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Codecs.h"
#include "DibHelpers.h"
#include "GifLzw.h"

namespace {

constexpr uint8_t kTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;
constexpr uint8_t kImageSeparator = ',';
constexpr uint8_t kExtensionIntroducer = '!';
constexpr uint8_t kTrailer = ';';
// Most bytes of the pixel block one byte of the code stream can give: a code
// of w bits stands for a string shorter than 2^w, at most 4096 pixels for 12
// bits, so 2731 pixels a byte; and a row as narrow as one pixel takes four
// bytes of the block. What the stream does not reach (the rows after a
// stream that ends early, the logical screen around a smaller frame) stays
// zero and counts as missing, like the rows of a file cut off.
constexpr uint32_t kGifExpansion = 2731 * 4;

// The colour table in force: the global one, or the image's own in its place.
struct ColorTable {
    uint8_t rgb[256 * 3] = {};
    uint32_t entries = 0;  // 0 when the file has no table at all
    int bits = 0;          // entries = 2^bits
};

// A table is read only where its flag says there is one.
void ReadColorTable(ByteView& file, uint8_t packed, ColorTable& table) {
    if (!(packed & kTableFlag)) return;
    table.bits = (packed & 7) + 1;
    table.entries = 1u << table.bits;
    file.read(table.rgb, table.entries * 3);
}

// The record's depth for 2^bits colours.
int DepthForColorBits(int bits) { return bits <= 1 ? 1 : bits <= 4 ? 4 : 8; }

void SkipSubBlocks(ByteView& file) {
    for (uint8_t length = file.u8(); length != 0; length = file.u8()) file.skip(length);
}

struct ImageDescriptor {
    uint16_t left, top, width, height;
    uint8_t packed;
};

// Passes over extensions (each by its sub-blocks, so no byte of their data
// is mistaken for a separator) and stray bytes up to the first image.
ImageDescriptor ReadFirstImageDescriptor(ByteView& file) {
    for (;;) {
        uint8_t introducer = file.u8();
        if (introducer == kImageSeparator) break;
        if (introducer == kTrailer) Fail(kErrGif);  // the file ends before any image
        if (introducer == kExtensionIntroducer) {
            file.u8();  // label
            SkipSubBlocks(file);
        }
    }
    ImageDescriptor frame;
    frame.left = file.u16le();
    frame.top = file.u16le();
    frame.width = file.u16le();
    frame.height = file.u16le();
    frame.packed = file.u8();
    return frame;
}

// Picture rows in the order a frame stores them: top to bottom, or the four
// interlace passes (rows 0, 8, 16, ...; 4, 12, ...; 2, 6, ...; 1, 3, ...).
class RowOrder {
public:
    RowOrder(uint32_t rows, bool interlaced) : rows_(rows), interlaced_(interlaced) {}
    uint32_t row() const { return row_; }
    bool done() const { return row_ >= rows_; }
    void advance() {
        row_ += interlaced_ ? kStep[pass_] : 1;
        while (interlaced_ && row_ >= rows_ && pass_ < 3) row_ = kStart[++pass_];
    }

private:
    static constexpr uint32_t kStart[4] = {0, 4, 2, 1};
    static constexpr uint32_t kStep[4] = {8, 8, 4, 2};
    uint32_t rows_;
    bool interlaced_;
    uint32_t row_ = 0;
    int pass_ = 0;
};

// How many of the frame's rows, in stream order, must be decoded to reach
// its last row on the picture: the rest would be cut off anyway. 0 when
// the frame lies wholly outside the picture.
uint32_t RowsToDecode(const ImageDescriptor& frame, int32_t width, int32_t height) {
    if (frame.left >= width || frame.top >= height) return 0;
    uint32_t wanted = 0, decoded = 0;
    for (RowOrder order(frame.height, (frame.packed & kInterlaceFlag) != 0); !order.done(); order.advance()) {
        ++decoded;
        if (frame.top + order.row() < uint32_t(height)) wanted = decoded;
    }
    return wanted;
}

// Puts the frame's decoded rows at their place in the picture, clipped to
// it, packed to the record's depth. An index beyond the depth's colour
// table becomes 0.
class FramePlacer : public GifRowSink {
public:
    FramePlacer(const ImageDescriptor& frame, int32_t width, int32_t height, int depth, uint8_t* bits,
                uint32_t rowBytes)
        : order_(frame.height, (frame.packed & kInterlaceFlag) != 0), top_(frame.top), left_(frame.left),
          height_(static_cast<uint32_t>(height)), depth_(depth), bits_(bits), rowBytes_(rowBytes) {
        uint32_t pictureWidth = static_cast<uint32_t>(width);
        columns_ = left_ < pictureWidth ? std::min<uint32_t>(frame.width, pictureWidth - left_) : 0;
    }

    void row(const uint8_t* indices) override {
        uint32_t y = top_ + order_.row();
        order_.advance();
        if (y >= height_ || columns_ == 0) return;
        uint8_t* line = bits_ + size_t(height_ - 1 - y) * rowBytes_;
        if (depth_ == 8) {
            memcpy(line + left_, indices, columns_);
            return;
        }
        for (uint32_t i = 0; i < columns_; ++i) {
            uint32_t x = left_ + i;
            if (depth_ == 4) {
                uint8_t value = indices[i] < 16 ? indices[i] : 0;
                uint8_t shift = x % 2 ? 0 : 4;
                line[x / 2] = static_cast<uint8_t>((line[x / 2] & ~(0x0F << shift)) | value << shift);
            } else {
                uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
                line[x / 8] = static_cast<uint8_t>(indices[i] == 1 ? line[x / 8] | mask : line[x / 8] & ~mask);
            }
        }
    }

private:
    RowOrder order_;
    uint32_t top_, left_, columns_;
    uint32_t height_;
    int depth_;
    uint8_t* bits_;
    uint32_t rowBytes_;
};

// The header block's colour table: the file's entries, the rest black; a
// file without any table gets a grey ramp.
void WriteRecordColorTable(ImageRecord& record, const ColorTable& table) {
    BlockLock info(record.hInfo);
    DibColor* colors = info.as<DibColor>() + 10;
    uint32_t entries = GetPaletteEntryCount(record.bitCount);
    if (table.entries == 0) {
        SetGrayPalette(colors, entries);
        return;
    }
    for (uint32_t i = 0; i < entries && i < table.entries; ++i)
        colors[i] = {table.rgb[3 * i + 2], table.rgb[3 * i + 1], table.rgb[3 * i], 0};
}

// ---- writer -------------------------------------------------------------------

void UnpackRow(const uint8_t* line, int depth, int32_t width, uint8_t* indices) {
    for (int32_t x = 0; x < width; ++x)
        indices[x] = depth == 4 ? (line[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F : (line[x / 8] >> (7 - x % 8)) & 1;
}

void WriteGif(const ImageRecord& record, ByteSink& out, bool interlaced) {
    int depth = record.bitCount;
    if (depth == 24 || depth == 32) Fail(kErrGif24Bit);
    if ((depth != 1 && depth != 4 && depth != 8) || !RecordBlocksAreSound(record)) Fail(kErrGif);
    if (record.width > 0xFFFF || record.height > 0xFFFF) Fail(kErrGif);  // sizes are 16-bit fields
    const uint16_t width = static_cast<uint16_t>(record.width);
    const uint16_t height = static_cast<uint16_t>(record.height);

    out.write("GIF89a", 6);
    out.u16le(width);
    out.u16le(height);
    out.u8(depth == 1 ? 0x80 : depth == 4 ? 0xB3 : 0xF7);
    out.u8(0);  // background colour index
    out.u8(0);  // aspect ratio

    BlockLock info(record.hInfo);
    const DibColor* colors = info.as<DibColor>() + 10;
    uint32_t entries = GetPaletteEntryCount(depth);
    uint8_t rgb[256 * 3];
    for (uint32_t i = 0; i < entries; ++i) {
        rgb[3 * i] = colors[i].red;
        rgb[3 * i + 1] = colors[i].green;
        rgb[3 * i + 2] = colors[i].blue;
    }
    out.write(rgb, entries * 3);

    out.u8(kImageSeparator);
    out.u16le(0);
    out.u16le(0);
    out.u16le(width);
    out.u16le(height);
    out.u8(interlaced ? kInterlaceFlag : 0);
    int rootBits = depth == 1 ? 2 : depth;
    out.u8(static_cast<uint8_t>(rootBits));

    BlockLock bits(record.hBits);
    uint32_t rowBytes = GetDibRowBytes(record);
    std::vector<uint8_t> indices(depth == 8 ? 0 : width);
    GifLzwEncoder encoder(rootBits, out);
    for (RowOrder order(height, interlaced); !order.done(); order.advance()) {
        const uint8_t* line = bits.data() + size_t(height - 1 - order.row()) * rowBytes;
        if (depth == 8) {
            encoder.add(line, width);
        } else {
            UnpackRow(line, depth, width, indices.data());
            encoder.add(indices.data(), width);
        }
    }
    encoder.finish();
    out.u8(kTrailer);
}

}  // namespace

void ReadGifFile(ByteView& file, ImageRecord& record) {
    const uint8_t* signature = file.take(6);
    if (memcmp(signature, "GIF87a", 6) != 0 && memcmp(signature, "GIF89a", 6) != 0) Fail(kErrGif);
    int32_t width = file.u16le();
    int32_t height = file.u16le();
    uint8_t screenPacked = file.u8();
    file.skip(2);  // background colour index, aspect ratio

    ColorTable table;
    ReadColorTable(file, screenPacked, table);
    ImageDescriptor frame = ReadFirstImageDescriptor(file);
    ReadColorTable(file, frame.packed, table);
    // The code size of the file itself drives the decoder: it need not match
    // the colour table's size.
    int rootBits = file.u8();
    if (rootBits < 1 || rootBits > 8) Fail(kErrGif);

    int depth = DepthForColorBits(table.entries ? table.bits : rootBits);
    uint32_t imageBytes = 0, rowBytes = 0;
    if (!CheckedDibImageSize(width, height, depth, &imageBytes)) Fail(kErrGif);
    CheckedDibRowBytes(width, depth, &rowBytes);
    if (!ImageFitsData(imageBytes, file.remaining(), kGifExpansion)) Fail(kErrGif);

    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    {
        BlockLock lock(bits.get());
        FramePlacer placer(frame, width, height, depth, lock.data(), rowBytes);
        uint32_t rows = RowsToDecode(frame, width, height);
        uint64_t decoded = DecodeGifLzw(file.data() + file.pos(), file.remaining(), rootBits, frame.width, rows,
                                        placer);
        // A frame on the picture whose stream yields no pixel holds no image.
        if (decoded == 0 && frame.width > 0 && rows > 0) Fail(kErrGif);
    }
    record.width = width;
    record.height = height;
    record.bitCount = static_cast<uint16_t>(depth);
    if (!CreateDibHeader(record)) Fail(kErrNoMemory);
    WriteRecordColorTable(record, table);
    record.hBits = bits.release();
}

void WriteGifFile(const ImageRecord& record, ByteSink& out) { WriteGif(record, out, false); }

void WriteGifFileInterlaced(const ImageRecord& record, ByteSink& out) { WriteGif(record, out, true); }
