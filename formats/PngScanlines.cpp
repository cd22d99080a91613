#include "PngScanlines.h"

#include <cstring>
#include <utility>
#include <zlib.h>

#include "ByteView.h"
#include "DibHelpers.h"
#include "PngPixels.h"

namespace {

// One interlace pass: its first row and column and their steps.
struct Pass {
    uint32_t row0, rowStep, col0, colStep;
};
constexpr Pass kAdam7[7] = {{0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4},
                            {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};
constexpr Pass kWholeImage = {0, 1, 0, 1};

// Rows or columns a pass has of a picture dimension; small pictures leave
// some passes empty, and an empty pass has no scanlines at all.
uint32_t PassExtent(uint32_t size, uint32_t start, uint32_t step) {
    return size > start ? (size - start + step - 1) / step : 0;
}

// Inflates the joined IDAT data on demand. The stream is never asked for
// more than the image's scanlines, so a stream that would inflate far
// beyond them costs no more than the image itself.
class ScanlineInflater {
public:
    explicit ScanlineInflater(PngIdatSource& source) : source_(source) {
        memset(&stream_, 0, sizeof stream_);
        if (inflateInit(&stream_) != Z_OK) Fail(kErrNoMemory);
    }
    ~ScanlineInflater() { inflateEnd(&stream_); }
    ScanlineInflater(const ScanlineInflater&) = delete;
    ScanlineInflater& operator=(const ScanlineInflater&) = delete;

    // Up to `bytes` bytes of the stream, the rest zero: fewer once the
    // stream has ended or broken off. Returns the bytes it gave.
    uint32_t read(uint8_t* out, uint32_t bytes) {
        stream_.next_out = out;
        stream_.avail_out = bytes;
        while (stream_.avail_out > 0 && !ended_) {
            if (stream_.avail_in == 0 && !refill()) {
                ended_ = true;
                break;
            }
            int status = inflate(&stream_, Z_NO_FLUSH);
            if (status == Z_MEM_ERROR) Fail(kErrNoMemory);
            // The end of the stream, corrupt data, or a dictionary PNG never has.
            if (status != Z_OK && !(status == Z_BUF_ERROR && stream_.avail_in == 0)) ended_ = true;
        }
        uint32_t missing = stream_.avail_out;
        if (missing > 0) memset(out + (bytes - missing), 0, missing);
        produced_ += bytes - missing;
        return bytes - missing;
    }
    uint64_t produced() const { return produced_; }

private:
    bool refill() {
        const uint8_t* data = nullptr;
        uint32_t length = 0;
        do {
            if (!source_.next(&data, &length)) return false;
        } while (length == 0);
        stream_.next_in = const_cast<Bytef*>(data);
        stream_.avail_in = length;
        return true;
    }

    PngIdatSource& source_;
    z_stream stream_;
    bool ended_ = false;
    uint64_t produced_ = 0;
};

uint32_t ScanlineBytes(const PngImageLayout& layout, uint32_t columns) {
    return uint32_t((uint64_t(columns) * layout.depth * layout.samples + 7) / 8);
}

// How far back a filter's left neighbour lies: one pixel, or one byte for
// pixels smaller than a byte.
uint32_t FilterDistance(const PngImageLayout& layout) {
    uint32_t pixelBits = uint32_t(layout.depth) * uint32_t(layout.samples);
    return pixelBits < 8 ? 1 : pixelBits / 8;
}

uint8_t Paeth(int a, int b, int c) {
    int pa = b > c ? b - c : c - b;
    int pb = a > c ? a - c : c - a;
    int pc = a + b - 2 * c;
    if (pc < 0) pc = -pc;
    if (pa <= pb && pa <= pc) return uint8_t(a);
    return pb <= pc ? uint8_t(b) : uint8_t(c);
}

// Undoes one scanline's filter in place; `prev` is the pass's previous
// scanline, all zero for its first.
void Unfilter(uint8_t type, uint8_t* row, const uint8_t* prev, uint32_t bytes, uint32_t bpp) {
    uint32_t lead = bpp < bytes ? bpp : bytes;  // bytes without a left neighbour
    switch (type) {
    case 0: return;
    case 1:
        for (uint32_t i = bpp; i < bytes; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
        return;
    case 2:
        for (uint32_t i = 0; i < bytes; ++i) row[i] = uint8_t(row[i] + prev[i]);
        return;
    case 3:
        for (uint32_t i = 0; i < lead; ++i) row[i] = uint8_t(row[i] + (prev[i] >> 1));
        for (uint32_t i = bpp; i < bytes; ++i) row[i] = uint8_t(row[i] + ((row[i - bpp] + prev[i]) >> 1));
        return;
    case 4:
        for (uint32_t i = 0; i < lead; ++i) row[i] = uint8_t(row[i] + prev[i]);
        for (uint32_t i = bpp; i < bytes; ++i) row[i] = uint8_t(row[i] + Paeth(row[i - bpp], prev[i], prev[i - bpp]));
        return;
    default: Fail(kErrPngCorrupt);
    }
}

// Decodes the scanlines of one pass; false when the stream ran out in it.
bool DecodePass(const PngImageLayout& layout, const Pass& pass, ScanlineInflater& inflater, uint8_t* lines,
                uint32_t widest, uint8_t* bits, uint32_t rowBytes) {
    const uint32_t columns = PassExtent(layout.width, pass.col0, pass.colStep);
    const uint32_t rows = PassExtent(layout.height, pass.row0, pass.rowStep);
    if (columns == 0 || rows == 0) return true;
    const uint32_t lineBytes = ScanlineBytes(layout, columns);
    const uint32_t bpp = FilterDistance(layout);
    uint8_t* line = lines;
    uint8_t* above = lines + widest;
    memset(above, 0, lineBytes + 1);
    for (uint32_t r = 0; r < rows; ++r) {
        uint32_t got = inflater.read(line, lineBytes + 1);
        if (got == 0) return false;
        Unfilter(line[0], line + 1, above + 1, lineBytes, bpp);
        uint32_t y = pass.row0 + r * pass.rowStep;
        PlacePngPixels(layout, line + 1, columns, bits + size_t(layout.height - 1 - y) * rowBytes, pass.col0,
                       pass.colStep);
        if (got <= lineBytes) return false;
        std::swap(line, above);
    }
    return true;
}

}  // namespace

// Two scanlines with their filter bytes: the one being decoded and the one
// above it in the same pass.
uint64_t PngScanlineBufferBytes(const PngImageLayout& layout) {
    return 2 * (uint64_t(ScanlineBytes(layout, layout.width)) + 1);
}

PngDecodeResult DecodePngScanlines(const PngImageLayout& layout, PngIdatSource& source, uint8_t* bits,
                                   uint32_t rowBytes) {
    const uint32_t widest = ScanlineBytes(layout, layout.width) + 1;
    GlobalBlock lines = GlobalBlock::Allocate(PngScanlineBufferBytes(layout));
    BlockLock lock(lines.get());
    if (!lock.data()) Fail(kErrNoMemory);

    ScanlineInflater inflater(source);
    PngDecodeResult result;
    result.complete = true;
    if (layout.interlaced) {
        for (const Pass& pass : kAdam7)
            if (!DecodePass(layout, pass, inflater, lock.data(), widest, bits, rowBytes)) {
                result.complete = false;  // the later passes stay zero
                break;
            }
    } else {
        result.complete = DecodePass(layout, kWholeImage, inflater, lock.data(), widest, bits, rowBytes);
    }
    result.scanlineBytes = inflater.produced();
    return result;
}
