// The JPEG reader's loops for processors with AVX2: the same sums and
// operations as the SSE2 loops, eight or sixteen lanes at a time, so the
// same results. Only the functions marked below are compiled for AVX2; the
// reader calls them only where JpegAvx2Available() says so.
#include "JpegDecodeLoops.h"

#if JPEG_HAVE_AVX2
#include "JpegAvx2.h"
#include "JpegDctInverse.h"

namespace {

// Eight rows of eight samples (in 32-bit lanes) as bytes, `stride` apart:
// converted, saturated to 16 bits, then to 0 to 255, as the SSE2 form does.
JPEG_AVX2_INLINE void StoreFourRows(__m256i r0, __m256i r1, __m256i r2, __m256i r3, uint8_t* out, int stride) {
    // Per half: rows 0-3, columns 0-3 (low half) and 4-7 (high half).
    __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(r0, r1), _mm256_packs_epi32(r2, r3));
    bytes = _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
    __m128i rows01 = _mm256_castsi256_si128(bytes), rows23 = _mm256_extracti128_si256(bytes, 1);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), rows01);
    _mm_storeh_pd(reinterpret_cast<double*>(out + stride), _mm_castsi128_pd(rows01));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * stride), rows23);
    _mm_storeh_pd(reinterpret_cast<double*>(out + 3 * stride), _mm_castsi128_pd(rows23));
}

JPEG_AVX2_INLINE __m256i ToSamples(__m256 row) {
    const __m256 scale = _mm256_set1_ps(jpeg_dct::kOutputScale), low = _mm256_set1_ps(-1.0f),
                 high = _mm256_set1_ps(256.0f);
    return _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(_mm256_mul_ps(row, scale), low), high));
}

// The three chrominance terms of sixteen (Cb, Cr) pairs, a 16-bit lane
// each.
struct Chroma16 {
    __m256i blue, green, red;
};

JPEG_AVX2_INLINE __m256i Pair(int32_t first, int32_t second) {
    return _mm256_set1_epi32(
        static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(second)) << 16 | static_cast<uint16_t>(first)));
}

// Each lane of `value` times `factors`' first plus its second (the
// rounding), shifted down.
JPEG_AVX2_INLINE __m256i Terms(__m256i value, __m256i factors) {
    const __m256i one = _mm256_set1_epi16(1);
    __m256i low = _mm256_madd_epi16(_mm256_unpacklo_epi16(value, one), factors);
    __m256i high = _mm256_madd_epi16(_mm256_unpackhi_epi16(value, one), factors);
    return _mm256_packs_epi32(_mm256_srai_epi32(low, kColourShift), _mm256_srai_epi32(high, kColourShift));
}

// From sixteen 16-bit chrominance samples each.
JPEG_AVX2_INLINE Chroma16 ChromaTerms(__m256i cbSamples, __m256i crSamples) {
    const __m256i bias = _mm256_set1_epi16(128), round = _mm256_set1_epi32(kColourRound);
    __m256i cb = _mm256_sub_epi16(cbSamples, bias), cr = _mm256_sub_epi16(crSamples, bias);
    Chroma16 c;
    c.red = Terms(cr, Pair(kCrToRed, kColourRound));
    c.blue = Terms(cb, Pair(kCbToBlue, kColourRound));
    const __m256i greenFactors = Pair(kCbToGreen, kCrToGreen);
    __m256i low = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(cb, cr), greenFactors), round);
    __m256i high = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(cb, cr), greenFactors), round);
    c.green = _mm256_packs_epi32(_mm256_srai_epi32(low, kColourShift), _mm256_srai_epi32(high, kColourShift));
    return c;
}

// Byte shuffles that spread each half's sixteen blue, green and red values
// over the three 16-byte thirds of its 48 interleaved bytes.
struct InterleaveMasks {
    int8_t bytes[3][3][32];  // [third][plane][byte], both halves alike
};

constexpr InterleaveMasks MakeInterleaveMasks() {
    InterleaveMasks m = {};
    for (int third = 0; third < 3; ++third)
        for (int plane = 0; plane < 3; ++plane)
            for (int i = 0; i < 32; ++i) {
                int at = third * 16 + i % 16;
                m.bytes[third][plane][i] = static_cast<int8_t>(at % 3 == plane ? at / 3 : -1);
            }
    return m;
}

constexpr InterleaveMasks kInterleave = MakeInterleaveMasks();

JPEG_AVX2_INLINE __m256i Mask(int third, int plane) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kInterleave.bytes[third][plane]));
}

// Thirty-two pixels from their luminance and their terms (`low` for
// pixels 0-7 and 16-23, `high` for 8-15 and 24-31), stored as 96 bytes of
// blue, green, red.
JPEG_AVX2_INLINE void StoreBgr32(uint8_t* out, const uint8_t* lum, const __m256i (&low)[3], const __m256i (&high)[3]) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lum));
    __m256i yLow = _mm256_unpacklo_epi8(y, zero), yHigh = _mm256_unpackhi_epi8(y, zero);
    __m256i planes[3];
    for (int i = 0; i < 3; ++i)
        planes[i] = _mm256_packus_epi16(_mm256_add_epi16(yLow, low[i]), _mm256_add_epi16(yHigh, high[i]));
    __m256i thirds[3];
    for (int t = 0; t < 3; ++t)
        thirds[t] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(planes[0], Mask(t, 0)),
                                                    _mm256_shuffle_epi8(planes[1], Mask(t, 1))),
                                    _mm256_shuffle_epi8(planes[2], Mask(t, 2)));
    // The low halves hold bytes 0-47, the high halves 48-95.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute2x128_si256(thirds[0], thirds[1], 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), _mm256_permute2x128_si256(thirds[2], thirds[0], 0x30));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 64), _mm256_permute2x128_si256(thirds[1], thirds[2], 0x31));
}

// Sixteen samples as 16-bit lanes.
JPEG_AVX2_INLINE __m256i Widen16(const uint8_t* samples) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(samples)));
}

}  // namespace

// Columns first (a lane per column), then a transpose makes each register
// a column and the rows follow; as in the SSE2 form.
JPEG_AVX2 void InverseDctAvx2(const float* block, uint8_t* out, int stride) {
    __m256 x0 = _mm256_loadu_ps(block), x1 = _mm256_loadu_ps(block + 8), x2 = _mm256_loadu_ps(block + 16),
           x3 = _mm256_loadu_ps(block + 24), x4 = _mm256_loadu_ps(block + 32), x5 = _mm256_loadu_ps(block + 40),
           x6 = _mm256_loadu_ps(block + 48), x7 = _mm256_loadu_ps(block + 56);
    jpeg_dct::Inverse1D(x0, x1, x2, x3, x4, x5, x6, x7);
    Transpose8(x0, x1, x2, x3, x4, x5, x6, x7);
    x0 = _mm256_add_ps(x0, _mm256_set1_ps(jpeg_dct::kLevelBias));
    jpeg_dct::Inverse1D(x0, x1, x2, x3, x4, x5, x6, x7);
    Transpose8(x0, x1, x2, x3, x4, x5, x6, x7);
    StoreFourRows(ToSamples(x0), ToSamples(x1), ToSamples(x2), ToSamples(x3), out, stride);
    StoreFourRows(ToSamples(x4), ToSamples(x5), ToSamples(x6), ToSamples(x7), out + 4 * stride, stride);
}

// A chrominance pair to each two neighbours: sixteen pairs serve 32 pixels
// of every row.
JPEG_AVX2 void ConvertColourAvx2Paired(const ColourRows& rows, int pixels) {
    for (int x = 0; x < pixels; x += kColourGroupAvx2) {
        Chroma16 c = ChromaTerms(Widen16(rows.cb + x / 2), Widen16(rows.cr + x / 2));
        const __m256i low[3] = {_mm256_unpacklo_epi16(c.blue, c.blue), _mm256_unpacklo_epi16(c.green, c.green),
                                _mm256_unpacklo_epi16(c.red, c.red)};
        const __m256i high[3] = {_mm256_unpackhi_epi16(c.blue, c.blue), _mm256_unpackhi_epi16(c.green, c.green),
                                 _mm256_unpackhi_epi16(c.red, c.red)};
        for (int r = 0; r < rows.count; ++r) StoreBgr32(rows.out[r] + 3 * x, rows.lum[r] + x, low, high);
    }
}

// A chrominance pair to each pixel.
JPEG_AVX2 void ConvertColourAvx2Full(const ColourRows& rows, int pixels) {
    const __m256i zero = _mm256_setzero_si256();
    for (int x = 0; x < pixels; x += kColourGroupAvx2) {
        __m256i cb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows.cb + x));
        __m256i cr = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows.cr + x));
        Chroma16 first = ChromaTerms(_mm256_unpacklo_epi8(cb, zero), _mm256_unpacklo_epi8(cr, zero));
        Chroma16 second = ChromaTerms(_mm256_unpackhi_epi8(cb, zero), _mm256_unpackhi_epi8(cr, zero));
        const __m256i low[3] = {first.blue, first.green, first.red};
        const __m256i high[3] = {second.blue, second.green, second.red};
        for (int r = 0; r < rows.count; ++r) StoreBgr32(rows.out[r] + 3 * x, rows.lum[r] + x, low, high);
    }
}
#endif
