// Windows bitmap files (.bmp, .dib, .rle): 12-byte core and 40-byte (and
// later, longer) information headers, 1/4/8/24/32 bits, RLE8 and RLE4.
// The writer always writes uncompressed files with a 40-byte header.
#include <algorithm>
#include <cstring>

#include "Codecs.h"
#include "DibHelpers.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
// Most bytes of the pixel block one byte of run-length data can give: a run
// pair sets up to 255 pixels. Rows the end-of-row, delta and end marks leave
// zero count as missing, like the rows of a file cut off.
constexpr uint32_t kRleExpansion = 128;

bool IsInfoHeaderSize(uint32_t size) {
    // 40: the plain info header; 52, 56: with bit masks; 108, 124: V4 and V5.
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// A 12-byte core header as a 40-byte info header (its 3-byte colour
// entries are widened by ReadColorTable).
DibHeader ConvertCoreHeader(ByteView& file) {
    DibHeader header = {};
    file.skip(4);  // the header's own size field
    header.size = 40;
    header.width = file.u16le();
    header.height = file.u16le();
    header.planes = file.u16le();
    header.bitCount = file.u16le();
    return header;
}

// The header as a 40-byte info header, whatever form the file used.
DibHeader ReadInfoHeader(ByteView& file, uint32_t headerSize) {
    if (headerSize == kCoreHeaderSize) return ConvertCoreHeader(file);
    DibHeader header;
    file.read(&header, sizeof header);
    header.size = 40;
    return header;
}

// 32-bit files with bit fields are taken when the masks are the plain
// blue-green-red layout; anything else is refused.
void CheckBitFields(ByteView& file, uint32_t headerSize) {
    // The masks follow the 40-byte header, either inside a longer header or as
    // three words of their own.
    file.seek(kFileHeaderSize + 40);
    uint32_t red = file.u32le(), green = file.u32le(), blue = file.u32le();
    if (red != 0x00FF0000 || green != 0x0000FF00 || blue != 0x000000FF) Fail(kErrBmp);
    file.seek(kFileHeaderSize + std::max<uint32_t>(headerSize, 52));
}

void CheckCompression(const DibHeader& header) {
    bool ok = header.compression == 0 || (header.compression == kRle8 && header.bitCount == 8) ||
              (header.compression == kRle4 && header.bitCount == 4) ||
              (header.compression == kBitFields && header.bitCount == 32);
    if (!ok) Fail(kErrBmp);
}

// Reads the colour table that stands between the header and the pixel data
// into `table` (full size; entries the file leaves out stay 0).
void ReadColorTable(ByteView& file, uint32_t dataOffset, bool coreEntries, const DibHeader& header,
                    DibColor* table) {
    uint32_t full = GetPaletteEntryCount(header.bitCount);
    uint32_t wanted = (header.clrUsed > 0 && header.clrUsed < full) ? header.clrUsed : full;
    uint32_t entrySize = coreEntries ? 3 : 4;
    uint32_t room = dataOffset > file.pos() ? static_cast<uint32_t>(dataOffset - file.pos()) / entrySize : 0;
    uint32_t count = std::min(wanted, room);
    for (uint32_t i = 0; i < count; ++i) {
        table[i].blue = file.u8();
        table[i].green = file.u8();
        table[i].red = file.u8();
        if (!coreEntries) file.u8();
        table[i].reserved = 0;
    }
}

// Copies rows of uncompressed pixel data; a short file leaves the missing
// rows 0, top-down files are turned bottom-up.
void CopyRows(ByteView& file, bool topDown, uint32_t rowBytes, int32_t height, uint8_t* bits) {
    for (int32_t row = 0; row < height && !file.atEnd(); ++row) {
        size_t bytes = std::min<size_t>(rowBytes, file.remaining());
        int32_t target = topDown ? height - 1 - row : row;
        memcpy(bits + static_cast<size_t>(target) * rowBytes, file.take(bytes), bytes);
    }
}

// Run-length decoding shared by RLE8 and RLE4: pixel positions are counted
// in pixels and held within the image (a column at most the width, a row at
// most the height), so pixels past the row's end are dropped and writes stop
// at the end of the block however long the data runs on.
class RleDecoder {
public:
    RleDecoder(ByteView& data, uint8_t* bits, uint32_t rowBytes, int32_t width, int32_t height, int depth)
        : data_(data), bits_(bits), rowBytes_(rowBytes), width_(width), height_(height), depth_(depth) {}

    void run() {
        while (row_ < height_ && data_.remaining() >= 2) {
            uint8_t count = data_.u8();
            uint8_t value = data_.u8();
            if (count > 0) {
                encoded(count, value);
            } else if (value == 0) {
                ++row_;
                column_ = 0;
            } else if (value == 1) {
                return;
            } else if (value == 2) {
                if (data_.remaining() < 2) return;
                advance(data_.u8());
                int down = data_.u8();
                row_ = down < height_ - row_ ? row_ + down : height_;
            } else {
                absolute(value);
            }
        }
    }

private:
    static uint8_t NibbleOf(uint8_t value, int index) { return index % 2 == 0 ? value >> 4 : value & 0x0F; }

    // n literal pixels, padded to a 16-bit boundary of the input.
    void absolute(uint8_t pixels) {
        size_t bytes = depth_ == 8 ? pixels : (pixels + 1u) / 2;
        size_t padded = (bytes + 1) & ~size_t(1);
        size_t available = std::min(padded, data_.remaining());
        const uint8_t* literal = data_.take(available);
        for (size_t i = 0; i < pixels; ++i) {
            size_t byte = depth_ == 8 ? i : i / 2;
            if (byte >= available) return;
            put(depth_ == 8 ? literal[byte] : NibbleOf(literal[byte], static_cast<int>(i)));
        }
    }

    // An encoded run: only the pixels that fit in the row are written, so a
    // run costs nothing once the row is full. Whole bytes are filled at once:
    // 32 MiB of runs may cover a block of 256 MiB.
    void encoded(int count, uint8_t value) {
        int inside = column_ < width_ && row_ < height_ ? std::min(count, width_ - column_) : 0;
        if (inside > 0) fill(inside, value);
        advance(count - inside);
    }

    // Writes `pixels` pixels of a run that fit in the row.
    void fill(int pixels, uint8_t value) {
        uint8_t* line = bits_ + static_cast<size_t>(row_) * rowBytes_;
        if (depth_ == 8) {
            memset(line + column_, value, static_cast<size_t>(pixels));
            column_ += pixels;
            return;
        }
        // Nibbles alternate high, low from the run's first pixel; from an odd
        // column on, a byte holds them the other way round.
        int i = 0;
        if (column_ % 2) put(NibbleOf(value, i++));
        int pairs = (pixels - i) / 2;
        uint8_t pair = i == 0 ? value : static_cast<uint8_t>(value << 4 | value >> 4);
        memset(line + column_ / 2, pair, static_cast<size_t>(pairs));
        column_ += 2 * pairs;
        i += 2 * pairs;
        if (i < pixels) put(NibbleOf(value, i));
    }

    // Moves the column on without writing. The column never passes the
    // row's width, so no count of runs or deltas can make it wrap.
    void advance(int pixels) { column_ = pixels < width_ - column_ ? column_ + pixels : width_; }

    void put(uint8_t pixel) {
        if (column_ < width_ && row_ < height_) {
            uint8_t* line = bits_ + static_cast<size_t>(row_) * rowBytes_;
            if (depth_ == 8) {
                line[column_] = pixel;
            } else if (column_ % 2 == 0) {
                line[column_ / 2] = static_cast<uint8_t>((line[column_ / 2] & 0x0F) | pixel << 4);
            } else {
                line[column_ / 2] = static_cast<uint8_t>((line[column_ / 2] & 0xF0) | pixel);
            }
        }
        advance(1);
    }

    ByteView& data_;
    uint8_t* bits_;
    uint32_t rowBytes_;
    int32_t width_, height_;
    int depth_;
    int32_t row_ = 0;
    int32_t column_ = 0;
};

}  // namespace

void DecodeRle8(ByteView& data, uint8_t* bits, uint32_t rowBytes, int32_t width, int32_t height) {
    RleDecoder(data, bits, rowBytes, width, height, 8).run();
}

void DecodeRle4(ByteView& data, uint8_t* bits, uint32_t rowBytes, int32_t width, int32_t height) {
    RleDecoder(data, bits, rowBytes, width, height, 4).run();
}

void ReadBmpFile(ByteView& file, ImageRecord& record) {
    if (file.size() < kFileHeaderSize + 4 || file.u16le() != 0x4D42) Fail(kErrBmp);
    file.skip(8);  // the file-size field is not trusted; the real size is known
    uint32_t dataOffset = file.u32le();
    uint32_t headerSize = file.u32le();
    bool core = headerSize == kCoreHeaderSize;
    if (!core && !IsInfoHeaderSize(headerSize)) Fail(kErrBmp);
    if (dataOffset < kFileHeaderSize + headerSize || dataOffset > file.size()) Fail(kErrBmp);
    file.seek(kFileHeaderSize);

    DibHeader header = ReadInfoHeader(file, headerSize);
    if (header.bitCount != 1 && header.bitCount != 4 && header.bitCount != 8 && header.bitCount != 24 &&
        header.bitCount != 32)
        Fail(kErrBmp);
    CheckCompression(header);
    if (header.compression == kBitFields) CheckBitFields(file, headerSize);
    file.seek(kFileHeaderSize + headerSize + (header.compression == kBitFields && headerSize == 40 ? 12 : 0));

    bool topDown = header.height < 0;
    if (topDown && (header.compression == kRle8 || header.compression == kRle4)) Fail(kErrBmp);
    int32_t height = topDown ? (header.height == INT32_MIN ? 0 : -header.height) : header.height;
    uint32_t imageBytes = 0, rowBytes = 0;
    if (!CheckedDibImageSize(header.width, height, header.bitCount, &imageBytes)) Fail(kErrBmp);
    CheckedDibRowBytes(header.width, header.bitCount, &rowBytes);
    bool compressed = header.compression == kRle8 || header.compression == kRle4;
    if (!ImageFitsData(imageBytes, file.size() - dataOffset, compressed ? kRleExpansion : 1)) Fail(kErrBmp);

    GlobalBlock info = GlobalBlock::Allocate(GetDibHeaderSize(header.bitCount));
    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    {
        BlockLock infoLock(info.get());
        ReadColorTable(file, dataOffset, core, header, infoLock.as<DibColor>() + 10);
        header.height = height;
        header.clrUsed = 0;  // the table is always stored full size
        if (header.clrImportant > GetPaletteEntryCount(header.bitCount)) header.clrImportant = 0;
        if (compressed || header.compression == kBitFields) header.sizeImage = imageBytes;
        uint32_t compression = header.compression;
        header.compression = 0;
        memcpy(infoLock.data(), &header, sizeof header);

        BlockLock bitsLock(bits.get());
        file.seek(dataOffset);
        if (compression == kRle8)
            DecodeRle8(file, bitsLock.data(), rowBytes, header.width, height);
        else if (compression == kRle4)
            DecodeRle4(file, bitsLock.data(), rowBytes, header.width, height);
        else
            CopyRows(file, topDown, rowBytes, height, bitsLock.data());
    }
    record.width = header.width;
    record.height = height;
    record.bitCount = header.bitCount;
    record.hInfo = info.release();
    record.hBits = bits.release();
}

void WriteBmpFile(const ImageRecord& record, ByteSink& out) {
    if (!RecordBlocksAreSound(record)) Fail(kErrBmp);
    uint32_t headerBytes = GetDibHeaderSize(record.bitCount);
    uint32_t imageBytes = GetDibImageSize(record);
    out.u16le(0x4D42);
    out.u32le(kFileHeaderSize + headerBytes + imageBytes);
    out.u32le(0);
    out.u32le(kFileHeaderSize + headerBytes);

    BlockLock info(record.hInfo);
    // The file describes the record's image whatever the header block says.
    DibHeader header = DescribeRecordDib(record, info.data());
    out.write(&header, sizeof header);
    out.write(info.data() + sizeof header, headerBytes - sizeof header);
    BlockLock bits(record.hBits);
    out.write(bits.data(), imageBytes);
}
