// The JPEG reader's colour conversion, YCbCr to blue, green, red pixels, in
// its plain and SSE2 forms (the AVX2 one is in JpegDecodeAvx2.cpp).
#include <cstring>

#include "JpegDecodeLoops.h"

namespace {

// Sample values -384 to 639 clamped to 0 to 255, looked up at +384.
struct RangeLimit {
    uint8_t table[1024];
    RangeLimit() {
        for (int i = 0; i < 1024; ++i) table[i] = static_cast<uint8_t>(i < 384 ? 0 : i > 639 ? 255 : i - 384);
    }
};
const RangeLimit kRange;
const uint8_t* const kLimit = kRange.table + 384;

// The three chrominance terms of one (Cb, Cr) pair.
struct Chroma {
    int32_t blue, green, red;
    Chroma(int cb, int cr)
        : blue((kCbToBlue * (cb - 128) + kColourRound) >> kColourShift),
          green((kCbToGreen * (cb - 128) + kCrToGreen * (cr - 128) + kColourRound) >> kColourShift),
          red((kCrToRed * (cr - 128) + kColourRound) >> kColourShift) {}
};

inline void StoreBgr(uint8_t* out, int y, const Chroma& c) {
    out[0] = kLimit[y + c.blue];
    out[1] = kLimit[y + c.green];
    out[2] = kLimit[y + c.red];
}

void ConvertPlainPaired(const ColourRows& rows, int pixels) {
    for (int x = 0; x < pixels; x += 2) {
        Chroma c(rows.cb[x / 2], rows.cr[x / 2]);
        for (int r = 0; r < rows.count; ++r) {
            StoreBgr(rows.out[r] + 3 * x, rows.lum[r][x], c);
            StoreBgr(rows.out[r] + 3 * x + 3, rows.lum[r][x + 1], c);
        }
    }
}

void ConvertPlainFull(const ColourRows& rows, int pixels) {
    for (int x = 0; x < pixels; ++x) {
        Chroma c(rows.cb[x], rows.cr[x]);
        for (int r = 0; r < rows.count; ++r) StoreBgr(rows.out[r] + 3 * x, rows.lum[r][x], c);
    }
}

#if JPEG_HAVE_SSE2
// The terms of eight (Cb, Cr) pairs, eight 16-bit lanes each.
struct Chroma8 {
    __m128i blue, green, red;
    explicit Chroma8(const uint8_t* cbs, const uint8_t* crs) {
        const __m128i zero = _mm_setzero_si128(), bias = _mm_set1_epi16(128), one = _mm_set1_epi16(1);
        __m128i cb = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cbs)), zero), bias);
        __m128i cr = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(crs)), zero), bias);
        // Pairs (value, 1) times (factor, rounding) give value * factor + rounding.
        red = Sum(_mm_unpacklo_epi16(cr, one), _mm_unpackhi_epi16(cr, one), Pair(kCrToRed, kColourRound));
        blue = Sum(_mm_unpacklo_epi16(cb, one), _mm_unpackhi_epi16(cb, one), Pair(kCbToBlue, kColourRound));
        const __m128i round = _mm_set1_epi32(kColourRound), greenFactors = Pair(kCbToGreen, kCrToGreen);
        __m128i low = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(cb, cr), greenFactors), round);
        __m128i high = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(cb, cr), greenFactors), round);
        green = _mm_packs_epi32(_mm_srai_epi32(low, kColourShift), _mm_srai_epi32(high, kColourShift));
    }
    static __m128i Pair(int32_t first, int32_t second) {
        return _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(second)) << 16 |
                                                   static_cast<uint16_t>(first)));
    }
    static __m128i Sum(__m128i low, __m128i high, __m128i factors) {
        return _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(low, factors), kColourShift),
                               _mm_srai_epi32(_mm_madd_epi16(high, factors), kColourShift));
    }
};

// Four pixels held as blue, green, red, 0 words, stored as 12 bytes: each
// 64-bit half closes up its two pixels, and the halves are stored 6 bytes
// apart. Each store writes two bytes past its pixels, which the next store
// (or the next pixel) overwrites.
inline void Store4Pixels(uint8_t* out, __m128i words) {
    const __m128i firstOfPair = _mm_set1_epi64x(0xFFFFFF), secondOfPair = _mm_set1_epi64x(0xFFFFFF000000);
    __m128i pairs = _mm_or_si128(_mm_and_si128(words, firstOfPair), _mm_and_si128(_mm_srli_epi64(words, 8), secondOfPair));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), pairs);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm_unpackhi_epi64(pairs, pairs));
}

// Sixteen pixels from their luminance and terms (`low` for pixels 0-7,
// `high` for 8-15), stored blue, green, red; 2 bytes past them are
// overwritten.
inline void StoreBgr16(uint8_t* out, const uint8_t* lum, const __m128i (&low)[3], const __m128i (&high)[3]) {
    const __m128i zero = _mm_setzero_si128();
    __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lum));
    __m128i yLow = _mm_unpacklo_epi8(y, zero), yHigh = _mm_unpackhi_epi8(y, zero);
    __m128i planes[3];
    for (int i = 0; i < 3; ++i)
        planes[i] = _mm_packus_epi16(_mm_add_epi16(yLow, low[i]), _mm_add_epi16(yHigh, high[i]));
    __m128i blueGreen[2] = {_mm_unpacklo_epi8(planes[0], planes[1]), _mm_unpackhi_epi8(planes[0], planes[1])};
    __m128i redZero[2] = {_mm_unpacklo_epi8(planes[2], zero), _mm_unpackhi_epi8(planes[2], zero)};
    for (int half = 0; half < 2; ++half, out += 24) {
        Store4Pixels(out, _mm_unpacklo_epi16(blueGreen[half], redZero[half]));
        Store4Pixels(out + 12, _mm_unpackhi_epi16(blueGreen[half], redZero[half]));
    }
}

constexpr int kColourGroupSse2 = 16;

// A chrominance pair to each two neighbours: eight pairs serve 16 pixels of
// every row.
void ConvertSse2Paired(const ColourRows& rows, int pixels) {
    for (int x = 0; x < pixels; x += kColourGroupSse2) {
        Chroma8 c(rows.cb + x / 2, rows.cr + x / 2);
        const __m128i low[3] = {_mm_unpacklo_epi16(c.blue, c.blue), _mm_unpacklo_epi16(c.green, c.green),
                                _mm_unpacklo_epi16(c.red, c.red)};
        const __m128i high[3] = {_mm_unpackhi_epi16(c.blue, c.blue), _mm_unpackhi_epi16(c.green, c.green),
                                 _mm_unpackhi_epi16(c.red, c.red)};
        for (int r = 0; r < rows.count; ++r) StoreBgr16(rows.out[r] + 3 * x, rows.lum[r] + x, low, high);
    }
}

// A chrominance pair to each pixel.
void ConvertSse2Full(const ColourRows& rows, int pixels) {
    for (int x = 0; x < pixels; x += kColourGroupSse2) {
        Chroma8 first(rows.cb + x, rows.cr + x), second(rows.cb + x + 8, rows.cr + x + 8);
        const __m128i low[3] = {first.blue, first.green, first.red};
        const __m128i high[3] = {second.blue, second.green, second.red};
        for (int r = 0; r < rows.count; ++r) StoreBgr16(rows.out[r] + 3 * x, rows.lum[r] + x, low, high);
    }
}
#endif

}  // namespace

ColourForm ChooseColourConverter(JpegForm form, bool pairedChroma) {
#if JPEG_HAVE_AVX2
    if (form >= kJpegAvx2)
        return {pairedChroma ? ConvertColourAvx2Paired : ConvertColourAvx2Full, kColourGroupAvx2};
#endif
#if JPEG_HAVE_SSE2
    if (form >= kJpegSse2) return {pairedChroma ? ConvertSse2Paired : ConvertSse2Full, kColourGroupSse2};
#endif
    (void)form;
    return pairedChroma ? ColourForm{ConvertPlainPaired, 2} : ColourForm{ConvertPlainFull, 1};
}

void StoreBgrPixel(uint8_t* out, int y, int cb, int cr) { StoreBgr(out, y, Chroma(cb, cr)); }
