// PCX files (.pcx): 1, 4, 8 and 24 bits, run-length coded plane lines, the
// 16-colour palette in the header and the 256-colour palette at the end.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Codecs.h"
#include "DibHelpers.h"

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kTrailerSize = 769;  // the byte 12 and 256 red, green, blue entries
constexpr uint8_t kRunFlag = 0xC0;
constexpr uint8_t kMaxRun = 63;

struct PcxLayout {
    int bitsPerPlane;
    int planes;
};

// How the record's depth is held in planes; 32-bit records are written as 24.
PcxLayout LayoutForDepth(int depth) {
    switch (depth) {
    case 1: return {1, 1};
    case 4: return {1, 4};
    case 8: return {8, 1};
    default: return {8, 3};
    }
}

// The plane layouts read: those written, and 4 bits in one plane.
bool IsReadableLayout(int bitsPerPlane, int planes) {
    return (bitsPerPlane == 1 && (planes == 1 || planes == 4)) || (bitsPerPlane == 4 && planes == 1) ||
           (bitsPerPlane == 8 && (planes == 1 || planes == 3));
}

// Decodes the run-length stream into whole lines. A run may carry on into
// the next line, as many writers let it; data that ends before the last
// line is a cut file.
class PcxRunDecoder {
public:
    PcxRunDecoder(const uint8_t* data, size_t bytes) : data_(data), bytes_(bytes) {}

    void line(uint8_t* out, size_t length) {
        size_t done = 0;
        while (done < length) {
            if (pending_ > 0) {
                size_t count = std::min(pending_, length - done);
                memset(out + done, value_, count);
                done += count;
                pending_ -= count;
                continue;
            }
            uint8_t byte = next();
            if (byte < kRunFlag) {
                out[done++] = byte;
            } else {
                value_ = next();
                pending_ = byte & 0x3F;
            }
        }
    }

private:
    uint8_t next() {
        if (at_ >= bytes_) Fail(kErrPcx);
        return data_[at_++];
    }

    const uint8_t* data_;
    size_t bytes_;
    size_t at_ = 0;
    size_t pending_ = 0;
    uint8_t value_ = 0;
};

// One decoded line (all planes) into a row of the record.
void ConvertLine(const uint8_t* line, uint32_t planeBytes, const PcxLayout& layout, int32_t width, uint8_t* row) {
    if (layout.planes == 1) {
        memcpy(row, line, GetPackedRowBytes(width, layout.bitsPerPlane));
    } else if (layout.planes == 4) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t mask = uint8_t(0x80 >> (x % 8));
            uint8_t pixel = 0;
            for (int plane = 0; plane < 4; ++plane)
                if (line[plane * planeBytes + size_t(x) / 8] & mask) pixel = uint8_t(pixel | 1 << plane);
            row[x / 2] = uint8_t(row[x / 2] | pixel << (x % 2 ? 0 : 4));
        }
    } else {
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x] = line[2 * planeBytes + x];
            row[3 * x + 1] = line[planeBytes + x];
            row[3 * x + 2] = line[x];
        }
    }
}

void ReadColorTable(const uint8_t* header, const ByteView& file, int depth, DibColor* table) {
    if (depth == 8) {
        const uint8_t* rgb = file.data() + file.size() - 768;
        for (int i = 0; i < 256; ++i) table[i] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
        return;
    }
    uint32_t entries = GetPaletteEntryCount(depth);
    const uint8_t* rgb = header + 16;
    for (uint32_t i = 0; i < entries; ++i) table[i] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    // Many writers leave the palette of two-colour files empty: such files
    // are black on white, not black on black.
    if (depth == 1 && memcmp(&table[0], &table[1], sizeof table[0]) == 0) {
        table[0] = {0, 0, 0, 0};
        table[1] = {255, 255, 255, 0};
    }
}

// ---- writer -------------------------------------------------------------------

void EncodeLine(const uint8_t* line, size_t length, std::vector<uint8_t>& out) {
    for (size_t at = 0; at < length;) {
        uint8_t value = line[at];
        size_t run = 1;
        while (at + run < length && run < kMaxRun && line[at + run] == value) ++run;
        if (run > 1 || value >= kRunFlag) out.push_back(uint8_t(kRunFlag | run));
        out.push_back(value);
        at += run;
    }
}

// Splits a row of the record into its plane lines (each `planeBytes` long,
// padding 0).
void SplitRow(const uint8_t* row, int depth, int32_t width, uint32_t planeBytes, uint8_t* line) {
    switch (depth) {
    case 1: case 8:
        memcpy(line, row, GetPackedRowBytes(width, depth));
        break;
    case 4:
        for (int32_t x = 0; x < width; ++x) {
            uint8_t pixel = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
            for (int plane = 0; plane < 4; ++plane)
                if (pixel & (1 << plane)) line[plane * planeBytes + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        }
        break;
    default: {
        size_t step = depth == 32 ? 4 : 3;
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* pixel = row + step * size_t(x);
            line[x] = pixel[2];
            line[planeBytes + x] = pixel[1];
            line[2 * planeBytes + x] = pixel[0];
        }
    }
    }
}

void WriteHeader(ByteSink& out, const ImageRecord& record, const PcxLayout& layout, uint32_t planeBytes,
                 const DibColor* table) {
    uint8_t header[kHeaderSize] = {};
    auto word = [&header](size_t at, uint32_t value) {
        header[at] = uint8_t(value);
        header[at + 1] = uint8_t(value >> 8);
    };
    header[0] = 10;
    header[1] = record.bitCount == 1 ? 3 : 5;
    header[2] = 1;
    header[3] = uint8_t(layout.bitsPerPlane);
    word(8, uint32_t(record.width) - 1);
    word(10, uint32_t(record.height) - 1);
    word(12, 72);
    word(14, 72);
    header[65] = uint8_t(layout.planes);
    word(66, planeBytes);
    uint32_t entries = record.bitCount <= 4 ? GetPaletteEntryCount(record.bitCount) : 0;
    for (uint32_t i = 0; i < entries; ++i) {
        header[16 + 3 * i] = table[i].red;
        header[17 + 3 * i] = table[i].green;
        header[18 + 3 * i] = table[i].blue;
    }
    out.write(header, sizeof header);
}

}  // namespace

void ReadPcxFile(ByteView& file, ImageRecord& record) {
    const uint8_t* header = file.take(kHeaderSize);
    auto word = [header](size_t at) { return uint16_t(header[at] | header[at + 1] << 8); };
    PcxLayout layout = {header[3], header[65]};
    int depth = layout.bitsPerPlane * layout.planes;
    int32_t width = int32_t(word(8)) - int32_t(word(4)) + 1;
    int32_t height = int32_t(word(10)) - int32_t(word(6)) + 1;
    uint32_t planeBytes = word(66);
    uint32_t imageBytes = 0, rowBytes = 0;
    if (header[1] < 3 || !IsReadableLayout(layout.bitsPerPlane, layout.planes) ||
        !CheckedDibImageSize(width, height, depth, &imageBytes))
        Fail(kErrPcx);
    CheckedDibRowBytes(width, depth, &rowBytes);
    // Each plane line must hold a whole row of its plane.
    if (planeBytes < GetPackedRowBytes(width, layout.bitsPerPlane)) Fail(kErrPcx);
    size_t dataEnd = file.size();
    if (depth == 8) {
        if (file.size() < kHeaderSize + kTrailerSize) Fail(kErrPcx);
        dataEnd -= kTrailerSize;
    }

    // A run pair gives at most 63 bytes of plane lines, and the decoder refuses
    // data that ends early: a file too short for its lines fails here, before
    // the block is allocated.
    uint64_t lineBytes = uint64_t(layout.planes) * planeBytes;
    if (lineBytes * uint64_t(height) > uint64_t(dataEnd - kHeaderSize) * 32) Fail(kErrPcx);
    RequireWithinCap(imageBytes + lineBytes, kErrPcx);

    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    {
        BlockLock lock(bits.get());
        PcxRunDecoder decoder(file.data() + kHeaderSize, dataEnd - kHeaderSize);
        std::vector<uint8_t> line(lineBytes);
        for (int32_t y = height - 1; y >= 0; --y) {
            decoder.line(line.data(), line.size());
            ConvertLine(line.data(), planeBytes, layout, width, lock.data() + size_t(y) * rowBytes);
        }
    }
    record.width = width;
    record.height = height;
    record.bitCount = uint16_t(depth);
    if (!CreateDibHeader(record)) Fail(kErrNoMemory);
    {
        BlockLock info(record.hInfo);
        if (depth <= 8) ReadColorTable(header, file, depth, info.as<DibColor>() + 10);
    }
    record.hBits = bits.release();
}

void WritePcxFile(const ImageRecord& record, ByteSink& out) {
    int depth = record.bitCount;
    if (!RecordBlocksAreSound(record)) Fail(kErrPcx);
    PcxLayout layout = LayoutForDepth(depth);
    uint32_t planeBytes = (uint32_t(record.width) * layout.bitsPerPlane + 15) / 16 * 2;
    // Sizes are 16-bit fields.
    if (record.width > 0xFFFF || record.height > 0xFFFF || planeBytes > 0xFFFF) Fail(kErrPcx);
    BlockLock info(record.hInfo);
    const DibColor* table = info.as<DibColor>() + 10;
    WriteHeader(out, record, layout, planeBytes, table);

    BlockLock bits(record.hBits);
    uint32_t rowBytes = GetDibRowBytes(record);
    std::vector<uint8_t> line(size_t(layout.planes) * planeBytes), coded;
    for (int32_t y = record.height - 1; y >= 0; --y) {
        std::fill(line.begin(), line.end(), 0);
        SplitRow(bits.data() + size_t(y) * rowBytes, depth, record.width, planeBytes, line.data());
        coded.clear();
        for (int plane = 0; plane < layout.planes; ++plane) EncodeLine(&line[plane * planeBytes], planeBytes, coded);
        out.write(coded.data(), coded.size());
    }
    if (depth == 8) {
        out.u8(12);
        for (int i = 0; i < 256; ++i) {
            out.u8(table[i].red);
            out.u8(table[i].green);
            out.u8(table[i].blue);
        }
    }
}
