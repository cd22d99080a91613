// The JPEG codec's hot loops (the transforms, quantisation and colour
// conversion) come in up to three forms: plain code, SSE2 code where the
// compiler targets SSE2 (the product's builds), and AVX2 code chosen at run
// time where the processor and system offer it. All compute exactly the
// same results; the plain form stays for other builds and as the reference
// the others are checked against. Tests switch between them.
#pragma once

#if defined(__SSE2__)
#define JPEG_HAVE_SSE2 1
#include <emmintrin.h>
#else
#define JPEG_HAVE_SSE2 0
#endif

#if defined(__i386__) || defined(__x86_64__)
#define JPEG_HAVE_AVX2 1
// True where the processor and the system run AVX2 code.
bool JpegAvx2Available();
#else
#define JPEG_HAVE_AVX2 0
#endif

enum JpegForm { kJpegPlain, kJpegSse2, kJpegAvx2 };

// The form in use: the widest there is, unless a test chose another.
JpegForm CurrentJpegForm();
// Chooses a form, or the widest one there is below it; returns the choice.
JpegForm SetJpegForm(JpegForm form);
// True while the SSE2 forms (or wider) are used.
bool JpegUsesSse2();
// The SSE2 form where it exists, or the plain one. Returns the choice.
bool SetJpegUsesSse2(bool use);

#if JPEG_HAVE_SSE2
// Four floats with the arithmetic operators, so that one template of a
// transform serves the plain and the SSE2 form with the same operations in
// the same order.
struct Float4 {
    __m128 v;
    Float4() = default;
    Float4(__m128 value) : v(value) {}
    explicit Float4(float value) : v(_mm_set1_ps(value)) {}
};
inline Float4 operator+(Float4 a, Float4 b) { return _mm_add_ps(a.v, b.v); }
inline Float4 operator-(Float4 a, Float4 b) { return _mm_sub_ps(a.v, b.v); }
inline Float4 operator*(Float4 a, float b) { return _mm_mul_ps(a.v, _mm_set1_ps(b)); }

// Transposes the 4 x 4 block held in four registers.
inline void Transpose4(Float4& a, Float4& b, Float4& c, Float4& d) {
    _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v);
}
#endif
