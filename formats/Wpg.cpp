// WPG graphics files (.wpg), version 1: the first bitmap and its colour map
// are read; 1-, 4- and 8-bit images are written as one bitmap.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "Codecs.h"
#include "DibHelpers.h"

namespace {

constexpr uint8_t kBitmapRecord = 11;
constexpr uint8_t kColorMapRecord = 14;
constexpr uint8_t kStartRecord = 15;
constexpr uint8_t kEndRecord = 16;
constexpr uint8_t kLastRecordType = 17;
constexpr uint32_t kBitmapHeaderSize = 10;
constexpr uint8_t kMaxRun = 127;

bool HasSignature(ByteView& file) {
    const uint8_t* head = file.take(16);
    return head[0] == 0xFF && head[1] == 'W' && head[2] == 'P' && head[3] == 'C';
}

// One byte below 255; else a 16-bit length, whose high bit announces a
// second word holding the low half of a 31-bit length.
uint32_t ReadRecordLength(ByteView& file) {
    uint32_t length = file.u8();
    if (length < 255) return length;
    length = file.u16le();
    if (length & 0x8000) length = (length & 0x7FFF) << 16 | file.u16le();
    return length;
}

// The bitmap's rows as the run-length coding gives them, the top row first.
// Runs carry on from row to row; data that would go past the last row, or
// that ends before it, makes the file unusable.
class WpgRowDecoder {
public:
    WpgRowDecoder(uint8_t* bits, uint32_t dibRowBytes, uint32_t rowBytes, int32_t height)
        : bits_(bits), dibRowBytes_(dibRowBytes), rowBytes_(rowBytes), height_(height) {}

    void decode(ByteView& data) {
        while (!data.atEnd()) {
            uint8_t control = data.u8();
            if (control > 0x80) {
                repeat(data.u8(), control & 0x7F);
            } else if (control == 0x80) {
                repeat(0xFF, data.u8());
            } else if (control > 0) {
                copy(data.take(control), control);
            } else {
                repeatRows(data.u8());
            }
        }
        if (row_ < height_) Fail(kErrWpg);
    }

private:
    uint8_t* rowAt(int32_t pictureRow) { return bits_ + size_t(height_ - 1 - pictureRow) * dibRowBytes_; }

    // Room for up to `count` bytes at the current place, inside one row;
    // the place moves past them.
    uint8_t* advance(uint32_t count, uint32_t* part) {
        if (row_ >= height_) Fail(kErrWpg);
        *part = std::min(count, rowBytes_ - column_);
        uint8_t* at = rowAt(row_) + column_;
        column_ += *part;
        if (column_ == rowBytes_) {
            column_ = 0;
            ++row_;
        }
        return at;
    }
    void repeat(uint8_t value, uint32_t count) {
        while (count > 0) {
            uint32_t part = 0;
            uint8_t* at = advance(count, &part);
            memset(at, value, part);
            count -= part;
        }
    }
    void copy(const uint8_t* bytes, uint32_t count) {
        while (count > 0) {
            uint32_t part = 0;
            uint8_t* at = advance(count, &part);
            memcpy(at, bytes, part);
            bytes += part;
            count -= part;
        }
    }
    // Copies of the previous row; before the first row there is none to
    // copy and the rows stay blank.
    void repeatRows(uint32_t count) {
        if (column_ != 0) Fail(kErrWpg);
        for (uint32_t i = 0; i < count; ++i) {
            if (row_ >= height_) Fail(kErrWpg);
            if (row_ > 0) memcpy(rowAt(row_), rowAt(row_ - 1), rowBytes_);
            ++row_;
        }
    }

    uint8_t* bits_;
    uint32_t dibRowBytes_, rowBytes_;
    int32_t height_;
    int32_t row_ = 0;
    uint32_t column_ = 0;
};

GlobalBlock ReadBitmap(ByteView& data, ImageRecord& record) {
    if (data.size() <= kBitmapHeaderSize) Fail(kErrWpg);
    int32_t width = data.u16le();
    int32_t height = data.u16le();
    int depth = data.u16le();
    data.skip(4);  // resolutions
    uint32_t imageBytes = 0, dibRowBytes = 0;
    if ((depth != 1 && depth != 4 && depth != 8) || !CheckedDibImageSize(width, height, depth, &imageBytes))
        Fail(kErrWpg);
    CheckedDibRowBytes(width, depth, &dibRowBytes);
    // Data that ends before the last row fails while decoding; the fewest
    // bytes that reach it are one row repeat (two bytes) for every 255 rows.
    if (data.remaining() < 2 * ((uint64_t(height) + 254) / 255)) Fail(kErrWpg);
    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    {
        BlockLock lock(bits.get());
        WpgRowDecoder(lock.data(), dibRowBytes, GetPackedRowBytes(width, depth), height).decode(data);
    }
    record.width = width;
    record.height = height;
    record.bitCount = uint16_t(depth);
    return bits;
}

struct WpgColorMap {
    uint8_t rgb[256 * 3] = {};
    uint32_t start = 0, count = 0;
};

WpgColorMap ReadColorMap(ByteView& data) {
    WpgColorMap map;
    map.start = data.u16le();
    map.count = data.u16le();
    if (map.count != 2 && map.count != 16 && map.count != 256) Fail(kErrWpg);
    data.read(map.rgb, 3 * map.count);
    return map;
}

// The map's entries from its start index on; entries the map does not
// reach stay black.
void SetColorTable(const WpgColorMap& map, ImageRecord& record) {
    BlockLock info(record.hInfo);
    DibColor* table = info.as<DibColor>() + 10;
    uint32_t entries = GetPaletteEntryCount(record.bitCount);
    for (uint32_t i = 0; i < map.count && map.start + i < entries; ++i)
        table[map.start + i] = {map.rgb[3 * i + 2], map.rgb[3 * i + 1], map.rgb[3 * i], 0};
}

// ---- writer -------------------------------------------------------------------

// Runs of two or more equal bytes become repeat runs of at most 127; the
// rest gathers into literal groups of at most 127. One byte left over after
// a run of 127 joins the next literal group, or ends the row as a run of 1.
void EncodeRow(const uint8_t* row, size_t length, std::vector<uint8_t>& out) {
    std::vector<uint8_t> literal;
    auto flushLiteral = [&] {
        for (size_t at = 0; at < literal.size(); at += kMaxRun) {
            size_t n = std::min<size_t>(kMaxRun, literal.size() - at);
            out.push_back(uint8_t(n));
            out.insert(out.end(), literal.begin() + long(at), literal.begin() + long(at + n));
        }
        literal.clear();
    };
    for (size_t at = 0; at < length;) {
        size_t run = 1;
        while (at + run < length && row[at + run] == row[at]) ++run;
        if (run == 1) {
            literal.push_back(row[at++]);
            continue;
        }
        flushLiteral();
        uint8_t value = row[at];
        at += run;
        for (; run >= 2; run -= std::min<size_t>(run, kMaxRun)) {
            out.push_back(uint8_t(0x80 | std::min<size_t>(run, kMaxRun)));
            out.push_back(value);
        }
        if (run == 1) {
            if (at == length) {
                out.push_back(0x81);
                out.push_back(value);
            } else {
                literal.push_back(value);
            }
        }
    }
    flushLiteral();
}

// Sizes of the start record in the file's units (1200 to the inch at 95
// pixels to the inch), held to what 16 bits can say.
uint16_t ToWpgUnits(int32_t pixels) {
    double units = std::floor(pixels * 12.6171875);
    return units > 0xFFFF ? 0xFFFF : uint16_t(units);
}

void WriteLongLength(ByteSink& out, uint32_t length) {
    out.u8(255);
    out.u16le(uint16_t(0x8000 | length >> 16));
    out.u16le(uint16_t(length));
}

}  // namespace

void ReadWpgFile(ByteView& file, ImageRecord& record) {
    if (file.size() < 16 || !HasSignature(file)) Fail(kErrWpg);
    GlobalBlock bits;
    WpgColorMap map;
    bool haveMap = false;
    for (;;) {
        uint8_t type = file.u8();
        if (type == 0 || type > kLastRecordType) Fail(kErrWpg);
        uint32_t length = ReadRecordLength(file);
        if (type == kEndRecord) break;
        if (length == 0) Fail(kErrWpg);
        ByteView data(file.take(length), length, kErrWpg);
        if (type == kBitmapRecord && !bits.get()) {
            bits = ReadBitmap(data, record);
        } else if (type == kColorMapRecord) {
            map = ReadColorMap(data);
            haveMap = true;
        }
        if (bits.get() && haveMap) {
            if (!CreateDibHeader(record)) Fail(kErrNoMemory);
            SetColorTable(map, record);
            record.hBits = bits.release();
            return;
        }
    }
    Fail(bits.get() ? kErrWpg : kErrWpgNoBitmap);
}

void WriteWpgFile(const ImageRecord& record, ByteSink& out) {
    int depth = record.bitCount;
    if (depth == 24 || depth == 32) Fail(kErrWpg24Bit);
    if (!RecordBlocksAreSound(record) || record.width > 0xFFFF || record.height > 0xFFFF) Fail(kErrWpg);

    const uint8_t header[16] = {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 22, 1, 0, 0, 0, 0, 0};
    out.write(header, sizeof header);
    out.u8(kStartRecord);
    out.u8(6);
    out.u8(1);  // version
    out.u8(0);  // flags
    out.u16le(ToWpgUnits(record.width));
    out.u16le(ToWpgUnits(record.height));

    uint32_t colors = GetPaletteEntryCount(depth);
    BlockLock info(record.hInfo);
    const DibColor* table = info.as<DibColor>() + 10;
    out.u8(kColorMapRecord);
    out.u8(255);
    out.u16le(uint16_t(3 * colors + 4));
    out.u16le(0);
    out.u16le(uint16_t(colors));
    for (uint32_t i = 0; i < colors; ++i) {
        out.u8(table[i].red);
        out.u8(table[i].green);
        out.u8(table[i].blue);
    }

    BlockLock bits(record.hBits);
    uint32_t dibRowBytes = GetDibRowBytes(record), rowBytes = GetPackedRowBytes(record.width, depth);
    std::vector<uint8_t> coded;
    for (int32_t y = record.height - 1; y >= 0; --y) EncodeRow(bits.data() + size_t(y) * dibRowBytes, rowBytes, coded);
    out.u8(kBitmapRecord);
    WriteLongLength(out, uint32_t(kBitmapHeaderSize + coded.size()));
    out.u16le(uint16_t(record.width));
    out.u16le(uint16_t(record.height));
    out.u16le(uint16_t(depth));
    out.u16le(95);
    out.u16le(95);
    out.write(coded.data(), coded.size());
    out.u8(kEndRecord);
    out.u8(0);
}
