// The JPEG writer's loops for processors with AVX2: the SSE2 loops at twice
// the width, with the same sums and operations, so the same results. Only
// the functions marked below are compiled for AVX2; the writer calls them
// only where JpegAvx2Available() says so.
#include "JpegEncodeLoops.h"

#if JPEG_HAVE_AVX2
#include "JpegAvx2.h"
#include "JpegDctForward.h"

bool JpegAvx2Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

namespace {

// Eight pixels as blue, green, red, 1 bytes, four to each 128-bit half: the
// 1 brings in the rounding of the sums through its own factor.
template <int Bytes>
JPEG_AVX2_INLINE __m256i ExpandPixels(const uint8_t* p) {
    const __m256i one = _mm256_set1_epi32(0x01000000);
    if (Bytes == 4) {
        __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        return _mm256_or_si256(_mm256_and_si256(words, _mm256_set1_epi32(0x00FFFFFF)), one);
    }
    // The low half gets bytes 0-15 (pixels 0-3 in 0-11), the high half
    // bytes 8-23 (pixels 4-7 in 4-15): no byte past the eighth pixel.
    __m256i bytes = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), 1);
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                            4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    return _mm256_or_si256(_mm256_shuffle_epi8(bytes, spread), one);
}

// Per 128-bit half, the first and second of each pixel's two products
// added: four sums from the products of pixels 0, 1 and of 2, 3.
JPEG_AVX2_INLINE __m256i AddPairs(__m256i firsts, __m256i seconds) {
    __m256 a = _mm256_castsi256_ps(firsts), b = _mm256_castsi256_ps(seconds);
    return _mm256_add_epi32(_mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))),
                            _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))));
}

// Eight pixels of a row pair: luminance (times 2^14, rounded) of each row,
// in pixel order, and the four 2 x 2 groups' chrominance as cb 0 1, cr 0 1
// in the low half and cb 2 3, cr 2 3 in the high half.
struct Eight {
    __m256i top, bottom, chroma;
};

template <int Bytes>
JPEG_AVX2_INLINE Eight ConvertEight(const uint8_t* top, const uint8_t* bottom) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i toY = _mm256_setr_epi16(kYB, kYG, kYR, 1 << 13, kYB, kYG, kYR, 1 << 13, kYB, kYG, kYR, 1 << 13,
                                          kYB, kYG, kYR, 1 << 13);
    const __m256i toCb = _mm256_setr_epi16(kCbB, kCbG, kCbR, 1 << 13, kCbB, kCbG, kCbR, 1 << 13, kCbB, kCbG, kCbR,
                                           1 << 13, kCbB, kCbG, kCbR, 1 << 13);
    const __m256i toCr = _mm256_setr_epi16(kCrB, kCrG, kCrR, 1 << 13, kCrB, kCrG, kCrR, 1 << 13, kCrB, kCrG, kCrR,
                                           1 << 13, kCrB, kCrG, kCrR, 1 << 13);
    __m256i upper = ExpandPixels<Bytes>(top), lower = ExpandPixels<Bytes>(bottom);
    // Words of pixels 0, 1 (and 4, 5) and of 2, 3 (and 6, 7).
    __m256i upperLow = _mm256_unpacklo_epi8(upper, zero), upperHigh = _mm256_unpackhi_epi8(upper, zero);
    __m256i lowerLow = _mm256_unpacklo_epi8(lower, zero), lowerHigh = _mm256_unpackhi_epi8(lower, zero);
    Eight out;
    out.top = AddPairs(_mm256_madd_epi16(upperLow, toY), _mm256_madd_epi16(upperHigh, toY));
    out.bottom = AddPairs(_mm256_madd_epi16(lowerLow, toY), _mm256_madd_epi16(lowerHigh, toY));
    // The 2 x 2 groups: rows added, then neighbours.
    __m256i low = _mm256_add_epi16(upperLow, lowerLow), high = _mm256_add_epi16(upperHigh, lowerHigh);
    __m256i quads = _mm256_unpacklo_epi64(_mm256_add_epi16(low, _mm256_srli_si256(low, 8)),
                                          _mm256_add_epi16(high, _mm256_srli_si256(high, 8)));
    __m256i cb = _mm256_madd_epi16(quads, toCb), cr = _mm256_madd_epi16(quads, toCr);
    __m256 b = _mm256_castsi256_ps(cb), r = _mm256_castsi256_ps(cr);
    __m256i sums = _mm256_add_epi32(_mm256_castps_si256(_mm256_shuffle_ps(b, r, _MM_SHUFFLE(2, 0, 2, 0))),
                                    _mm256_castps_si256(_mm256_shuffle_ps(b, r, _MM_SHUFFLE(3, 1, 3, 1))));
    out.chroma = _mm256_srai_epi32(sums, 16);
    return out;
}

// Sixteen luminance sums of one row (pixels 0-7, 8-15) as samples - 128.
JPEG_AVX2_INLINE void StoreLuminance(int16_t* out, __m256i first, __m256i second) {
    __m256i words = _mm256_packs_epi32(_mm256_srai_epi32(first, 14), _mm256_srai_epi32(second, 14));
    words = _mm256_permute4x64_epi64(words, _MM_SHUFFLE(3, 1, 2, 0));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_sub_epi16(words, _mm256_set1_epi16(128)));
}

template <int Bytes>
JPEG_AVX2_INLINE void ConvertRowPair(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop,
                                     int16_t* lumBottom, int16_t* cb, int16_t* cr) {
    // The two halves' cb 0 1, cr 0 1, cb 4 5, cr 4 5 | cb 2 3, ... as pairs
    // of words, sorted into cb 0-7, cr 0-7.
    const __m256i sort = _mm256_setr_epi32(0, 4, 2, 6, 1, 5, 3, 7);
    for (int x = 0; x < count; x += 16, top += 16 * Bytes, bottom += 16 * Bytes) {
        Eight first = ConvertEight<Bytes>(top, bottom);
        Eight second = ConvertEight<Bytes>(top + 8 * Bytes, bottom + 8 * Bytes);
        StoreLuminance(lumTop + x, first.top, second.top);
        StoreLuminance(lumBottom + x, first.bottom, second.bottom);
        __m256i chroma = _mm256_permutevar8x32_epi32(_mm256_packs_epi32(first.chroma, second.chroma), sort);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cb + x / 2), _mm256_castsi256_si128(chroma));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cr + x / 2), _mm256_extracti128_si256(chroma, 1));
    }
}

JPEG_AVX2_INLINE __m256 LoadRow(const int16_t* samples) {
    return _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(samples))));
}

// A row of coefficients divided by their steps and rounded half away from
// zero, as the plain code does it; PackRows clamps them.
JPEG_AVX2_INLINE __m256i QuantiseRow(__m256 row, const float* reciprocal) {
    const __m256 sign = _mm256_set1_ps(-0.0f), half = _mm256_set1_ps(0.5f);
    __m256 t = _mm256_mul_ps(row, _mm256_loadu_ps(reciprocal));
    t = _mm256_add_ps(t, _mm256_or_ps(_mm256_and_ps(t, sign), half));
    return _mm256_cvttps_epi32(t);
}

// Two rows of quantised coefficients as sixteen words in order, clamped
// after rounding: a value past the largest rounds to at least it, so it is
// clamped to it as the plain code does.
JPEG_AVX2_INLINE __m256i PackRows(__m256i first, __m256i second) {
    const __m256i largest = _mm256_set1_epi16(int16_t(kLargestCoded));
    __m256i words = _mm256_packs_epi32(first, second);
    words = _mm256_min_epi16(_mm256_max_epi16(words, _mm256_sub_epi16(_mm256_setzero_si256(), largest)), largest);
    return _mm256_permute4x64_epi64(words, _MM_SHUFFLE(3, 1, 2, 0));
}

// A bit for each non-zero word of four rows (two registers of two rows).
JPEG_AVX2_INLINE uint32_t NonZeroBits(__m256i rows01, __m256i rows23) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i zeros = _mm256_packs_epi16(_mm256_cmpeq_epi16(rows01, zero), _mm256_cmpeq_epi16(rows23, zero));
    zeros = _mm256_permute4x64_epi64(zeros, _MM_SHUFFLE(3, 1, 2, 0));
    return ~static_cast<uint32_t>(_mm256_movemask_epi8(zeros));
}

}  // namespace

JPEG_AVX2 void ConvertRowPairAvx2Bgr(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop,
                                    int16_t* lumBottom, int16_t* cb, int16_t* cr) {
    ConvertRowPair<3>(top, bottom, count, lumTop, lumBottom, cb, cr);
}

JPEG_AVX2 void ConvertRowPairAvx2Bgrx(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop,
                                     int16_t* lumBottom, int16_t* cb, int16_t* cr) {
    ConvertRowPair<4>(top, bottom, count, lumTop, lumBottom, cb, cr);
}

// Rows first (a transpose makes each register a column), then columns.
JPEG_AVX2 uint64_t TransformBlockAvx2(const int16_t* samples, int stride, const float* reciprocal, int16_t* out) {
    __m256 x0 = LoadRow(samples), x1 = LoadRow(samples + stride), x2 = LoadRow(samples + 2 * stride),
           x3 = LoadRow(samples + 3 * stride), x4 = LoadRow(samples + 4 * stride), x5 = LoadRow(samples + 5 * stride),
           x6 = LoadRow(samples + 6 * stride), x7 = LoadRow(samples + 7 * stride);
    Transpose8(x0, x1, x2, x3, x4, x5, x6, x7);
    jpeg_dct::Forward1D(x0, x1, x2, x3, x4, x5, x6, x7);
    Transpose8(x0, x1, x2, x3, x4, x5, x6, x7);
    jpeg_dct::Forward1D(x0, x1, x2, x3, x4, x5, x6, x7);
    __m256i rows01 = PackRows(QuantiseRow(x0, reciprocal), QuantiseRow(x1, reciprocal + 8));
    __m256i rows23 = PackRows(QuantiseRow(x2, reciprocal + 16), QuantiseRow(x3, reciprocal + 24));
    __m256i rows45 = PackRows(QuantiseRow(x4, reciprocal + 32), QuantiseRow(x5, reciprocal + 40));
    __m256i rows67 = PackRows(QuantiseRow(x6, reciprocal + 48), QuantiseRow(x7, reciprocal + 56));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), rows01);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16), rows23);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), rows45);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 48), rows67);
    return NonZeroBits(rows01, rows23) | uint64_t(NonZeroBits(rows45, rows67)) << 32;
}
#endif
