// Baseline JFIF writer: 8-bit records (grey palette as one component, any
// other palette as colour) and 24- and 32-bit records, 4:2:0 colour, the
// example Huffman tables, no restart markers.
#include "JpegEncode.h"

#include <cstring>
#include <memory>
#include <vector>

#include "Codecs.h"
#include "DibHelpers.h"
#include "JpegDct.h"
#include "JpegEncodeLoops.h"
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

constexpr size_t kOutputBuffer = 8192;
// The most one block can bring, stuffing included: 64 codes of at most 27
// bits (and three runs of 16 zeros) and the bits held before it, every byte
// doubled.
constexpr size_t kBlockRoom = 512;

// The packer's word, 64 bits on every build (i686 too), so that all write
// through the one path the tests take.
constexpr int kPackBits = 64;

// Packs codes most significant bit first into a buffer with room for them,
// stuffing a 0x00 after each 0xFF. Codes gather in a word that is written
// whole when the next code does not fit, so that the one branch of a code
// is taken only every few codes. A block is coded with a copy of this in
// registers (the byte stores could touch anything in memory).
struct BitPacker {
    uint64_t bits;  // the last kPackBits - room bits put, in the low bits
    int room;       // 1 to kPackBits
    uint8_t* at;

    // Up to 27 bits at a time (the longest code with its extra bits), with
    // nothing above them in `code`.
    void put(uint32_t code, int length) {
        if (length < room) {
            bits = bits << length | code;
            room -= length;
            return;
        }
        int rest = length - room;  // the code's bits that begin the next word
        writeWord(bits << room | code >> rest);
        bits = code;  // the bits above `rest` are written: they will be shifted out
        room = kPackBits - rest;
    }
    void writeWord(uint64_t word) {
        uint64_t bigEndian = __builtin_bswap64(word);
        memcpy(at, &bigEndian, sizeof bigEndian);
        at += sizeof word;
        // A 0xFF byte anywhere in the word: redo it byte by byte with stuffing.
        constexpr uint64_t kOnes = ~uint64_t(0) / 0xFF;
        uint64_t inverted = ~word;
        if ((inverted - kOnes) & ~inverted & kOnes << 7) {
            at -= sizeof word;
            for (int shift = kPackBits - 8; shift >= 0; shift -= 8) putByte(uint8_t(word >> shift));
        }
    }
    void putByte(uint8_t byte) {
        *at++ = byte;
        if (byte == 0xFF) *at++ = 0;
    }
};

class JpegBitWriter {
public:
    explicit JpegBitWriter(ByteSink& out) : out_(out) {}

    // The packer for one block, with room for it.
    BitPacker begin() {
        if (used_ > kOutputBuffer - kBlockRoom) flush();
        return {bits_, room_, buffer_ + used_};
    }
    void end(const BitPacker& packer) {
        bits_ = packer.bits;
        room_ = packer.room;
        used_ = static_cast<size_t>(packer.at - buffer_);
    }
    // Pads the last byte with 1-bits and writes what is buffered.
    void finish() {
        BitPacker packer = begin();
        int pad = (8 - (kPackBits - packer.room) % 8) % 8;
        if (pad) packer.put((1u << pad) - 1, pad);
        for (int shift = kPackBits - packer.room - 8; shift >= 0; shift -= 8) packer.putByte(uint8_t(packer.bits >> shift));
        packer.room = kPackBits;
        end(packer);
        flush();
    }

private:
    void flush() {
        out_.write(buffer_, used_);
        used_ = 0;
    }

    ByteSink& out_;
    uint64_t bits_ = 0;
    int room_ = kPackBits;
    uint8_t buffer_[kOutputBuffer];
    size_t used_ = 0;
};

// 0 for 0; without a branch, which a block's first coefficient would mispredict.
inline int BitLength(uint32_t magnitude) { return 31 - __builtin_clz(magnitude << 1 | 1); }

struct EncodeComponent {
    const HuffmanEncoder* dc;
    const HuffmanEncoder* ac;
    alignas(16) float reciprocal[64];  // 1 / divisor, natural order
    int32_t prediction;
};

// A mask of natural indexes as the mask of their zig-zag positions, a
// byte (a row of the block) at a time.
struct ZigZagMasks {
    uint64_t ofRow[8][256];
    ZigZagMasks() {
        uint8_t zigZagOf[64];
        for (int k = 0; k < 64; ++k) zigZagOf[kZigZag[k]] = static_cast<uint8_t>(k);
        for (int row = 0; row < 8; ++row)
            for (int bits = 0; bits < 256; ++bits) {
                uint64_t mask = 0;
                for (int x = 0; x < 8; ++x)
                    if (bits >> x & 1) mask |= uint64_t(1) << zigZagOf[row * 8 + x];
                ofRow[row][bits] = mask;
            }
    }
    uint64_t operator()(uint64_t natural) const {
        uint64_t zigZag = 0;
        for (int row = 0; row < 8; ++row) zigZag |= ofRow[row][natural >> (8 * row) & 0xFF];
        return zigZag;
    }
};
const ZigZagMasks kZigZagMask;

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
// Clamped after rounding, eight at a time as words: a value past the
// largest rounds to at least it, so it is clamped to it as before.
uint64_t QuantiseSse2(const float* block, const float* reciprocal, int16_t* out) {
    const __m128 sign = _mm_set1_ps(-0.0f), half = _mm_set1_ps(0.5f);
    const __m128i largest = _mm_set1_epi16(int16_t(kLargestCoded)), zero = _mm_setzero_si128();
    uint64_t nonZero = 0;
    for (int n = 0; n < 64; n += 16) {
        __m128i words[2];
        for (int half8 = 0; half8 < 2; ++half8) {
            __m128i quads[2];
            for (int q = 0; q < 2; ++q) {
                int at = n + half8 * 8 + q * 4;
                __m128 t = _mm_mul_ps(_mm_loadu_ps(block + at), _mm_loadu_ps(reciprocal + at));
                t = _mm_add_ps(t, _mm_or_ps(_mm_and_ps(t, sign), half));
                quads[q] = _mm_cvttps_epi32(t);
            }
            words[half8] = _mm_packs_epi32(quads[0], quads[1]);
            words[half8] = _mm_min_epi16(_mm_max_epi16(words[half8], _mm_sub_epi16(zero, largest)), largest);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + half8 * 8), words[half8]);
        }
        __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(words[0], zero), _mm_cmpeq_epi16(words[1], zero));
        nonZero |= uint64_t(~_mm_movemask_epi8(zeros) & 0xFFFF) << n;
    }
    return nonZero;
}
#endif

// The samples of a block as floats.
void LoadBlock(const int16_t* samples, int stride, float* block) {
    for (int y = 0; y < 8; ++y, samples += stride)
        for (int x = 0; x < 8; ++x) block[y * 8 + x] = samples[x];
}

}  // namespace

uint64_t TransformBlockPlain(const int16_t* samples, int stride, const float* reciprocal, int16_t* out) {
    float block[64];
    LoadBlock(samples, stride, block);
    ForwardDctPlain(block);
    return QuantisePlain(block, reciprocal, out);
}

#if JPEG_HAVE_SSE2
uint64_t TransformBlockSse2(const int16_t* samples, int stride, const float* reciprocal, int16_t* out) {
    alignas(16) float block[64];
    ForwardDctSamplesSse2(samples, stride, block);
    return QuantiseSse2(block, reciprocal, out);
}
#endif

namespace {

// Codes a quantised block (natural order, with the mask of its non-zero
// coefficients).
void CodeBlock(const int16_t* natural, uint64_t naturalNonZero, EncodeComponent& c, JpegBitWriter& writer) {
    uint64_t nonZero = kZigZagMask(naturalNonZero);  // blocks are mostly sparse
    BitPacker out = writer.begin();
    int32_t diff = natural[0] - c.prediction;
    c.prediction = natural[0];
    int size = BitLength(static_cast<uint32_t>(diff < 0 ? -diff : diff));
    uint32_t extra = static_cast<uint32_t>(diff + (diff >> 31)) & ((1u << size) - 1);  // diff - 1 when negative
    out.put(uint32_t(c.dc->code[size]) << size | extra, c.dc->length[size] + size);

    const uint16_t* codes = c.ac->code;
    const uint8_t* lengths = c.ac->length;
    int previous = 0;
    for (uint64_t rest = nonZero & ~uint64_t(1); rest; rest &= rest - 1) {
        int k = __builtin_ctzll(rest);
        int run = k - previous - 1;
        previous = k;
        for (; run >= 16; run -= 16) out.put(codes[0xF0], lengths[0xF0]);
        int32_t v = natural[kZigZag[k]];
        int bits = 32 - __builtin_clz(static_cast<uint32_t>(v < 0 ? -v : v));  // v is not 0
        int symbol = run << 4 | bits;
        uint32_t value = static_cast<uint32_t>(v + (v >> 31)) & ((1u << bits) - 1);  // v - 1 when negative
        out.put(uint32_t(codes[symbol]) << bits | value, lengths[symbol] + bits);
    }
    if (previous < 63) out.put(codes[0x00], lengths[0x00]);
    writer.end(out);
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

// Luminance - 128 of a pixel given as blue, green, red.
inline int16_t Luminance(const uint8_t* p) {
    return int16_t(((kYR * p[2] + kYG * p[1] + kYB * p[0] + (1 << 13)) >> 14) - 128);
}

// Converts the pixels from `from` to `to` (even) of a row pair, columns past
// the picture repeating its last one.
template <int Depth>
void ConvertRowPairPlain(const PixelSource& source, const uint8_t* top, const uint8_t* bottom, int from, int to,
                         int16_t* lumTop, int16_t* lumBottom, int16_t* cb, int16_t* cr) {
    int columns[2];
    for (int x = from; x < to; x += 2) {
        source.columns(x, 2, columns);
        const uint8_t* p[4] = {source.pixel<Depth>(top, columns[0]), source.pixel<Depth>(top, columns[1]),
                               source.pixel<Depth>(bottom, columns[0]), source.pixel<Depth>(bottom, columns[1])};
        lumTop[x] = Luminance(p[0]), lumTop[x + 1] = Luminance(p[1]);
        lumBottom[x] = Luminance(p[2]), lumBottom[x + 1] = Luminance(p[3]);
        // The average of four chrominance values, rounded once.
        int b = p[0][0] + p[1][0] + p[2][0] + p[3][0];
        int g = p[0][1] + p[1][1] + p[2][1] + p[3][1];
        int r = p[0][2] + p[1][2] + p[2][2] + p[3][2];
        cb[x / 2] = int16_t((kCbR * r + kCbG * g + kCbB * b + (1 << 15)) >> 16);
        cr[x / 2] = int16_t((kCrR * r + kCrG * g + kCrB * b + (1 << 15)) >> 16);
    }
}

#if JPEG_HAVE_SSE2
// Four pixels as words: blue, green, red and a fourth word of no meaning
// (its factors are 0), pixels 0 and 1 in `low`, 2 and 3 in `high`.
struct PixelWords {
    __m128i low, high;
};

// 24-bit pixels are read 16 bytes at a time: four bytes past the fourth
// pixel, which the caller leaves room for.
template <int Depth>
PixelWords ExpandPixels(const uint8_t* p) {
    const __m128i zero = _mm_setzero_si128();
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (Depth == 32) return {_mm_unpacklo_epi8(bytes, zero), _mm_unpackhi_epi8(bytes, zero)};
    __m128i first = _mm_unpacklo_epi8(bytes, zero);                         // pixel 0 from word 0, 1 from word 3
    __m128i second = _mm_unpacklo_epi8(_mm_srli_si128(bytes, 6), zero);     // pixel 2 from word 0, 3 from word 3
    return {_mm_unpacklo_epi64(first, _mm_srli_si128(first, 6)), _mm_unpacklo_epi64(second, _mm_srli_si128(second, 6))};
}

// The first and second of each pixel's two products added: four sums from
// the products of pixels 0, 1 and of 2, 3.
inline __m128i AddPairs(__m128i firsts, __m128i seconds) {
    __m128 a = _mm_castsi128_ps(firsts), b = _mm_castsi128_ps(seconds);
    return _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))),
                         _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))));
}

// Four pixels of a row pair: luminance - 128 (times 2^14) of each row and
// the two 2 x 2 groups' chrominance as cb 0 1, cr 0 1.
struct Four {
    __m128i top, bottom, chroma;
};

// Rounding of the luminance sums with the level shift folded in:
// (s + 2^13 - 128 * 2^14) >> 14 is ((s + 2^13) >> 14) - 128.
constexpr int32_t kLuminanceOffset = (1 << 13) - (128 << 14);

template <int Depth>
inline Four ConvertFour(const uint8_t* top, const uint8_t* bottom) {
    const __m128i toY = _mm_setr_epi16(kYB, kYG, kYR, 0, kYB, kYG, kYR, 0);
    const __m128i toCb = _mm_setr_epi16(kCbB, kCbG, kCbR, 0, kCbB, kCbG, kCbR, 0);
    const __m128i toCr = _mm_setr_epi16(kCrB, kCrG, kCrR, 0, kCrB, kCrG, kCrR, 0);
    const __m128i luminanceOffset = _mm_set1_epi32(kLuminanceOffset), chromaRounding = _mm_set1_epi32(1 << 15);
    PixelWords upper = ExpandPixels<Depth>(top), lower = ExpandPixels<Depth>(bottom);
    Four out;
    out.top = _mm_add_epi32(AddPairs(_mm_madd_epi16(upper.low, toY), _mm_madd_epi16(upper.high, toY)), luminanceOffset);
    out.bottom = _mm_add_epi32(AddPairs(_mm_madd_epi16(lower.low, toY), _mm_madd_epi16(lower.high, toY)), luminanceOffset);
    // The 2 x 2 groups: rows added, then neighbours.
    __m128i low = _mm_add_epi16(upper.low, lower.low), high = _mm_add_epi16(upper.high, lower.high);
    __m128i quads = _mm_unpacklo_epi64(_mm_add_epi16(low, _mm_srli_si128(low, 8)),
                                       _mm_add_epi16(high, _mm_srli_si128(high, 8)));
    __m128 b = _mm_castsi128_ps(_mm_madd_epi16(quads, toCb)), r = _mm_castsi128_ps(_mm_madd_epi16(quads, toCr));
    __m128i sums = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(b, r, _MM_SHUFFLE(2, 0, 2, 0))),
                                 _mm_castps_si128(_mm_shuffle_ps(b, r, _MM_SHUFFLE(3, 1, 3, 1))));
    out.chroma = _mm_srai_epi32(_mm_add_epi32(sums, chromaRounding), 16);
    return out;
}

// Eight luminance sums of one row (pixels 0-3, 4-7) as samples - 128.
inline void StoreLuminance(int16_t* out, __m128i first, __m128i second) {
    __m128i words = _mm_packs_epi32(_mm_srai_epi32(first, 14), _mm_srai_epi32(second, 14));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), words);
}

template <int Depth>
void ConvertRowPairSse2(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop, int16_t* lumBottom,
                        int16_t* cb, int16_t* cr) {
    constexpr int kBytes = Depth / 8;
    for (int x = 0; x < count; x += 8, top += 8 * kBytes, bottom += 8 * kBytes) {
        Four first = ConvertFour<Depth>(top, bottom);
        Four second = ConvertFour<Depth>(top + 4 * kBytes, bottom + 4 * kBytes);
        StoreLuminance(lumTop + x, first.top, second.top);
        StoreLuminance(lumBottom + x, first.bottom, second.bottom);
        // cb 0 1, cr 0 1, cb 2 3, cr 2 3 as pairs of words, sorted.
        __m128i chroma = _mm_shuffle_epi32(_mm_packs_epi32(first.chroma, second.chroma), _MM_SHUFFLE(3, 1, 2, 0));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(cb + x / 2), chroma);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(cr + x / 2), _mm_srli_si128(chroma, 8));
    }
}
#endif

// The fastest converter of a depth for the form in use (none for palettes:
// they go pixel by pixel).
RowPairConverter ChooseConverter(JpegForm form, int depth) {
    if (depth == 8) return nullptr;
#if JPEG_HAVE_AVX2
    if (form >= kJpegAvx2) return depth == 24 ? ConvertRowPairAvx2Bgr : ConvertRowPairAvx2Bgrx;
#endif
#if JPEG_HAVE_SSE2
    if (form >= kJpegSse2) return depth == 24 ? ConvertRowPairSse2<24> : ConvertRowPairSse2<32>;
#endif
    (void)form;
    return nullptr;
}

BlockTransform ChooseTransform(JpegForm form) {
#if JPEG_HAVE_AVX2
    if (form >= kJpegAvx2) return TransformBlockAvx2;
#endif
#if JPEG_HAVE_SSE2
    if (form >= kJpegSse2) return TransformBlockSse2;
#endif
    (void)form;
    return TransformBlockPlain;
}

// Converts a row of MCUs at a time into planes of samples (luminance, and
// for colour the two reduced chrominance planes), then transforms and codes
// each MCU's blocks from the planes.
class Encoder {
public:
    Encoder(const ImageRecord& r, const PixelSource& source, bool grey, const JpegQuantTables& quant, ByteSink& out)
        : width_(r.width), height_(r.height), grey_(grey), mcu_(grey ? 8 : 16),
          stride_((r.width + mcu_ - 1) / mcu_ * mcu_), source_(source), bits_(out) {
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
        JpegForm form = CurrentJpegForm();
        transform_ = ChooseTransform(form);
        converter_ = grey ? nullptr : ChooseConverter(form, source.depth());
        wideColumns_ = converter_ ? width_ / 16 * 16 : 0;
        // The SSE2 24-bit loads read four bytes past their pixels: past the
        // block's end in the picture's top row, the last in the block.
        bool overreads = converter_ && source.depth() == 24 && form == kJpegSse2;
        topRowWideColumns_ = overreads ? (width_ - 2) / 16 * 16 : wideColumns_;
        luminance_.resize(size_t(mcu_) * stride_);
        if (!grey) {
            cb_.resize(size_t(8) * stride_ / 2);
            cr_.resize(size_t(8) * stride_ / 2);
        }
    }

    void run() {
        for (int y = 0; y < height_; y += mcu_) {
            if (grey_) {
                convertGreyRows(y);
                for (int x = 0; x < stride_; x += 8) codeBlock(&luminance_[size_t(x)], stride_, components_[0]);
            } else {
                convertColourRows(y);
                for (int x = 0; x < stride_; x += 16) codeColourMcu(x);
            }
        }
        bits_.finish();
    }

private:
    // The table is grey: its red is the level.
    void convertGreyRows(int y0) {
        int last = width_ - 1;
        for (int y = 0; y < 8; ++y) {
            const uint8_t* row = source_.row(y0 + y);
            int16_t* out = &luminance_[size_t(y) * stride_];
            for (int x = 0; x < stride_; ++x) out[x] = int16_t(source_.pixel<8>(row, x < last ? x : last)[2] - 128);
        }
    }

    void convertColourRows(int y0) {
        int chromaStride = stride_ / 2;
        for (int pair = 0; pair < 8; ++pair) {
            const uint8_t* top = source_.row(y0 + 2 * pair);
            const uint8_t* bottom = source_.row(y0 + 2 * pair + 1);
            int16_t* lumTop = &luminance_[size_t(2 * pair) * stride_];
            int16_t* cb = &cb_[size_t(pair) * chromaStride];
            int16_t* cr = &cr_[size_t(pair) * chromaStride];
            bool topRow = top == source_.row(0);  // a one-row picture: every pair
            int wide = topRow ? topRowWideColumns_ : wideColumns_;
            if (converter_) converter_(top, bottom, wide, lumTop, lumTop + stride_, cb, cr);
            switch (source_.depth()) {
            case 8: ConvertRowPairPlain<8>(source_, top, bottom, wide, stride_, lumTop, lumTop + stride_, cb, cr); break;
            case 24: ConvertRowPairPlain<24>(source_, top, bottom, wide, stride_, lumTop, lumTop + stride_, cb, cr); break;
            default: ConvertRowPairPlain<32>(source_, top, bottom, wide, stride_, lumTop, lumTop + stride_, cb, cr);
            }
        }
    }

    // The MCU whose luminance starts at column x0: four luminance blocks,
    // then one of each chrominance.
    void codeColourMcu(int x0) {
        for (int i = 0; i < 4; ++i)
            codeBlock(&luminance_[size_t(i / 2 * 8) * stride_ + x0 + i % 2 * 8], stride_, components_[0]);
        codeBlock(&cb_[size_t(x0 / 2)], stride_ / 2, components_[1]);
        codeBlock(&cr_[size_t(x0 / 2)], stride_ / 2, components_[2]);
    }

    void codeBlock(const int16_t* samples, int stride, EncodeComponent& c) {
        alignas(32) int16_t natural[64];
        uint64_t nonZero = transform_(samples, stride, c.reciprocal, natural);
        CodeBlock(natural, nonZero, c, bits_);
    }

    int width_, height_;
    bool grey_;
    int mcu_, stride_;  // the planes' width: whole MCUs
    int wideColumns_;   // the columns converter_ takes, whole groups of 16 inside the picture
    int topRowWideColumns_;
    RowPairConverter converter_;
    BlockTransform transform_;
    std::vector<int16_t> luminance_, cb_, cr_;

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
