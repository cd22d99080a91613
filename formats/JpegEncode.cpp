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

    void put(uint32_t code, int length) {
        accumulator_ = (accumulator_ << length) | code;
        count_ += length;
        while (count_ >= 8) {
            count_ -= 8;
            uint8_t byte = static_cast<uint8_t>(accumulator_ >> count_);
            buffer_[used_++] = byte;
            if (byte == 0xFF) buffer_[used_++] = 0;
        }
        if (used_ > kFlushAbove) flush();
    }
    // Pads the last byte with 1-bits and writes what is buffered.
    void finish() {
        if (count_ > 0) put((1u << (8 - count_)) - 1, 8 - count_);
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

int BitLength(uint32_t magnitude) {
    int bits = 0;
    while (magnitude) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

struct EncodeComponent {
    const HuffmanEncoder* dc;
    const HuffmanEncoder* ac;
    uint32_t reciprocal[64];  // 2^32 / divisor, natural order
    int32_t prediction;
};

void QuantiseAndCode(int32_t* block, EncodeComponent& c, JpegBitWriter& out) {
    ForwardDct(block);
    int32_t coefficients[64];
    for (int i = 0; i < 64; ++i) {
        int n = kZigZag[i];
        int32_t v = block[n];
        uint32_t magnitude = static_cast<uint32_t>(v < 0 ? -v : v);
        int32_t q = static_cast<int32_t>((static_cast<uint64_t>(magnitude) * c.reciprocal[n] + 0x80000000u) >> 32);
        coefficients[i] = v < 0 ? -q : q;
    }
    int32_t diff = coefficients[0] - c.prediction;
    c.prediction = coefficients[0];
    uint32_t magnitude = static_cast<uint32_t>(diff < 0 ? -diff : diff);
    int size = BitLength(magnitude);
    out.put(c.dc->code[size], c.dc->length[size]);
    if (size) out.put(static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << size) - 1), size);

    int last = 63;
    while (last > 0 && coefficients[last] == 0) --last;
    int run = 0;
    for (int k = 1; k <= last; ++k) {
        int32_t v = coefficients[k];
        if (v == 0) {
            ++run;
            continue;
        }
        for (; run >= 16; run -= 16) out.put(c.ac->code[0xF0], c.ac->length[0xF0]);
        uint32_t m = static_cast<uint32_t>(v < 0 ? -v : v);
        int bits = BitLength(m);
        int symbol = run << 4 | bits;
        out.put(c.ac->code[symbol], c.ac->length[symbol]);
        out.put(static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << bits) - 1), bits);
        run = 0;
    }
    if (last < 63) out.put(c.ac->code[0x00], c.ac->length[0x00]);
}

// Source pixels as RGB, whatever the record's depth.
class PixelSource {
public:
    explicit PixelSource(const ImageRecord& r, const uint8_t* bits, const DibColor* table)
        : bits_(bits), rowBytes_(GetDibRowBytes(r)), width_(r.width), height_(r.height), depth_(r.bitCount) {
        if (table) memcpy(table_, table, sizeof table_);
    }
    // Top-down row y (clamped to the picture), pixel x (clamped).
    void rgb(int x, int y, int& red, int& green, int& blue) const {
        if (x >= width_) x = width_ - 1;
        if (y >= height_) y = height_ - 1;
        const uint8_t* row = bits_ + static_cast<size_t>(height_ - 1 - y) * rowBytes_;
        if (depth_ == 8) {
            const DibColor& c = table_[row[x]];
            red = c.red, green = c.green, blue = c.blue;
            return;
        }
        const uint8_t* p = row + x * (depth_ / 8);
        blue = p[0], green = p[1], red = p[2];
    }

private:
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
            for (int k = 0; k < 64; ++k)
                c.reciprocal[k] = static_cast<uint32_t>(4294967296.0 / ForwardDctDivisor(k, quant.entries[t][k]) + 0.5);
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
        int32_t block[64];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                int red, green, blue;
                source_.rgb(x0 + x, y0 + y, red, green, blue);
                block[y * 8 + x] = red - 128;  // the table is grey: red = green = blue
            }
        QuantiseAndCode(block, components_[0], bits_);
    }

    void colourMcu(int x0, int y0) {
        int32_t lum[4][64], cb[64], cr[64];
        for (int y = 0; y < 16; y += 2) {
            for (int x = 0; x < 16; x += 2) {
                int sumR = 0, sumG = 0, sumB = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        int red, green, blue, px = x + dx, py = y + dy;
                        source_.rgb(x0 + px, y0 + py, red, green, blue);
                        int32_t luma = (kYR * red + kYG * green + kYB * blue + (1 << 13)) >> 14;
                        lum[(py / 8) * 2 + px / 8][(py % 8) * 8 + px % 8] = luma - 128;
                        sumR += red, sumG += green, sumB += blue;
                    }
                // The average of four chrominance values, rounded once.
                int at = (y / 2) * 8 + x / 2;
                cb[at] = ((kCbR * sumR + kCbG * sumG + kCbB * sumB + (1 << 15)) >> 16);
                cr[at] = ((kCrR * sumR + kCrG * sumG + kCrB * sumB + (1 << 15)) >> 16);
            }
        }
        for (int i = 0; i < 4; ++i) QuantiseAndCode(lum[i], components_[0], bits_);
        QuantiseAndCode(cb, components_[1], bits_);
        QuantiseAndCode(cr, components_[2], bits_);
    }

    int width_, height_;
    bool grey_;
    const PixelSource& source_;
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
