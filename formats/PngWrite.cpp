// PNG writer (export type 8): 1-, 4- and 8-bit records as palette images,
// 24 bits as RGB, 32 bits as RGB with alpha (PngPixels.h), never
// interlaced, every scanline unfiltered; a note goes into a zTXt chunk.
#include <cstring>
#include <vector>
#include <zlib.h>

#include "Codecs.h"
#include "DibHelpers.h"
#include "PngChunks.h"
#include "PngPixels.h"

namespace {

// Compresses scanlines as they come and sends the stream out in IDAT
// chunks of kPngIdatChunkBytes, the last one shorter.
class IdatWriter {
public:
    IdatWriter(ByteSink& out, const PngCrcTable& table) : out_(out), table_(table) {
        memset(&stream_, 0, sizeof stream_);
        if (deflateInit(&stream_, Z_DEFAULT_COMPRESSION) != Z_OK) Fail(kErrNoMemory);
        startChunk();
    }
    ~IdatWriter() { deflateEnd(&stream_); }
    IdatWriter(const IdatWriter&) = delete;
    IdatWriter& operator=(const IdatWriter&) = delete;

    void add(const uint8_t* data, uint32_t bytes) {
        stream_.next_in = const_cast<Bytef*>(data);
        stream_.avail_in = bytes;
        while (stream_.avail_in > 0) run(Z_NO_FLUSH);
    }
    void finish() {
        while (run(Z_FINISH) != Z_STREAM_END) {}
        uint32_t pending = kPngIdatChunkBytes - stream_.avail_out;
        if (pending > 0) WritePngChunk(out_, table_, kChunkIdat, chunk_, pending);
    }

private:
    int run(int flush) {
        int status = deflate(&stream_, flush);
        if (status == Z_STREAM_ERROR) Fail(kErrPng);
        if (stream_.avail_out == 0) {
            WritePngChunk(out_, table_, kChunkIdat, chunk_, kPngIdatChunkBytes);
            startChunk();
        }
        return status;
    }
    void startChunk() {
        stream_.next_out = chunk_;
        stream_.avail_out = kPngIdatChunkBytes;
    }

    ByteSink& out_;
    const PngCrcTable& table_;
    z_stream stream_;
    uint8_t chunk_[kPngIdatChunkBytes];
};

// One-shot compression into a buffer of zlib's worst-case size.
std::vector<uint8_t> DeflatePngData(const uint8_t* data, size_t bytes) {
    z_stream stream;
    memset(&stream, 0, sizeof stream);
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK) Fail(kErrNoMemory);
    std::vector<uint8_t> out(deflateBound(&stream, uLong(bytes)));
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = uInt(bytes);
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    int status = deflate(&stream, Z_FINISH);
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) Fail(kErrNoMemory);
    return out;
}

void WriteHeaderChunk(ByteSink& out, const PngCrcTable& table, const ImageRecord& record) {
    uint8_t data[kPngIhdrLength] = {};
    for (int i = 0; i < 4; ++i) {
        data[i] = uint8_t(uint32_t(record.width) >> (24 - 8 * i));
        data[4 + i] = uint8_t(uint32_t(record.height) >> (24 - 8 * i));
    }
    const int bits = record.bitCount;
    data[8] = bits <= 8 ? uint8_t(bits) : 8;
    data[9] = bits <= 8 ? kPngPalette : bits == 24 ? kPngRgb : kPngRgbAlpha;
    WritePngChunk(out, table, kChunkIhdr, data, kPngIhdrLength);  // compression, filter, interlace 0
}

void WritePaletteChunk(ByteSink& out, const PngCrcTable& table, const ImageRecord& record) {
    uint32_t entries = GetPaletteEntryCount(record.bitCount);
    BlockLock info(record.hInfo);
    const DibColor* colors = info.as<DibColor>() + sizeof(DibHeader) / sizeof(DibColor);
    uint8_t rgb[256 * 3];
    for (uint32_t i = 0; i < entries; ++i) {
        rgb[3 * i] = colors[i].red;
        rgb[3 * i + 1] = colors[i].green;
        rgb[3 * i + 2] = colors[i].blue;
    }
    WritePngChunk(out, table, kChunkPlte, rgb, entries * 3);
}

// Scanlines top to bottom, each a filter byte 0 and the row's samples.
void WriteImageData(ByteSink& out, const PngCrcTable& table, const ImageRecord& record) {
    const uint32_t width = uint32_t(record.width), height = uint32_t(record.height);
    const int bits = record.bitCount;
    const uint32_t lineBytes = uint32_t((uint64_t(width) * bits + 7) / 8);
    const uint32_t rowBytes = GetDibRowBytes(record);
    std::vector<uint8_t> line(size_t(lineBytes) + 1, 0);
    BlockLock pixels(record.hBits);
    IdatWriter idat(out, table);
    for (uint32_t y = 0; y < height; ++y) {
        PackPngScanline(pixels.data() + size_t(height - 1 - y) * rowBytes, bits, width, line.data() + 1);
        idat.add(line.data(), lineBytes + 1);
    }
    idat.finish();
}

// The note's first noteLength bytes, or as many as its block holds.
void WriteNoteChunk(ByteSink& out, const PngCrcTable& table, const ImageRecord& record) {
    if (record.noteLength <= 0 || !record.hNote) return;
    size_t bytes = size_t(record.noteLength);
    if (GlobalSize(record.hNote) < bytes) bytes = GlobalSize(record.hNote);
    BlockLock note(record.hNote);
    if (!note.data()) return;
    std::vector<uint8_t> packed = DeflatePngData(note.data(), bytes);
    std::vector<uint8_t> data(kPngNoteKeyword, kPngNoteKeyword + kPngNoteKeywordLength + 1);  // with its NUL
    data.push_back(0);  // compression method
    data.insert(data.end(), packed.begin(), packed.end());
    if (data.size() > kPngMaxChunkLength) Fail(kErrPng);
    WritePngChunk(out, table, kChunkZtxt, data.data(), uint32_t(data.size()));
}

void WritePngEndChunk(ByteSink& out, const PngCrcTable& table) { WritePngChunk(out, table, kChunkIend, nullptr, 0); }

}  // namespace

void WritePngFile(const ImageRecord& record, ByteSink& out) {
    const int bits = record.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) Fail(kErrPng);
    if (!RecordBlocksAreSound(record)) Fail(kErrPng);
    PngCrcTable table;
    MakePngCrcTable(table);
    out.write(kPngSignature, sizeof kPngSignature);
    WriteHeaderChunk(out, table, record);
    if (bits <= 8) WritePaletteChunk(out, table, record);
    WriteImageData(out, table, record);
    WriteNoteChunk(out, table, record);
    WritePngEndChunk(out, table);
}
