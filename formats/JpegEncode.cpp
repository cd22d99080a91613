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
#include "JpegSimd.h"
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
    alignas(16) float reciprocal[64];  // 1 / divisor, natural order
    int32_t prediction;
};

constexpr float kLargestCoded = 1023.0f;  // what the example tables can code

// Zig-zag position of each natural index.
struct ZigZagIndex {
    uint8_t of[64];
    ZigZagIndex() {
        for (int k = 0; k < 64; ++k) of[kZigZag[k]] = static_cast<uint8_t>(k);
    }
};
const ZigZagIndex kZigZagInverse;
const uint8_t* const kZigZagIndex = kZigZagInverse.of;

// One coefficient divided by its step, rounded half away from zero.
inline int16_t QuantiseOne(float value, float reciprocal) {
    float t = value * reciprocal;
    t = t < -kLargestCoded ? -kLargestCoded : t > kLargestCoded ? kLargestCoded : t;
    return static_cast<int16_t>(t + (t < 0 ? -0.5f : 0.5f));  // the cast truncates
}

// Quantises a transformed block into `out` (natural order); returns the
// mask of non-zero coefficients (bit n for natural index n).
uint64_t QuantisePlain(const float* block, const float* reciprocal, int16_t* out) {
    uint64_t nonZero = 0;
    for (int n = 0; n < 64; ++n) {
        out[n] = QuantiseOne(block[n], reciprocal[n]);
        nonZero |= uint64_t(out[n] != 0) << n;
    }
    return nonZero;
}

#if JPEG_HAVE_SSE2
uint64_t QuantiseSse2(const float* block, const float* reciprocal, int16_t* out) {
    const __m128 largest = _mm_set1_ps(kLargestCoded), sign = _mm_set1_ps(-0.0f), half = _mm_set1_ps(0.5f);
    const __m128i zero = _mm_setzero_si128();
    uint64_t nonZero = 0;
    for (int n = 0; n < 64; n += 16) {
        __m128i words[2];
        for (int half8 = 0; half8 < 2; ++half8) {
            __m128i quads[2];
            for (int q = 0; q < 2; ++q) {
                int at = n + half8 * 8 + q * 4;
                __m128 t = _mm_mul_ps(_mm_loadu_ps(block + at), _mm_loadu_ps(reciprocal + at));
                t = _mm_min_ps(_mm_max_ps(t, _mm_sub_ps(_mm_setzero_ps(), largest)), largest);
                t = _mm_add_ps(t, _mm_or_ps(_mm_and_ps(t, sign), half));
                quads[q] = _mm_cvttps_epi32(t);
            }
            words[half8] = _mm_packs_epi32(quads[0], quads[1]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + half8 * 8), words[half8]);
        }
        __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(words[0], zero), _mm_cmpeq_epi16(words[1], zero));
        nonZero |= uint64_t(~_mm_movemask_epi8(zeros) & 0xFFFF) << n;
    }
    return nonZero;
}
#endif

void QuantiseAndCode(float* block, EncodeComponent& c, JpegBitWriter& out) {
    ForwardDct(block);
    alignas(16) int16_t natural[64];
    uint64_t naturalNonZero =
#if JPEG_HAVE_SSE2
        JpegUsesSse2() ? QuantiseSse2(block, c.reciprocal, natural) :
#endif
                       QuantisePlain(block, c.reciprocal, natural);
    // The non-zero coefficients in zig-zag order; blocks are mostly sparse.
    int32_t quantised[64];  // valid where nonZero has a bit, and at 0
    uint64_t nonZero = 0;
    quantised[0] = natural[0];
    for (uint64_t rest = naturalNonZero; rest; rest &= rest - 1) {
        int n = __builtin_ctzll(rest);
        int k = kZigZagIndex[n];
        quantised[k] = natural[n];
        nonZero |= uint64_t(1) << k;
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
        int32_t v = quantised[k];
        int bits = BitLength(static_cast<uint32_t>(v < 0 ? -v : v));
        int symbol = run << 4 | bits;
        uint32_t value = static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << bits) - 1);
        out.put(uint32_t(c.ac->code[symbol]) << bits | value, c.ac->length[symbol] + bits);
    }
    if (previous < 63) out.put(c.ac->code[0x00], c.ac->length[0x00]);
}

// Reads the record's pixels for one MCU at a time, rows and columns past
// the edge repeating the last ones, and hands each pixel as blue, green,
// red bytes to the MCU builder.
class PixelSource {
public:
    PixelSource(const ImageRecord& r, const uint8_t* bits, const DibColor* table)
        : bits_(bits), rowBytes_(GetDibRowBytes(r)), width_(r.width), height_(r.height), depth_(r.bitCount) {
        if (table) memcpy(table_, table, sizeof table_);
    }

    int depth() const { return depth_; }
    // Top-down row y, clamped to the picture.
    const uint8_t* row(int y) const {
        int top = y < height_ ? y : height_ - 1;
        return bits_ + static_cast<size_t>(height_ - 1 - top) * rowBytes_;
    }
    // Column offsets for x0 .. x0 + count - 1, clamped.
    void columns(int x0, int count, int* out) const {
        for (int x = 0; x < count; ++x) out[x] = x0 + x < width_ ? x0 + x : width_ - 1;
    }
    // Blue, green, red of pixel `column` of a row.
    template <int Depth>
    const uint8_t* pixel(const uint8_t* row, int column) const {
        return Depth == 8 ? &table_[row[column]].blue : row + column * (Depth / 8);
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

void WriteHuffmanTable(ByteSink& out, uint8_t classAndNumber, const HuffmanSpec& codeSet) {
    WriteSegmentHeader(out, 0xC4, static_cast<uint16_t>(2 + 1 + 16 + codeSet.symbolCount));
    out.u8(classAndNumber);
    out.write(codeSet.counts, 16);
    out.write(codeSet.symbols, codeSet.symbolCount);
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
                c.reciprocal[n] = static_cast<float>(1.0 / ForwardDctDivisor(n, quant.entries[t][n]));
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
        int columns[8];
        source_.columns(x0, 8, columns);
        alignas(16) float block[64];
        for (int y = 0; y < 8; ++y) {
            const uint8_t* row = source_.row(y0 + y);
            for (int x = 0; x < 8; ++x)  // the table is grey: its red is the level
                block[y * 8 + x] = static_cast<float>(source_.pixel<8>(row, columns[x])[2] - 128);
        }
        QuantiseAndCode(block, components_[0], bits_);
    }

    void colourMcu(int x0, int y0) {
#if JPEG_HAVE_SSE2
        if (JpegUsesSse2() && source_.depth() != 8 && x0 + 16 <= width_)
            return source_.depth() == 24 ? colourMcuSse2<24>(x0, y0) : colourMcuSse2<32>(x0, y0);
#endif
        switch (source_.depth()) {
        case 8: return colourMcuOf<8>(x0, y0);
        case 24: return colourMcuOf<24>(x0, y0);
        default: return colourMcuOf<32>(x0, y0);
        }
    }

#if JPEG_HAVE_SSE2
    // Four pixels as blue, green, red, 1 bytes: the 1 brings in the rounding
    // of the sums below through its own factor.
    template <int Depth>
    static __m128i ExpandPixels(const uint8_t* p) {
        const __m128i one = _mm_set1_epi32(0x01000000);
        if (Depth == 32) {
            __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            return _mm_or_si128(_mm_and_si128(words, _mm_set1_epi32(0x00FFFFFF)), one);
        }
        // Twelve bytes: each 64-bit half takes two pixels, which then open up
        // to a word each.
        uint32_t last;
        memcpy(&last, p + 8, 4);
        __m128i bytes = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_cvtsi32_si128(int(last)));
        const __m128i firstSix = _mm_set_epi32(0, 0, 0xFFFF, -1), secondSix = _mm_set_epi32(0xFFFF, -1, 0, 0);
        __m128i halves = _mm_or_si128(_mm_and_si128(bytes, firstSix), _mm_and_si128(_mm_slli_si128(bytes, 2), secondSix));
        __m128i words = _mm_or_si128(_mm_and_si128(halves, _mm_set1_epi64x(0xFFFFFF)),
                                     _mm_and_si128(_mm_slli_epi64(halves, 8), _mm_set1_epi64x(0xFFFFFF00000000)));
        return _mm_or_si128(words, one);
    }

    // Two chrominance values from the sums of two 2 x 2 groups (blue, green,
    // red, 4 in 16-bit lanes each).
    static void StoreChroma(float* out, __m128i quads, __m128i factors) {
        __m128i products = _mm_madd_epi16(quads, factors);
        __m128i sums = _mm_srai_epi32(_mm_add_epi32(products, _mm_srli_epi64(products, 32)), 16);
        __m128 values = _mm_cvtepi32_ps(_mm_shuffle_epi32(sums, _MM_SHUFFLE(3, 1, 2, 0)));
        _mm_storel_pi(reinterpret_cast<__m64*>(out), values);
    }

    // colourMcuOf for an MCU whose 16 columns lie inside the picture, four
    // pixels at a time and straight from the rows: the same sums, so the same
    // values.
    template <int Depth>
    void colourMcuSse2(int x0, int y0) {
        alignas(16) float lum[4][64];
        alignas(16) float cb[64], cr[64];
        const __m128i zero = _mm_setzero_si128(), level = _mm_set1_epi32(128);
        const __m128i toY = _mm_setr_epi16(kYB, kYG, kYR, 1 << 13, kYB, kYG, kYR, 1 << 13);
        const __m128i toCb = _mm_setr_epi16(kCbB, kCbG, kCbR, 1 << 13, kCbB, kCbG, kCbR, 1 << 13);
        const __m128i toCr = _mm_setr_epi16(kCrB, kCrG, kCrR, 1 << 13, kCrB, kCrG, kCrR, 1 << 13);
        __m128i evenRow[4] = {zero, zero, zero, zero};  // sums of horizontal neighbours in the row above
        for (int y = 0; y < 16; ++y) {
            const uint8_t* p = source_.row(y0 + y) + x0 * (Depth / 8);
            for (int g = 0; g < 4; ++g, p += 4 * (Depth / 8)) {
                __m128i words = ExpandPixels<Depth>(p);
                __m128i low = _mm_unpacklo_epi8(words, zero), high = _mm_unpackhi_epi8(words, zero);
                __m128 firsts = _mm_castsi128_ps(_mm_madd_epi16(low, toY));
                __m128 seconds = _mm_castsi128_ps(_mm_madd_epi16(high, toY));
                __m128i sums = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(firsts, seconds, _MM_SHUFFLE(2, 0, 2, 0))),
                                             _mm_castps_si128(_mm_shuffle_ps(firsts, seconds, _MM_SHUFFLE(3, 1, 3, 1))));
                __m128i luma = _mm_sub_epi32(_mm_srai_epi32(sums, 14), level);
                _mm_storeu_ps(lum[(y / 8) * 2 + g / 2] + (y % 8) * 8 + (g % 2) * 4, _mm_cvtepi32_ps(luma));
                __m128i pairs = _mm_unpacklo_epi64(_mm_add_epi16(low, _mm_srli_si128(low, 8)),
                                                   _mm_add_epi16(high, _mm_srli_si128(high, 8)));
                if (y % 2 == 0) {
                    evenRow[g] = pairs;
                    continue;
                }
                __m128i quads = _mm_add_epi16(evenRow[g], pairs);
                StoreChroma(cb + (y / 2) * 8 + 2 * g, quads, toCb);
                StoreChroma(cr + (y / 2) * 8 + 2 * g, quads, toCr);
            }
        }
        for (int i = 0; i < 4; ++i) QuantiseAndCode(lum[i], components_[0], bits_);
        QuantiseAndCode(cb, components_[1], bits_);
        QuantiseAndCode(cr, components_[2], bits_);
    }
#endif

    // The MCU's pixels go into planes first, so that the conversion runs
    // over plain arrays the compiler can vectorise.
    template <int Depth>
    void colourMcuOf(int x0, int y0) {
        int columns[16];
        source_.columns(x0, 16, columns);
        alignas(16) int16_t red[256], green[256], blue[256];
        bool inside = Depth != 8 && columns[15] == x0 + 15;
        for (int y = 0; y < 16; ++y) {
            const uint8_t* row = source_.row(y0 + y);
            if (inside) {
                const uint8_t* p = row + x0 * (Depth / 8);
                for (int x = 0; x < 16; ++x, p += Depth / 8)
                    blue[y * 16 + x] = p[0], green[y * 16 + x] = p[1], red[y * 16 + x] = p[2];
                continue;
            }
            for (int x = 0; x < 16; ++x) {
                const uint8_t* p = source_.pixel<Depth>(row, columns[x]);
                blue[y * 16 + x] = p[0], green[y * 16 + x] = p[1], red[y * 16 + x] = p[2];
            }
        }
        alignas(16) float lum[4][64];
        alignas(16) float cb[64], cr[64];
        for (int y = 0; y < 16; ++y)
            for (int half = 0; half < 2; ++half) {
                float* out = lum[(y / 8) * 2 + half] + (y % 8) * 8;
                int at = y * 16 + half * 8;
                for (int x = 0; x < 8; ++x)
                    out[x] = static_cast<float>(
                        ((kYR * red[at + x] + kYG * green[at + x] + kYB * blue[at + x] + (1 << 13)) >> 14) - 128);
            }
        // Sums of each 2 x 2 group: rows in pairs first, then neighbours.
        alignas(16) int16_t pairR[128], pairG[128], pairB[128];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) {
                int at = y * 32 + x;
                pairR[y * 16 + x] = int16_t(red[at] + red[at + 16]);
                pairG[y * 16 + x] = int16_t(green[at] + green[at + 16]);
                pairB[y * 16 + x] = int16_t(blue[at] + blue[at + 16]);
            }
        // The average of four chrominance values, rounded once.
        for (int i = 0; i < 64; ++i) {
            int r = pairR[2 * i] + pairR[2 * i + 1];
            int g = pairG[2 * i] + pairG[2 * i + 1];
            int b = pairB[2 * i] + pairB[2 * i + 1];
            cb[i] = static_cast<float>((kCbR * r + kCbG * g + kCbB * b + (1 << 15)) >> 16);
            cr[i] = static_cast<float>((kCrR * r + kCrG * g + kCrB * b + (1 << 15)) >> 16);
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
