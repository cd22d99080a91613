// Clipboard files (.clp): a directory of clipboard formats and their data.
// The first format is read when it is a device-independent bitmap or a
// device bitmap; one device-independent bitmap is written.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Codecs.h"
#include "DeviceBitmap.h"
#include "DibHelpers.h"

namespace {

constexpr uint16_t kClipboardFileId = 50000;
constexpr uint32_t kDirectoryEntrySize = 89;
constexpr uint32_t kFormatNameSize = 79;
constexpr uint16_t kFormatDib = 8;
constexpr uint16_t kFormatBitmap = 2;
constexpr uint32_t kBitmapDescriptionSize = 24;

struct DirectoryEntry {
    uint16_t format;
    uint32_t length;
    uint32_t offset;
};

// The first directory entry; its data must lie inside the file.
DirectoryEntry ReadFirstEntry(ByteView& file) {
    if (file.u16le() != kClipboardFileId) Fail(kErrClp);
    uint16_t formats = file.u16le();
    if (formats == 0) Fail(kErrClp);
    size_t directoryStart = file.pos();
    file.skip(size_t(formats) * kDirectoryEntrySize);  // the whole directory must be there
    file.seek(directoryStart);
    DirectoryEntry entry;
    entry.format = file.u16le();
    entry.length = file.u32le();
    entry.offset = file.u32le();
    if (entry.offset > file.size() || entry.length > file.size() - entry.offset) Fail(kErrClp);
    return entry;
}

// Bytes between a packed bitmap's header and its pixels: the colour table
// (as many entries as the header says it holds) and any bit masks.
uint32_t PackedDibTableBytes(ByteView& dib) {
    dib.seek(0);
    uint32_t headerSize = dib.u32le();
    if (headerSize == 12) {
        dib.seek(10);
        uint16_t bits = dib.u16le();
        return 3 * GetPaletteEntryCount(bits);
    }
    dib.seek(14);
    uint16_t bits = dib.u16le();
    uint32_t compression = dib.u32le();
    dib.seek(32);
    uint32_t used = dib.u32le();
    uint32_t entries = GetPaletteEntryCount(bits);
    if (used > 0 && used < entries) entries = used;
    uint32_t masks = (compression == 3 && headerSize == 40) ? 12 : 0;
    return 4 * entries + masks;
}

// A device-independent bitmap held as header, colour table and rows: the
// bitmap file reader reads it once a file header is put in front.
void ReadPackedDib(const uint8_t* data, uint32_t length, ImageRecord& record) {
    ByteView dib(data, length, kErrClp);
    if (length < 40) Fail(kErrClp);
    uint32_t headerSize = dib.u32le();
    uint64_t pixelOffset = 14 + uint64_t(headerSize) + PackedDibTableBytes(dib);
    if (pixelOffset > 14 + uint64_t(length)) Fail(kErrClp);

    std::vector<uint8_t> file(14 + size_t(length));
    file[0] = 'B';
    file[1] = 'M';
    uint32_t fileSize = uint32_t(file.size()), offset = uint32_t(pixelOffset);
    memcpy(&file[2], &fileSize, 4);
    memcpy(&file[10], &offset, 4);
    memcpy(&file[14], data, length);
    ByteView bitmap(file.data(), file.size(), kErrClp);
    try {
        ReadBmpFile(bitmap, record);
    } catch (const CodecFailure& failure) {
        Fail(failure.id == kErrBmp ? kErrClp : failure.id);
    }
}

// The fixed colour table of 8-bit device bitmaps read away from an 8-bit
// screen: three bits of red, three of green, two of blue.
void SetFixed256Colors(DibColor* table) {
    for (uint32_t i = 0; i < 256; ++i)
        table[i] = {uint8_t(64 * (i / 64)), uint8_t(32 * ((i / 8) % 8)), uint8_t(32 * (i % 8)), 0};
}

// An 8-bit device bitmap: rows of the width rounded up to even bytes, the
// top of the picture first. Rows the data does not hold stay 0.
void ReadBitmap8(ByteView& data, ImageRecord& record) {
    uint32_t imageBytes = 0, rowBytes = 0;
    if (!CheckedDibImageSize(record.width, record.height, 8, &imageBytes)) Fail(kErrClp);
    CheckedDibRowBytes(record.width, 8, &rowBytes);
    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    {
        BlockLock lock(bits.get());
        size_t storedRow = (size_t(record.width) + 1) & ~size_t(1);
        for (int32_t y = record.height - 1; y >= 0 && !data.atEnd(); --y) {
            size_t available = std::min(storedRow, data.remaining());
            const uint8_t* row = data.take(available);
            memcpy(lock.data() + size_t(y) * rowBytes, row, std::min<size_t>(available, size_t(record.width)));
        }
    }
    if (CurrentScreenDepth() == 8) {
        if (!CreateScreenDibHeader(record)) Fail(kErrNoMemory);
    } else {
        if (!CreateDibHeader(record)) Fail(kErrNoMemory);
        BlockLock info(record.hInfo);
        SetFixed256Colors(info.as<DibColor>() + 10);
    }
    record.hBits = bits.release();
}

void ReadDeviceBitmap(ByteView& data, ImageRecord& record) {
    data.skip(4);  // type
    int32_t width = int32_t(data.u32le());
    int32_t height = int32_t(data.u32le());
    data.skip(4);  // bytes per row: the rows' layout is fixed by the depth
    uint32_t planes = data.u16le();
    uint32_t bitsPerPixel = data.u16le();
    data.skip(4);  // a pointer of the program that saved it
    uint32_t depth = planes * bitsPerPixel;
    uint32_t imageBytes = 0;
    if (depth <= 1 || depth > 8 || !CheckedDibImageSize(width, height, 8, &imageBytes)) Fail(kErrClp);
    // Device rows are raw, at least two bits a pixel: measured against an
    // 8-bit block (rows padded to four bytes), a data byte gives at most four.
    // Rows the data does not hold stay zero.
    if (!ImageFitsData(imageBytes, data.remaining(), 4)) Fail(kErrClp);
    record.width = width;
    record.height = height;
    if (depth == 8) {
        record.bitCount = 8;
        ReadBitmap8(data, record);
        return;
    }
    // Shallower device bitmaps only make sense on a screen of their kind.
    if (CurrentScreenDepth() != 4) Fail(kErrClp);
    record.bitCount = 4;
    size_t bytes = data.remaining();
    if (!ConvertDeviceBits(record, int(planes), int(bitsPerPixel), data.take(bytes), bytes)) Fail(kErrNoMemory);
}

}  // namespace

void ReadClpFile(ByteView& file, ImageRecord& record) {
    DirectoryEntry entry = ReadFirstEntry(file);
    const uint8_t* data = file.data() + entry.offset;
    if (entry.format == kFormatDib) {
        ReadPackedDib(data, entry.length, record);
    } else if (entry.format == kFormatBitmap) {
        if (entry.length < kBitmapDescriptionSize) Fail(kErrClp);
        ByteView bitmap(data, entry.length, kErrClp);
        ReadDeviceBitmap(bitmap, record);
    } else {
        Fail(kErrClp);
    }
}

void WriteClpFile(const ImageRecord& record, ByteSink& out) {
    if (!RecordBlocksAreSound(record)) Fail(kErrClp);
    uint32_t headerBytes = GetDibHeaderSize(record.bitCount);
    uint32_t imageBytes = GetDibImageSize(record);
    out.u16le(kClipboardFileId);
    out.u16le(1);
    out.u16le(kFormatDib);
    out.u32le(headerBytes + imageBytes);
    out.u32le(4 + kDirectoryEntrySize);
    const uint8_t name[kFormatNameSize] = {};
    out.write(name, sizeof name);

    BlockLock info(record.hInfo);
    DibHeader header = DescribeRecordDib(record, info.data());
    out.write(&header, sizeof header);
    out.write(info.data() + sizeof header, headerBytes - sizeof header);
    BlockLock bits(record.hBits);
    out.write(bits.data(), imageBytes);
}
