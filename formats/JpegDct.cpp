#include "JpegDct.h"

#include <cmath>
#include <cstring>

#include "JpegDctForward.h"
#include "JpegDctInverse.h"
#include "JpegDecodeLoops.h"
#include "JpegEncodeLoops.h"
#include "JpegSimd.h"
#include "JpegTables.h"

namespace {

using jpeg_dct::Forward1D;
using jpeg_dct::Inverse1D;
using jpeg_dct::kLevelBias;
using jpeg_dct::kOutputScale;

JpegForm WidestJpegForm() {
#if JPEG_HAVE_AVX2
    if (JpegAvx2Available()) return kJpegAvx2;
#endif
    return JPEG_HAVE_SSE2 ? kJpegSse2 : kJpegPlain;
}

JpegForm g_form = WidestJpegForm();
bool g_useSse2 = g_form >= kJpegSse2;

// x[0], x[s], ... x[7 s].
template <int S>
inline void Inverse1D(float* x) { Inverse1D(x[0], x[S], x[2 * S], x[3 * S], x[4 * S], x[5 * S], x[6 * S], x[7 * S]); }
template <int S>
inline void Forward1D(float* x) { Forward1D(x[0], x[S], x[2 * S], x[3 * S], x[4 * S], x[5 * S], x[6 * S], x[7 * S]); }

// A scaled output as a sample: rounded to nearest (ties to even, as the
// SSE2 conversion rounds) and clamped.
inline uint8_t ToSample(float value) {
    float scaled = value * kOutputScale;
    scaled = scaled < -1.0f ? -1.0f : scaled > 256.0f ? 256.0f : scaled;
    long rounded = std::lrint(scaled);
    return static_cast<uint8_t>(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
}

#if JPEG_HAVE_SSE2
inline void Inverse1D(Float4* x) { Inverse1D(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]); }
inline void Forward1D(Float4* x) { Forward1D(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]); }

// The 8 x 8 block in rows[r] (columns 0 to 3) and rows[8 + r] (4 to 7)
// becomes its transpose in the same layout.
inline void Transpose8(Float4* rows) {
    Transpose4(rows[0], rows[1], rows[2], rows[3]);
    Transpose4(rows[8], rows[9], rows[10], rows[11]);
    Transpose4(rows[4], rows[5], rows[6], rows[7]);
    Transpose4(rows[12], rows[13], rows[14], rows[15]);
    for (int i = 0; i < 4; ++i) {
        Float4 upperRight = rows[8 + i];
        rows[8 + i] = rows[4 + i];
        rows[4 + i] = upperRight;
    }
}

// The transforms run over columns with a lane per column; a transpose
// between the passes turns rows into columns.
void InverseDctSse2(const float* block, uint8_t* out, int stride) {
    Float4 x[16];  // x[r]: row r, columns 0-3; x[8 + r]: columns 4-7
    for (int r = 0; r < 8; ++r) {
        x[r] = _mm_loadu_ps(block + 8 * r);
        x[8 + r] = _mm_loadu_ps(block + 8 * r + 4);
    }
    Inverse1D(x);
    Inverse1D(x + 8);
    Transpose8(x);
    x[0] = x[0] + Float4(kLevelBias);
    x[8] = x[8] + Float4(kLevelBias);
    Inverse1D(x);
    Inverse1D(x + 8);
    Transpose8(x);
    const __m128 scale = _mm_set1_ps(kOutputScale), low = _mm_set1_ps(-1.0f), high = _mm_set1_ps(256.0f);
    auto toWords = [&](Float4 v) { return _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(_mm_mul_ps(v.v, scale), low), high)); };
    for (int r = 0; r < 8; ++r, out += stride) {
        __m128i left = toWords(x[r]);
        __m128i right = toWords(x[8 + r]);
        __m128i words = _mm_packs_epi32(left, right);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
    }
}

#endif

}  // namespace

#if JPEG_HAVE_SSE2
namespace {

// The transform of rows held as x[r] (columns 0-3) and x[8 + r] (4-7),
// written to `block`.
inline void ForwardDctRows(Float4* x, float* block) {
    Transpose8(x);  // rows first: a lane per row
    Forward1D(x);
    Forward1D(x + 8);
    Transpose8(x);
    Forward1D(x);
    Forward1D(x + 8);
    for (int r = 0; r < 8; ++r) {
        _mm_storeu_ps(block + 8 * r, x[r].v);
        _mm_storeu_ps(block + 8 * r + 4, x[8 + r].v);
    }
}

}  // namespace

void ForwardDctSse2(float* block) {
    Float4 x[16];
    for (int r = 0; r < 8; ++r) {
        x[r] = _mm_loadu_ps(block + 8 * r);
        x[8 + r] = _mm_loadu_ps(block + 8 * r + 4);
    }
    ForwardDctRows(x, block);
}

void ForwardDctSamplesSse2(const int16_t* samples, int stride, float* block) {
    Float4 x[16];
    for (int r = 0; r < 8; ++r, samples += stride) {
        __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples));
        x[r] = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpacklo_epi16(words, words), 16));
        x[8 + r] = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_unpackhi_epi16(words, words), 16));
    }
    ForwardDctRows(x, block);
}
#endif

JpegForm CurrentJpegForm() { return g_form; }

JpegForm SetJpegForm(JpegForm form) {
    g_form = form < WidestJpegForm() ? form : WidestJpegForm();
    g_useSse2 = g_form >= kJpegSse2;
    return g_form;
}

bool JpegUsesSse2() { return g_useSse2; }

bool SetJpegUsesSse2(bool use) { return SetJpegForm(use ? kJpegSse2 : kJpegPlain) >= kJpegSse2; }

float InverseDctScale(int k) {
    auto s = [](int i) { return i == 0 ? 1.0 : std::sqrt(2.0) * std::cos(i * 3.14159265358979323846 / 16); };
    return static_cast<float>(s(k / 8) * s(k % 8));
}

void InverseDctPlain(const float* block, uint8_t* out, int stride) {
    float x[64];
    for (int i = 0; i < 64; ++i) x[i] = block[i];
    for (int column = 0; column < 8; ++column) {
        float* c = x + column;
        // Only the DC term: the column is flat (the transform would give
        // exactly this too).
        if (c[8] == 0 && c[16] == 0 && c[24] == 0 && c[32] == 0 && c[40] == 0 && c[48] == 0 && c[56] == 0) {
            c[8] = c[16] = c[24] = c[32] = c[40] = c[48] = c[56] = c[0];
            continue;
        }
        Inverse1D<8>(c);
    }
    for (int row = 0; row < 8; ++row, out += stride) {
        float* r = x + row * 8;
        r[0] = r[0] + kLevelBias;
        Inverse1D<1>(r);
        for (int i = 0; i < 8; ++i) out[i] = ToSample(r[i]);
    }
}

void FillFlatBlock(float dc, uint8_t* out, int stride) {
    uint8_t value = ToSample(dc + kLevelBias);
    for (int y = 0; y < 8; ++y, out += stride) memset(out, value, 8);
}

BlockInverse ChooseInverseDct(JpegForm form) {
#if JPEG_HAVE_AVX2
    if (form >= kJpegAvx2) return InverseDctAvx2;
#endif
#if JPEG_HAVE_SSE2
    if (form >= kJpegSse2) return InverseDctSse2;
#endif
    (void)form;
    return InverseDctPlain;
}

void InverseDct(const float* block, uint8_t* out, int stride) { ChooseInverseDct(g_form)(block, out, stride); }

void ForwardDctPlain(float* block) {
    for (int row = 0; row < 8; ++row) Forward1D<1>(block + row * 8);
    for (int column = 0; column < 8; ++column) Forward1D<8>(block + column);
}

void ForwardDct(float* block) {
#if JPEG_HAVE_SSE2
    if (g_useSse2) return ForwardDctSse2(block);
#endif
    ForwardDctPlain(block);
}

double ForwardDctDivisor(int k, int quant) {
    double su = kAanScale12[k / 8] / 4096.0, sv = kAanScale12[k % 8] / 4096.0;
    return quant * 8.0 * su * sv;
}
