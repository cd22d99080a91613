// What the JPEG codec's AVX2 files share: the marks that compile a function
// for AVX2, and the 8 x 8 transpose of the transforms. Only code the
// caller reaches after JpegAvx2Available() may use them.
#pragma once

#include "JpegSimd.h"

#if JPEG_HAVE_AVX2
#include <immintrin.h>

#define JPEG_AVX2 __attribute__((target("avx2")))
#define JPEG_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

// Transposes the 8 x 8 block held a row to a register.
JPEG_AVX2_INLINE void Transpose8(__m256& r0, __m256& r1, __m256& r2, __m256& r3, __m256& r4, __m256& r5, __m256& r6,
                                 __m256& r7) {
    __m256 t0 = _mm256_unpacklo_ps(r0, r1), t1 = _mm256_unpackhi_ps(r0, r1);
    __m256 t2 = _mm256_unpacklo_ps(r2, r3), t3 = _mm256_unpackhi_ps(r2, r3);
    __m256 t4 = _mm256_unpacklo_ps(r4, r5), t5 = _mm256_unpackhi_ps(r4, r5);
    __m256 t6 = _mm256_unpacklo_ps(r6, r7), t7 = _mm256_unpackhi_ps(r6, r7);
    __m256 s0 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0)), s1 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
    __m256 s2 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0)), s3 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
    __m256 s4 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(1, 0, 1, 0)), s5 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(3, 2, 3, 2));
    __m256 s6 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(1, 0, 1, 0)), s7 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(3, 2, 3, 2));
    r0 = _mm256_permute2f128_ps(s0, s4, 0x20), r4 = _mm256_permute2f128_ps(s0, s4, 0x31);
    r1 = _mm256_permute2f128_ps(s1, s5, 0x20), r5 = _mm256_permute2f128_ps(s1, s5, 0x31);
    r2 = _mm256_permute2f128_ps(s2, s6, 0x20), r6 = _mm256_permute2f128_ps(s2, s6, 0x31);
    r3 = _mm256_permute2f128_ps(s3, s7, 0x20), r7 = _mm256_permute2f128_ps(s3, s7, 0x31);
}

#endif
