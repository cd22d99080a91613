// Baseline JFIF writer: 8-bit records (grey palette as one component, any
// other palette as colour) and 24- and 32-bit records, 4:2:0 colour, the
// example Huffman tables, no restart markers.
#include "JpegEncode.h"

#include <cstring>
#include <memory>

#include "Codecs.h"
#include "DibHelpers.h"
#include "JpegDct.h"
#include "JpegHuffman.h"
#include "JpegTables.h"

void SetJpegQuality(int quality, JpegQuantTables& tables) {
    int q = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    int factor = q < 50 ? 5000 / q : 200 - 2 * q;
    const uint8_t* bases[2] = {kLuminanceQuant, kChrominanceQuant};
    for (int t = 0; t < 2; ++t) {
        tables.sixteenBit[t] = false;
        for (int k = 0; k < 64; ++k) {
            long entry = (bases[t][k] * static_cast<long>(factor) + 50) / 100;
            entry = entry < 1 ? 1 : entry > 32767 ? 32767 : entry;
            tables.entries[t][k] = static_cast<uint16_t>(entry);
            if (entry >= 256) tables.sixteenBit[t] = true;
        }
    }
}

namespace {

constexpr size_t kOutputBuffer = 8096;
constexpr size_t kFlushAbove = 8079;

// Packs codes most significant bit first, stuffing a 0x00 after each 0xFF.
class JpegBitWriter {
public:
    explicit JpegBitWriter(ByteSink& out) : out_(out) {}

    // Up to 32 bits at a time.
    void put(uint32_t code, int length) {
        accumulator_ = (accumulator_ << length) | code;
        count_ += length;
        if (count_ < 32) return;
        count_ -= 32;
        uint32_t word = static_cast<uint32_t>(accumulator_ >> count_);
        uint8_t* at = buffer_ + used_;
        at[0] = uint8_t(word >> 24), at[1] = uint8_t(word >> 16), at[2] = uint8_t(word >> 8), at[3] = uint8_t(word);
        used_ += 4;
        // A 0xFF byte anywhere in the word: redo it byte by byte with stuffing.
        uint32_t inverted = ~word;
        if ((inverted - 0x01010101u) & ~inverted & 0x80808080u) {
            used_ -= 4;
            for (int shift = 24; shift >= 0; shift -= 8) {
                uint8_t byte = uint8_t(word >> shift);
                buffer_[used_++] = byte;
                if (byte == 0xFF) buffer_[used_++] = 0;
            }
        }
        if (used_ > kFlushAbove) flush();
    }
    // Pads the last byte with 1-bits and writes what is buffered.
    void finish() {
        int pad = (8 - count_ % 8) % 8;
        if (pad) put((1u << pad) - 1, pad);
        for (count_ -= 8; count_ >= 0; count_ -= 8) {
            uint8_t byte = uint8_t(accumulator_ >> count_);
            buffer_[used_++] = byte;
            if (byte == 0xFF) buffer_[used_++] = 0;
        }
        count_ = 0;
        flush();
    }

private:
    void flush() {
        out_.write(buffer_, used_);
        used_ = 0;
    }

    ByteSink& out_;
    uint64_t accumulator_ = 0;
    int count_ = 0;
    uint8_t buffer_[kOutputBuffer + 8];
    size_t used_ = 0;
};

inline int BitLength(uint32_t magnitude) { return magnitude ? 32 - __builtin_clz(magnitude) : 0; }

struct EncodeComponent {
    const HuffmanEncoder* dc;
    const HuffmanEncoder* ac;
    uint32_t reciprocal[64];  // 2^32 / divisor, natural order
    int32_t prediction;
};

constexpr uint32_t kLargestCoded = 1023;

// Zig-zag position of each natural index.
struct ZigZagIndex {
    uint8_t of[64];
    ZigZagIndex() {
        for (int k = 0; k < 64; ++k) of[kZigZag[k]] = static_cast<uint8_t>(k);
    }
};
const ZigZagIndex kZigZagInverse;
const uint8_t* const kZigZagIndex = kZigZagInverse.of;

void QuantiseAndCode(int32_t* block, EncodeComponent& c, JpegBitWriter& out) {
    ForwardDct(block);
    // Quantised coefficients in natural order (a loop the compiler can
    // vectorise), then a bit in zig-zag order for each non-zero one.
    int32_t quantised[64];
    for (int n = 0; n < 64; ++n) {
        int32_t v = block[n];
        uint32_t magnitude = static_cast<uint32_t>(v < 0 ? -v : v);
        uint32_t q = static_cast<uint32_t>((static_cast<uint64_t>(magnitude) * c.reciprocal[n] + 0x80000000u) >> 32);
        q = q > kLargestCoded ? kLargestCoded : q;  // what the example tables can code
        quantised[n] = v < 0 ? -int32_t(q) : int32_t(q);
    }
    uint64_t nonZero = 0;
    for (int row = 0; row < 64; row += 8) {
        const int32_t* r = quantised + row;
        if ((r[0] | r[1] | r[2] | r[3] | r[4] | r[5] | r[6] | r[7]) == 0) continue;
        for (int n = row; n < row + 8; ++n)
            if (quantised[n]) nonZero |= uint64_t(1) << kZigZagIndex[n];
    }
    int32_t diff = quantised[0] - c.prediction;
    c.prediction = quantised[0];
    int size = BitLength(static_cast<uint32_t>(diff < 0 ? -diff : diff));
    uint32_t extra = static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << size) - 1);
    out.put(uint32_t(c.dc->code[size]) << size | extra, c.dc->length[size] + size);

    int previous = 0;
    for (uint64_t rest = nonZero & ~uint64_t(1); rest; rest &= rest - 1) {
        int k = __builtin_ctzll(rest);
        int run = k - previous - 1;
        previous = k;
        for (; run >= 16; run -= 16) out.put(c.ac->code[0xF0], c.ac->length[0xF0]);
        int32_t v = quantised[kZigZag[k]];
        int bits = BitLength(static_cast<uint32_t>(v < 0 ? -v : v));
        int symbol = run << 4 | bits;
        uint32_t value = static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << bits) - 1);
        out.put(uint32_t(c.ac->code[symbol]) << bits | value, c.ac->length[symbol] + bits);
    }
    if (previous < 63) out.put(c.ac->code[0x00], c.ac->length[0x00]);
}

// The pixels of one MCU as RGB planes, rows and columns past the edge
// repeating the last ones.
struct McuPixels {
    int red[16][16], green[16][16], blue[16][16];
};

class PixelSource {
public:
    PixelSource(const ImageRecord& r, const uint8_t* bits, const DibColor* table)
        : bits_(bits), rowBytes_(GetDibRowBytes(r)), width_(r.width), height_(r.height), depth_(r.bitCount) {
        if (table) memcpy(table_, table, sizeof table_);
    }

    void gather(int x0, int y0, int size, McuPixels& out) const {
        switch (depth_) {
        case 8: return gatherDepth<8>(x0, y0, size, out);
        case 24: return gatherDepth<24>(x0, y0, size, out);
        default: return gatherDepth<32>(x0, y0, size, out);
        }
    }

private:
    template <int Depth>
    void gatherDepth(int x0, int y0, int size, McuPixels& out) const {
        int columns[16];
        for (int x = 0; x < size; ++x) columns[x] = x0 + x < width_ ? x0 + x : width_ - 1;
        for (int y = 0; y < size; ++y) {
            int top = y0 + y < height_ ? y0 + y : height_ - 1;
            const uint8_t* row = bits_ + static_cast<size_t>(height_ - 1 - top) * rowBytes_;
            for (int x = 0; x < size; ++x) {
                const uint8_t* p;
                if (Depth == 8) {
                    p = &table_[row[columns[x]]].blue;
                } else {
                    p = row + columns[x] * (Depth / 8);
                }
                out.blue[y][x] = p[0];
                out.green[y][x] = p[1];
                out.red[y][x] = p[2];
            }
        }
    }

    const uint8_t* bits_;
    uint32_t rowBytes_;
    int width_, height_, depth_;
    DibColor table_[256] = {};
};

void WriteSegmentHeader(ByteSink& out, uint8_t marker, uint16_t length) {
    out.u8(0xFF);
    out.u8(marker);
    out.u16be(length);
}

void WriteHuffmanTable(ByteSink& out, uint8_t classAndNumber, const HuffmanSpec& spec) {
    WriteSegmentHeader(out, 0xC4, static_cast<uint16_t>(2 + 1 + 16 + spec.symbolCount));
    out.u8(classAndNumber);
    out.write(spec.counts, 16);
    out.write(spec.symbols, spec.symbolCount);
}

void WriteHeaders(ByteSink& out, const JpegQuantTables& quant, int width, int height, int components) {
    out.u8(0xFF);
    out.u8(0xD8);
    WriteSegmentHeader(out, 0xE0, 16);
    out.write("JFIF", 5);
    out.u8(1);
    out.u8(1);
    out.u8(0);
    out.u16be(1);
    out.u16be(1);
    out.u8(0);
    out.u8(0);
    for (int t = 0; t < 2; ++t) {
        bool wide = quant.sixteenBit[t];
        WriteSegmentHeader(out, 0xDB, static_cast<uint16_t>(3 + 64 * (wide ? 2 : 1)));
        out.u8(static_cast<uint8_t>((wide ? 0x10 : 0) | t));
        for (int i = 0; i < 64; ++i) {
            uint16_t entry = quant.entries[t][kZigZag[i]];
            if (wide) out.u16be(entry); else out.u8(static_cast<uint8_t>(entry));
        }
    }
    bool extended = quant.sixteenBit[0] || quant.sixteenBit[1];
    WriteSegmentHeader(out, extended ? 0xC1 : 0xC0, static_cast<uint16_t>(8 + 3 * components));
    out.u8(8);
    out.u16be(static_cast<uint16_t>(height));
    out.u16be(static_cast<uint16_t>(width));
    out.u8(static_cast<uint8_t>(components));
    for (int i = 0; i < components; ++i) {
        out.u8(static_cast<uint8_t>(i + 1));
        out.u8(components == 3 && i == 0 ? 0x22 : 0x11);
        out.u8(i == 0 ? 0 : 1);
    }
    WriteHuffmanTable(out, 0x00, kDcLuminanceSpec);
    WriteHuffmanTable(out, 0x10, kAcLuminanceSpec);
    WriteHuffmanTable(out, 0x01, kDcChrominanceSpec);
    WriteHuffmanTable(out, 0x11, kAcChrominanceSpec);
    WriteSegmentHeader(out, 0xDA, static_cast<uint16_t>(6 + 2 * components));
    out.u8(static_cast<uint8_t>(components));
    for (int i = 0; i < components; ++i) {
        out.u8(static_cast<uint8_t>(i + 1));
        out.u8(i == 0 ? 0x00 : 0x11);
    }
    out.u8(0);
    out.u8(63);
    out.u8(0);
}

bool IsGreyTable(const DibColor* table) {
    for (int i = 0; i < 256; ++i)
        if (table[i].red != table[i].green || table[i].green != table[i].blue) return false;
    return true;
}

// Fixed-point colour conversion, 14 fraction bits.
constexpr int32_t kYR = 4899, kYG = 9617, kYB = 1868;
constexpr int32_t kCbR = -2764, kCbG = -5428, kCbB = 8192;
constexpr int32_t kCrR = 8192, kCrG = -6860, kCrB = -1332;

class Encoder {
public:
    Encoder(const ImageRecord& r, const PixelSource& source, bool grey, const JpegQuantTables& quant, ByteSink& out)
        : width_(r.width), height_(r.height), grey_(grey), source_(source), bits_(out) {
        luminanceDc_.build(kDcLuminanceSpec);
        luminanceAc_.build(kAcLuminanceSpec);
        chrominanceDc_.build(kDcChrominanceSpec);
        chrominanceAc_.build(kAcChrominanceSpec);
        for (int i = 0; i < 3; ++i) {
            EncodeComponent& c = components_[i];
            int t = i == 0 ? 0 : 1;
            c.dc = t ? &chrominanceDc_ : &luminanceDc_;
            c.ac = t ? &chrominanceAc_ : &luminanceAc_;
            c.prediction = 0;
            for (int n = 0; n < 64; ++n)
                c.reciprocal[n] = static_cast<uint32_t>(4294967296.0 / ForwardDctDivisor(n, quant.entries[t][n]) + 0.5);
        }
    }

    void run() {
        int mcu = grey_ ? 8 : 16;
        for (int y = 0; y < height_; y += mcu)
            for (int x = 0; x < width_; x += mcu) grey_ ? greyMcu(x, y) : colourMcu(x, y);
        bits_.finish();
    }

private:
    void greyMcu(int x0, int y0) {
        source_.gather(x0, y0, 8, pixels_);
        int32_t block[64];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) block[y * 8 + x] = pixels_.red[y][x] - 128;  // the table is grey
        QuantiseAndCode(block, components_[0], bits_);
    }

    void colourMcu(int x0, int y0) {
        source_.gather(x0, y0, 16, pixels_);
        const McuPixels& p = pixels_;
        int32_t lum[4][64], cb[64], cr[64];
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                int32_t luma = (kYR * p.red[y][x] + kYG * p.green[y][x] + kYB * p.blue[y][x] + (1 << 13)) >> 14;
                lum[(y / 8) * 2 + x / 8][(y % 8) * 8 + x % 8] = luma - 128;
            }
        for (int y = 0; y < 16; y += 2)
            for (int x = 0; x < 16; x += 2) {
                int sumR = p.red[y][x] + p.red[y][x + 1] + p.red[y + 1][x] + p.red[y + 1][x + 1];
                int sumG = p.green[y][x] + p.green[y][x + 1] + p.green[y + 1][x] + p.green[y + 1][x + 1];
                int sumB = p.blue[y][x] + p.blue[y][x + 1] + p.blue[y + 1][x] + p.blue[y + 1][x + 1];
                // The average of four chrominance values, rounded once.
                int at = (y / 2) * 8 + x / 2;
                cb[at] = (kCbR * sumR + kCbG * sumG + kCbB * sumB + (1 << 15)) >> 16;
                cr[at] = (kCrR * sumR + kCrG * sumG + kCrB * sumB + (1 << 15)) >> 16;
            }
        for (int i = 0; i < 4; ++i) QuantiseAndCode(lum[i], components_[0], bits_);
        QuantiseAndCode(cb, components_[1], bits_);
        QuantiseAndCode(cr, components_[2], bits_);
    }

    int width_, height_;
    bool grey_;
    const PixelSource& source_;
    McuPixels pixels_;
    JpegBitWriter bits_;
    HuffmanEncoder luminanceDc_, luminanceAc_, chrominanceDc_, chrominanceAc_;
    EncodeComponent components_[3];
};

}  // namespace

void WriteJpegFile(const ImageRecord& record, ByteSink& out) {
    int depth = record.bitCount;
    if ((depth != 8 && depth != 24 && depth != 32) || !RecordBlocksAreSound(record) || record.width > 65535 ||
        record.height > 65535)
        Fail(kErrJpg);
    JpegQuantTables quant;
    SetJpegQuality(kJpegWriteQuality, quant);

    BlockLock info(record.hInfo), bits(record.hBits);
    const DibColor* table = depth == 8 ? info.as<DibColor>() + 10 : nullptr;
    bool grey = table && IsGreyTable(table);
    std::unique_ptr<PixelSource> source(new PixelSource(record, bits.data(), table));
    WriteHeaders(out, quant, record.width, record.height, grey ? 1 : 3);
    std::unique_ptr<Encoder> encoder(new Encoder(record, *source, grey, quant, out));
    encoder->run();
    out.u8(0xFF);
    out.u8(0xD9);
}
