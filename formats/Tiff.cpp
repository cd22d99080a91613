// TIFF files (.tif): Intel byte order, the first image, strips of
// uncompressed rows (PackBits for 1-bit images), 1, 4, 8 and 24 bits; the
// writer makes uncompressed Intel-order files.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Codecs.h"
#include "DibHelpers.h"

namespace {

enum TiffTag : uint16_t {
    kNewSubfileType = 254,
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kPlanarConfiguration = 284,
    kPredictor = 317,
    kColorMap = 320,
    kTileWidth = 322,
};

enum FieldType : uint16_t { kByte = 1, kShort = 3, kLong = 4 };

constexpr uint16_t kNoCompression = 1;
constexpr uint16_t kPackBits = 32773;
constexpr uint16_t kWhiteIsZero = 0;
constexpr uint16_t kBlackIsZero = 1;
constexpr uint16_t kRgb = 2;
constexpr uint16_t kPalette = 3;

// A directory entry whose values are read on demand: inline when they fit in
// the four bytes of the value field, else at its offset.
struct TiffField {
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t valueAt = 0;  // file position of the first value

    bool present() const { return count > 0; }
    uint32_t size() const { return type == kLong ? 4 : type == kShort ? 2 : 1; }
    uint32_t value(const ByteView& file, uint32_t index) const {
        if (index >= count) Fail(kErrTif);
        uint64_t at = valueAt + uint64_t(index) * size();
        if (at + size() > file.size()) Fail(kErrTif);
        const uint8_t* p = file.data() + at;
        switch (type) {
        case kLong: return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
        case kShort: return uint32_t(p[0] | p[1] << 8);
        default: return p[0];
        }
    }
};

struct TiffDirectory {
    TiffField width, height, bitsPerSample, compression, photometric, stripOffsets, samplesPerPixel, rowsPerStrip,
        planar, predictor, colorMap, tileWidth;
};

TiffField* FieldFor(TiffDirectory& d, uint16_t tag) {
    switch (tag) {
    case kImageWidth: return &d.width;
    case kImageLength: return &d.height;
    case kBitsPerSample: return &d.bitsPerSample;
    case kCompression: return &d.compression;
    case kPhotometric: return &d.photometric;
    case kStripOffsets: return &d.stripOffsets;
    case kSamplesPerPixel: return &d.samplesPerPixel;
    case kRowsPerStrip: return &d.rowsPerStrip;
    case kPlanarConfiguration: return &d.planar;
    case kPredictor: return &d.predictor;
    case kColorMap: return &d.colorMap;
    case kTileWidth: return &d.tileWidth;
    default: return nullptr;
    }
}

TiffDirectory ReadDirectory(ByteView& file) {
    if (file.u16le() != 0x4949 || file.u16le() != 42) Fail(kErrTif);
    file.seek(file.u32le());
    uint16_t entries = file.u16le();
    TiffDirectory directory;
    for (uint16_t i = 0; i < entries; ++i) {
        uint16_t tag = file.u16le();
        TiffField field;
        field.type = file.u16le();
        field.count = file.u32le();
        uint32_t valuePos = uint32_t(file.pos());
        uint32_t offset = file.u32le();
        TiffField* slot = FieldFor(directory, tag);
        if (!slot) continue;
        if (field.type != kByte && field.type != kShort && field.type != kLong) Fail(kErrTif);
        field.valueAt = uint64_t(field.count) * field.size() <= 4 ? valuePos : offset;
        *slot = field;
    }
    return directory;
}

uint32_t ValueOr(const TiffField& field, const ByteView& file, uint32_t fallback) {
    return field.present() ? field.value(file, 0) : fallback;
}

// What the reader takes from the directory, checked.
struct TiffImage {
    int32_t width = 0, height = 0;
    int depth = 0;
    uint32_t compression = kNoCompression;
    uint32_t photometric = kBlackIsZero;
    uint32_t rowsPerStrip = 0;
    uint32_t strips = 0;
};

TiffImage CheckImage(const TiffDirectory& d, const ByteView& file) {
    TiffImage image;
    uint32_t width = ValueOr(d.width, file, 0), height = ValueOr(d.height, file, 0);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) Fail(kErrTif);
    image.width = int32_t(width);
    image.height = int32_t(height);
    image.compression = ValueOr(d.compression, file, kNoCompression);
    image.photometric = ValueOr(d.photometric, file, kBlackIsZero);
    uint32_t samples = ValueOr(d.samplesPerPixel, file, 1);
    uint32_t planar = ValueOr(d.planar, file, 1);
    if (image.compression != kNoCompression && image.compression != kPackBits) Fail(kErrTif);
    if (image.photometric > kPalette || (planar != 1 && planar != 2)) Fail(kErrTif);
    // Tiles, separate colour planes and differencing predictors are not read.
    if (d.tileWidth.present() || (planar == 2 && samples > 1) || ValueOr(d.predictor, file, 1) != 1) Fail(kErrTif);

    if (samples == 1) {
        image.depth = int(ValueOr(d.bitsPerSample, file, 1));
        if (image.depth != 1 && image.depth != 4 && image.depth != 8) Fail(kErrTif);
        if (image.photometric == kRgb || (image.depth == 1 && image.photometric == kPalette)) Fail(kErrTif);
        if (image.photometric == kPalette && d.colorMap.count != 3u << image.depth) Fail(kErrTif);
    } else if (samples == 3) {
        for (uint32_t i = 0; i < 3; ++i)
            if (!d.bitsPerSample.present() || d.bitsPerSample.value(file, std::min(i, d.bitsPerSample.count - 1)) != 8)
                Fail(kErrTif);
        if (image.photometric != kRgb) Fail(kErrTif);
        image.depth = 24;
    } else {
        Fail(kErrTif);
    }
    if (image.compression == kPackBits && image.depth != 1) Fail(kErrTif);

    uint32_t imageBytes = 0;
    if (!CheckedDibImageSize(image.width, image.height, image.depth, &imageBytes)) Fail(kErrTif);
    image.rowsPerStrip = std::min<uint32_t>(ValueOr(d.rowsPerStrip, file, 0xFFFFFFFF), uint32_t(image.height));
    if (image.rowsPerStrip == 0 || !d.stripOffsets.present()) Fail(kErrTif);
    image.strips = d.stripOffsets.count;
    // Every row must lie in a strip the file names.
    if ((uint64_t(image.height) + image.rowsPerStrip - 1) / image.rowsPerStrip > image.strips) Fail(kErrTif);
    return image;
}

void SetColorTable(const TiffDirectory& d, const ByteView& file, const TiffImage& image, DibColor* table) {
    uint32_t entries = GetPaletteEntryCount(image.depth);
    if (image.photometric == kPalette) {
        for (uint32_t i = 0; i < entries; ++i)
            table[i] = {uint8_t(d.colorMap.value(file, 2 * entries + i) >> 8),
                        uint8_t(d.colorMap.value(file, entries + i) >> 8), uint8_t(d.colorMap.value(file, i) >> 8), 0};
        return;
    }
    // Grey: the ramp runs from black to white across all entries, turned
    // round where white is zero.
    for (uint32_t i = 0; i < entries; ++i) {
        uint8_t level = uint8_t(255 * i / (entries - 1));
        if (image.photometric == kWhiteIsZero) level = uint8_t(255 - level);
        table[i] = {level, level, level, 0};
    }
}

// PackBits: n of 0 to 127 copies n + 1 bytes, 129 to 255 repeats the next
// byte 257 - n times, 128 is nothing. A run longer than the rest of the row
// is consumed whole and cut at the row's end.
void UnpackBitsRow(ByteView& in, uint8_t* row, size_t length) {
    size_t done = 0;
    while (done < length) {
        uint8_t control = in.u8();
        if (control == 128) continue;
        if (control < 128) {
            size_t count = size_t(control) + 1;
            const uint8_t* literal = in.take(count);
            size_t used = std::min(count, length - done);
            memcpy(row + done, literal, used);
            done += used;
        } else {
            size_t count = 257 - size_t(control);
            uint8_t value = in.u8();
            size_t used = std::min(count, length - done);
            memset(row + done, value, used);
            done += used;
        }
    }
}

// Least bytes a strip of `rows` rows takes in the file: uncompressed, the
// rows themselves; PackBits, one two-byte run for every 128 bytes of a row at
// best (a run never carries over into the next row). A strip the file cannot
// hold would fail while decoding anyway: found here, before the pixel block
// is allocated, a small file never costs a large block.
uint64_t LeastStripBytes(const TiffImage& image, uint32_t rows) {
    uint64_t rowBytes = GetPackedRowBytes(image.width, image.depth);
    uint64_t perRow = image.compression == kPackBits ? 2 * ((rowBytes + 127) / 128) : rowBytes;
    return perRow * rows;
}

void CheckStripsFitFile(const TiffDirectory& d, const ByteView& file, const TiffImage& image) {
    uint32_t height = uint32_t(image.height);
    for (uint32_t strip = 0, firstRow = 0; firstRow < height; ++strip, firstRow += image.rowsPerStrip) {
        uint32_t rows = std::min(image.rowsPerStrip, height - firstRow);
        uint32_t offset = d.stripOffsets.value(file, strip);
        if (offset > file.size() || LeastStripBytes(image, rows) > file.size() - offset) Fail(kErrTif);
    }
}

void ReadRows(const TiffDirectory& d, ByteView& file, const TiffImage& image, uint8_t* bits) {
    uint32_t rowBytes = GetPackedRowBytes(image.width, image.depth);
    uint32_t dibRowBytes = 0;
    CheckedDibRowBytes(image.width, image.depth, &dibRowBytes);
    std::vector<uint8_t> rgb(image.depth == 24 ? rowBytes : 0);
    for (int32_t y = 0; y < image.height; ++y) {
        if (uint32_t(y) % image.rowsPerStrip == 0) file.seek(d.stripOffsets.value(file, uint32_t(y) / image.rowsPerStrip));
        uint8_t* row = bits + size_t(image.height - 1 - y) * dibRowBytes;
        if (image.compression == kPackBits) {
            UnpackBitsRow(file, row, rowBytes);
        } else if (image.depth == 24) {
            file.read(rgb.data(), rowBytes);
            for (uint32_t x = 0; x < rowBytes; x += 3) {
                row[x] = rgb[x + 2];
                row[x + 1] = rgb[x + 1];
                row[x + 2] = rgb[x];
            }
        } else {
            file.read(row, rowBytes);
        }
    }
}

// ---- writer -------------------------------------------------------------------

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value;
};

// SHORT where the value fits, else LONG.
Entry Number(uint16_t tag, uint32_t value) { return {tag, value > 0xFFFF ? kLong : kShort, 1, value}; }

void WriteEntry(ByteSink& out, const Entry& e) {
    out.u16le(e.tag);
    out.u16le(e.type);
    out.u32le(e.count);
    // A SHORT held inline sits in the first two bytes of the value field.
    out.u32le(e.value);
}

// Where everything of a written file goes. Rows per strip keep strips near
// 8 KiB (1-bit images are one strip); values of a field that fit in four
// bytes stand in the entry itself.
struct TiffLayout {
    int depth;  // 32-bit records are written as 24
    uint32_t width, height, rowBytes, rowsPerStrip, strips, stripBytes, colors;
    bool longCounts, countsInline;
    uint32_t extraAt, offsetsAt, countsAt, dataAt;

    uint32_t stripCount(uint32_t i) const {
        return (i + 1 < strips ? rowsPerStrip : height - i * rowsPerStrip) * rowBytes;
    }
};

TiffLayout PlanTiff(const ImageRecord& record) {
    TiffLayout t;
    t.depth = record.bitCount == 32 ? 24 : record.bitCount;
    t.width = uint32_t(record.width);
    t.height = uint32_t(record.height);
    t.rowBytes = GetPackedRowBytes(record.width, t.depth);
    t.rowsPerStrip = t.depth == 1 ? t.height : std::max<uint32_t>(1, std::min(t.height, 8192 / t.rowBytes));
    t.strips = (t.height + t.rowsPerStrip - 1) / t.rowsPerStrip;
    t.stripBytes = t.rowBytes * t.rowsPerStrip;
    t.colors = t.depth == 4 || t.depth == 8 ? 1u << t.depth : 0;
    t.longCounts = t.strips == 1 || t.stripBytes > 0xFFFF;
    uint32_t countBytes = (t.longCounts ? 4 : 2) * t.strips;
    t.countsInline = countBytes <= 4;
    t.extraAt = 8 + 2 + 12 * (t.colors ? 11 : 10) + 4;  // right after the directory
    t.offsetsAt = t.extraAt + (t.colors ? 6 * t.colors : t.depth == 24 ? 6 : 0);
    t.countsAt = t.offsetsAt + (t.strips > 1 ? 4 * t.strips : 0);
    t.dataAt = t.countsAt + (t.countsInline ? 0 : countBytes);
    return t;
}

// Entries in ascending tag order, as readers expect.
void WriteDirectory(ByteSink& out, const TiffLayout& t, uint16_t photometric) {
    uint32_t counts = t.strips == 1 ? t.stripCount(0) : t.stripCount(0) | t.stripCount(1) << 16;
    std::vector<Entry> entries = {
        {kNewSubfileType, kLong, 1, 0},
        Number(kImageWidth, t.width),
        Number(kImageLength, t.height),
        t.depth == 24 ? Entry{kBitsPerSample, kShort, 3, t.extraAt} : Entry{kBitsPerSample, kShort, 1, uint32_t(t.depth)},
        {kCompression, kShort, 1, kNoCompression},
        {kPhotometric, kShort, 1, photometric},
        {kStripOffsets, kLong, t.strips, t.strips > 1 ? t.offsetsAt : t.dataAt},
        {kSamplesPerPixel, kShort, 1, t.depth == 24 ? 3u : 1u},
        Number(kRowsPerStrip, t.rowsPerStrip),
        {kStripByteCounts, uint16_t(t.longCounts ? kLong : kShort), t.strips, t.countsInline ? counts : t.countsAt},
    };
    if (t.colors) entries.push_back({kColorMap, kShort, 3 * t.colors, t.extraAt});
    out.u16le(uint16_t(entries.size()));
    for (const Entry& e : entries) WriteEntry(out, e);
    out.u32le(0);  // no further directory
}

// What the directory points at: the colour map or the three sample
// depths, then the strip offsets and byte counts.
void WriteDirectoryValues(ByteSink& out, const TiffLayout& t, const DibColor* table) {
    if (t.colors) {
        // All reds, all greens, all blues; each level v as v * 257, so that
        // white is 0xFFFF and readers that scale to 8 bits get v back.
        for (uint8_t DibColor::*component : {&DibColor::red, &DibColor::green, &DibColor::blue})
            for (uint32_t i = 0; i < t.colors; ++i) out.u16le(uint16_t(table[i].*component * 257));
    } else if (t.depth == 24) {
        for (int i = 0; i < 3; ++i) out.u16le(8);
    }
    if (t.strips == 1) return;
    for (uint32_t i = 0; i < t.strips; ++i) out.u32le(t.dataAt + i * t.stripBytes);
    for (uint32_t i = 0; i < t.strips && !t.countsInline; ++i) {
        if (t.longCounts) out.u32le(t.stripCount(i)); else out.u16le(uint16_t(t.stripCount(i)));
    }
}

// The rows from the top of the picture down; deep pixels as red, green, blue.
void WriteRows(ByteSink& out, const TiffLayout& t, const ImageRecord& record) {
    BlockLock bits(record.hBits);
    uint32_t dibRowBytes = GetDibRowBytes(record);
    size_t step = record.bitCount == 32 ? 4 : 3;
    std::vector<uint8_t> rgb(t.depth == 24 ? t.rowBytes : 0);
    for (uint32_t y = 0; y < t.height; ++y) {
        const uint8_t* line = bits.data() + size_t(t.height - 1 - y) * dibRowBytes;
        if (t.depth != 24) {
            out.write(line, t.rowBytes);
            continue;
        }
        for (uint32_t x = 0; x < t.width; ++x) {
            rgb[3 * x] = line[step * x + 2];
            rgb[3 * x + 1] = line[step * x + 1];
            rgb[3 * x + 2] = line[step * x];
        }
        out.write(rgb.data(), t.rowBytes);
    }
}

}  // namespace

void ReadTiffFile(ByteView& file, ImageRecord& record) {
    TiffDirectory directory = ReadDirectory(file);
    TiffImage image = CheckImage(directory, file);
    uint32_t imageBytes = 0;
    CheckedDibImageSize(image.width, image.height, image.depth, &imageBytes);
    CheckStripsFitFile(directory, file, image);
    // 24-bit rows pass through a row buffer of their own.
    RequireWithinCap(uint64_t(imageBytes) + (image.depth == 24 ? GetPackedRowBytes(image.width, 24) : 0), kErrTif);
    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    {
        BlockLock lock(bits.get());
        ReadRows(directory, file, image, lock.data());
    }
    record.width = image.width;
    record.height = image.height;
    record.bitCount = uint16_t(image.depth);
    if (!CreateDibHeader(record)) Fail(kErrNoMemory);
    if (image.depth <= 8) {
        BlockLock info(record.hInfo);
        SetColorTable(directory, file, image, info.as<DibColor>() + 10);
    }
    record.hBits = bits.release();
}

void WriteTiffFile(const ImageRecord& record, ByteSink& out) {
    if (!RecordBlocksAreSound(record)) Fail(kErrTif);
    TiffLayout layout = PlanTiff(record);
    BlockLock info(record.hInfo);
    const DibColor* table = info.as<DibColor>() + 10;
    // Two-colour files say only black and white: the lighter first colour
    // makes a white-is-zero file.
    auto brightness = [](const DibColor& c) { return c.red * 30 + c.green * 59 + c.blue * 11; };
    uint16_t photometric = layout.depth == 24 ? kRgb : layout.depth > 1 ? kPalette
                           : brightness(table[0]) > brightness(table[1]) ? kWhiteIsZero : kBlackIsZero;
    out.u16le(0x4949);
    out.u16le(42);
    out.u32le(8);
    WriteDirectory(out, layout, photometric);
    WriteDirectoryValues(out, layout, table);
    WriteRows(out, layout, record);
}
