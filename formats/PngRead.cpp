// PNG files (.png): grey, palette, RGB, grey with alpha and RGB with alpha
// at 8 bits a sample (grey and palette also at 1, 2 and 4), plain or Adam7,
// into 1-, 4-, 8-, 24- or 32-bit records, with the note of a zTXt chunk.
#include <cstring>
#include <vector>
#include <zlib.h>

#include "Codecs.h"
#include "DibHelpers.h"
#include "PngChunks.h"
#include "PngScanlines.h"

namespace {

// Longest note read back; a note chunk that inflates beyond it keeps its
// first part, so that a tiny hostile chunk cannot claim gigabytes.
constexpr size_t kMaxNoteBytes = 16u * 1024 * 1024;

struct PngChunk {
    uint32_t type = 0;
    const uint8_t* data = nullptr;
    uint32_t length = 0;
};

uint32_t BigEndian32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The chunk at `pos` (advanced past it) of the bytes after the signature;
// false when no whole chunk is left there.
bool NextChunk(const uint8_t* bytes, size_t size, size_t& pos, PngChunk& chunk) {
    if (size - pos < 12) return false;
    uint32_t length = BigEndian32(bytes + pos);
    if (length > kPngMaxChunkLength || length > size - pos - 12) return false;
    chunk.length = length;
    chunk.type = BigEndian32(bytes + pos + 4);
    chunk.data = bytes + pos + 8;
    pos += size_t(length) + 12;
    return true;
}

// Every chunk up to IEND (or the end of the file) must be whole and carry
// its checksum; otherwise the file is corrupted. Bytes after IEND are not
// looked at.
void CheckChunks(const uint8_t* bytes, size_t size, const PngCrcTable& table) {
    size_t pos = 0;
    PngChunk chunk;
    while (pos < size) {
        size_t at = pos;
        if (!NextChunk(bytes, size, pos, chunk)) Fail(kErrPngCorrupt);
        uint32_t crc = ~UpdatePngCrc(table, 0xFFFFFFFFu, bytes + at + 4, size_t(chunk.length) + 4);
        if (crc != BigEndian32(chunk.data + chunk.length)) Fail(kErrPngCorrupt);
        if (chunk.type == kChunkIend) return;
    }
}

// The IDAT chunks of the file in order, up to IEND.
class IdatChunks : public PngIdatSource {
public:
    IdatChunks(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool next(const uint8_t** data, uint32_t* length) override {
        PngChunk chunk;
        while (NextChunk(bytes_, size_, pos_, chunk) && chunk.type != kChunkIend) {
            if (chunk.type != kChunkIdat) continue;
            *data = chunk.data;
            *length = chunk.length;
            return true;
        }
        pos_ = size_;
        return false;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t pos_ = 0;
};

// Deflate gives at most 1032 bytes for a byte of its stream, and a scanline
// byte stands for at most two bytes of the pixel block (samples widened to
// the record's depth, rows padded to four bytes).
constexpr uint32_t kPngExpansion = 1032 * 2;

uint64_t CountIdatBytes(const uint8_t* bytes, size_t size) {
    IdatChunks idat(bytes, size);
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    uint64_t total = 0;
    while (idat.next(&data, &length)) total += length;
    return total;
}

// A colour table entry i of a grey image: 2^depth levels spread from black
// to white (0, 85, 170, 255 at 2 bits).
void SetGreyLevels(DibColor* table, int depth) {
    uint32_t levels = 1u << depth;
    for (uint32_t i = 0; i < levels; ++i) {
        uint8_t value = uint8_t(i * 255 / (levels - 1));
        table[i] = {value, value, value, 0};
    }
}

DibColor* ColorTableOf(const BlockLock& info) { return info.as<DibColor>() + sizeof(DibHeader) / sizeof(DibColor); }

// One-shot decompression of a zlib stream into `out`, which grows as the
// text does, up to `limit` bytes. A stream that breaks off keeps what it
// gave. Returns the number of bytes produced.
size_t InflatePngData(const uint8_t* data, size_t length, std::vector<uint8_t>& out, size_t limit) {
    z_stream stream;
    memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) Fail(kErrNoMemory);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = uInt(length);
    size_t produced = 0;
    out.resize(length < limit / 4 ? length * 4 + 64 : limit);
    int status = Z_OK;
    while (status == Z_OK && produced < limit) {
        if (produced == out.size()) out.resize(out.size() < limit / 2 ? out.size() * 2 : limit);
        stream.next_out = out.data() + produced;
        stream.avail_out = uInt(out.size() - produced);
        status = inflate(&stream, Z_FINISH);
        produced = out.size() - stream.avail_out;
        if (status == Z_BUF_ERROR && stream.avail_out == 0) status = Z_OK;  // only the output was full
    }
    inflateEnd(&stream);
    if (status == Z_MEM_ERROR) Fail(kErrNoMemory);
    out.resize(produced);
    return produced;
}

// IHDR: the image's size and pixel format; the header block with the grey
// levels of a grey image.
PngImageLayout ReadPngHeaderChunk(const uint8_t* data, uint32_t length, ImageRecord& record) {
    if (length != kPngIhdrLength) Fail(kErrPng);
    PngImageLayout layout;
    layout.width = BigEndian32(data);
    layout.height = BigEndian32(data + 4);
    layout.depth = data[8];
    layout.colorType = data[9];
    uint8_t compression = data[10], filter = data[11], interlace = data[12];
    if (compression != 0 || filter != 0 || interlace > 1) Fail(kErrPng);
    PngPixelFormat format = GetPngPixelFormat(layout.colorType, layout.depth);
    if (format.recordBits == 0) Fail(kErrPng);  // 16-bit samples among them
    layout.samples = format.samples;
    layout.recordBits = format.recordBits;
    layout.interlaced = interlace == 1;

    uint32_t imageBytes = 0;
    if (layout.width > 0x7FFFFFFFu || layout.height > 0x7FFFFFFFu ||
        !CheckedDibImageSize(int32_t(layout.width), int32_t(layout.height), layout.recordBits, &imageBytes))
        Fail(kErrPng);
    record.width = int32_t(layout.width);
    record.height = int32_t(layout.height);
    record.bitCount = uint16_t(layout.recordBits);
    if (!CreateDibHeader(record)) Fail(kErrNoMemory);
    if (layout.colorType == kPngGrey) {
        BlockLock info(record.hInfo);
        SetGreyLevels(ColorTableOf(info), layout.depth);
    }
    return layout;
}

// zTXt under the suite's keyword: the note, NUL-terminated, in hNote.
// Other keywords, and compression methods other than 0, are passed over.
void ReadPngNoteChunk(const uint8_t* data, uint32_t length, ImageRecord& record) {
    const size_t header = kPngNoteKeywordLength + 2;  // keyword, NUL, method
    if (length < header || memcmp(data, kPngNoteKeyword, kPngNoteKeywordLength + 1) != 0) return;
    if (data[kPngNoteKeywordLength + 1] != 0) return;
    std::vector<uint8_t> text;
    size_t bytes = InflatePngData(data + header, length - header, text, kMaxNoteBytes);
    GlobalBlock note = GlobalBlock::Allocate(bytes + 1);
    BlockLock lock(note.get());
    if (bytes) memcpy(lock.data(), text.data(), bytes);
    lock.data()[bytes] = 0;
    if (record.hNote) GlobalFree(record.hNote);  // a later note chunk wins
    record.hNote = note.release();
}

}  // namespace

void ReadPngFile(ByteView& file, ImageRecord& record) {
    if (file.size() < sizeof kPngSignature || memcmp(file.take(8), kPngSignature, 8) != 0) Fail(kErrPng);
    const uint8_t* bytes = file.data() + file.pos();
    const size_t size = file.remaining();
    PngCrcTable crcTable;
    MakePngCrcTable(crcTable);
    CheckChunks(bytes, size, crcTable);

    // IHDR must come first, and once.
    PngImageLayout layout;
    bool haveHeader = false, haveEnd = false;
    size_t pos = 0;
    PngChunk chunk;
    while (!haveEnd && NextChunk(bytes, size, pos, chunk)) {
        if (!haveHeader && chunk.type != kChunkIhdr) Fail(kErrPng);
        switch (chunk.type) {
        case kChunkIhdr:
            if (haveHeader) Fail(kErrPng);
            layout = ReadPngHeaderChunk(chunk.data, chunk.length, record);
            haveHeader = true;
            break;
        case kChunkPlte:
            if (layout.colorType == kPngPalette) {
                BlockLock info(record.hInfo);
                DibColor* table = ColorTableOf(info);
                uint32_t entries = chunk.length / 3, room = GetPaletteEntryCount(layout.recordBits);
                for (uint32_t i = 0; i < entries && i < room; ++i)
                    table[i] = {chunk.data[3 * i + 2], chunk.data[3 * i + 1], chunk.data[3 * i], 0};
            }
            break;
        case kChunkZtxt: ReadPngNoteChunk(chunk.data, chunk.length, record); break;
        case kChunkIend: haveEnd = true; break;
        default: break;  // IDAT is read below; every other chunk is skipped
        }
    }
    if (!haveHeader) Fail(kErrPng);

    uint32_t imageBytes = 0, rowBytes = 0;
    CheckedDibImageSize(record.width, record.height, record.bitCount, &imageBytes);
    CheckedDibRowBytes(record.width, record.bitCount, &rowBytes);
    if (!ImageFitsData(imageBytes, CountIdatBytes(bytes, size), kPngExpansion)) Fail(kErrPng);
    RequireWithinCap(imageBytes + PngScanlineBufferBytes(layout), kErrPng);
    GlobalBlock pixels = GlobalBlock::Allocate(imageBytes);
    PngDecodeResult result;
    {
        BlockLock lock(pixels.get());
        if (!lock.data()) Fail(kErrNoMemory);
        IdatChunks idat(bytes, size);
        result = DecodePngScanlines(layout, idat, lock.data(), rowBytes);
    }
    // No image data at all is no image. A stream that ends early leaves the
    // rest of the picture zero, as long as the file itself is whole (IEND);
    // a file cut off before IEND must have given every scanline.
    if (result.scanlineBytes == 0 || (!haveEnd && !result.complete)) Fail(kErrPng);
    record.hBits = pixels.release();
}
