// Plain and SSE2 forms of the geometry operations' row loops.
#include "RowKernels.h"

#include <cstring>

#include "PixelAccess.h"

#if GEOMETRY_HAVE_SSE2
#include <emmintrin.h>
#endif

namespace {

bool g_useSse2 = GEOMETRY_HAVE_SSE2 != 0;

// Pixels first..width-1 reversed, four bytes at a time: the fourth byte
// written lands on the next pixel's place, and the last pixel of the row is
// written by its three bytes. The first pixel read (the row's last) is
// read by its three bytes too.
void ReverseRowPlain(const uint8_t* in, uint8_t* out, int32_t first, int32_t width)
{
    for (int32_t x = first; x < width; ++x) {
        const uint8_t* p = in + 3 * size_t(width - 1 - x);
        uint8_t* o = out + 3 * size_t(x);
        if (x > 0 && x < width - 1)
            Store4(o, Load4(p));
        else
            Copy3(o, p);
    }
}

void AverageRowPairPlain(const uint8_t* a, const uint8_t* b, int32_t from, int32_t bytes, uint8_t* half,
                         uint8_t* quarter)
{
    for (int32_t k = from; k < bytes; ++k)
        half[k] = static_cast<uint8_t>((a[k] + b[k]) >> 1);
    for (int32_t k = from; k < bytes - 3; ++k)
        quarter[k] = static_cast<uint8_t>((a[k] + a[k + 3] + b[k] + b[k + 3]) >> 2);
}

void AverageRowAlonePlain(const uint8_t* a, int32_t from, int32_t bytes, uint8_t* quarter)
{
    for (int32_t k = from; k < bytes - 3; ++k)
        quarter[k] = static_cast<uint8_t>((a[k] + a[k + 3]) >> 1);
}

#if GEOMETRY_HAVE_SSE2

inline __m128i LoadU(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void StoreU(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The 16 bytes in reverse order.
inline __m128i ReverseBytes(__m128i v)
{
    v = _mm_or_si128(_mm_srli_epi16(v, 8), _mm_slli_epi16(v, 8));
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(0, 1, 2, 3));
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(0, 1, 2, 3));
    return _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2));
}

// Reversing a row's bytes reverses its pixels with each pixel's first and
// third byte swapped; those are swapped back 48 bytes (16 pixels) at a time.
// Returns the pixels done.
int32_t ReverseRowSse2(const uint8_t* in, uint8_t* out, int32_t width, uint8_t* scratch)
{
    const int32_t bytes = 3 * width;
    if (bytes < 64)
        return 0;
    uint8_t* reversed = scratch + 2;
    int32_t k = 0;
    for (; k + 16 <= bytes; k += 16)
        StoreU(reversed + k, ReverseBytes(LoadU(in + bytes - 16 - k)));
    for (; k < bytes; ++k)
        reversed[k] = in[bytes - 1 - k];
    // Byte k of a 48-byte group takes the reversed row's byte k + 2, k or
    // k - 2 as k % 3 is 0, 1 or 2.
    uint8_t maskBytes[3][3][16];
    for (int part = 0; part < 3; ++part)
        for (int i = 0; i < 16; ++i)
            for (int kind = 0; kind < 3; ++kind)
                maskBytes[part][kind][i] = (16 * part + i) % 3 == kind ? 0xFF : 0;
    __m128i masks[3][3];
    for (int part = 0; part < 3; ++part)
        for (int kind = 0; kind < 3; ++kind)
            masks[part][kind] = LoadU(maskBytes[part][kind]);
    int32_t done = 0;
    for (; done + 48 <= bytes; done += 48)
        for (int part = 0; part < 3; ++part) {
            const uint8_t* r = reversed + done + 16 * part;
            const __m128i* m = masks[part];
            const __m128i v = _mm_or_si128(_mm_or_si128(_mm_and_si128(LoadU(r + 2), m[0]), _mm_and_si128(LoadU(r), m[1])),
                                           _mm_and_si128(LoadU(r - 2), m[2]));
            StoreU(out + done + 16 * part, v);
        }
    return done / 3;
}

// The quarter averages come from the halves without widening: with h the
// half and r the lost low bit of a pixel's pair and h', r' those of the
// pixel to the right, (2h + r + 2h' + r') >> 2 = (h + h' + (r & r')) >> 1,
// which is h and h' averaged rounding up when r & r' is set, down when not.
// The low bits are kept in `lowBits` (bytes + 16 bytes). Returns the bytes
// done (the plain form finishes the rest).
int32_t AverageRowPairSse2(const uint8_t* a, const uint8_t* b, int32_t bytes, uint8_t* half, uint8_t* quarter,
                           uint8_t* lowBits)
{
    const __m128i low7 = _mm_set1_epi8(0x7F), one = _mm_set1_epi8(1);
    int32_t k = 0;
    for (; k + 16 <= bytes; k += 16) {
        const __m128i va = LoadU(a + k), vb = LoadU(b + k), differ = _mm_xor_si128(va, vb);
        StoreU(half + k, _mm_add_epi8(_mm_and_si128(va, vb), _mm_and_si128(_mm_srli_epi16(differ, 1), low7)));
        StoreU(lowBits + k, _mm_and_si128(differ, one));
    }
    const int32_t halvesDone = k;
    for (k = 0; k + 19 <= halvesDone; k += 16) {
        const __m128i h = LoadU(half + k), next = LoadU(half + k + 3);
        const __m128i carry = _mm_and_si128(LoadU(lowBits + k), LoadU(lowBits + k + 3));
        const __m128i odd = _mm_and_si128(_mm_xor_si128(h, next), one);
        StoreU(quarter + k, _mm_sub_epi8(_mm_avg_epu8(h, next), _mm_andnot_si128(carry, odd)));
    }
    return k;
}

// Floor average of each byte with the one 3 bytes on. Returns the bytes
// done.
int32_t AverageRowAloneSse2(const uint8_t* a, int32_t bytes, uint8_t* quarter)
{
    const __m128i low7 = _mm_set1_epi8(0x7F);
    int32_t k = 0;
    for (; k + 19 <= bytes; k += 16) {
        const __m128i here = LoadU(a + k), next = LoadU(a + k + 3);
        const __m128i halfDiffer = _mm_and_si128(_mm_srli_epi16(_mm_xor_si128(here, next), 1), low7);
        StoreU(quarter + k, _mm_add_epi8(_mm_and_si128(here, next), halfDiffer));
    }
    return k;
}

// Four pixels held one per 32-bit lane (the top byte ignored) as 12
// consecutive bytes in the low part of the register; the top 4 bytes are 0.
inline __m128i PackPixels(__m128i lanes)
{
    const __m128i first = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
    const __m128i second = _mm_set_epi32(0xFFFF, int(0xFF000000), 0xFFFF, int(0xFF000000));
    // Each 64-bit half: its two pixels as 6 bytes.
    const __m128i pairs = _mm_or_si128(_mm_and_si128(lanes, first), _mm_and_si128(_mm_srli_epi64(lanes, 8), second));
    return _mm_or_si128(_mm_move_epi64(pairs), _mm_slli_si128(_mm_srli_si128(pairs, 8), 6));
}

inline __m128i FourPixels(const uint8_t* p0, const uint8_t* p1, const uint8_t* p2, const uint8_t* p3)
{
    const __m128i low = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(Load4(p0))), _mm_cvtsi32_si128(int(Load4(p1))));
    const __m128i high = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(Load4(p2))), _mm_cvtsi32_si128(int(Load4(p3))));
    return PackPixels(_mm_unpacklo_epi64(low, high));
}

// Four pixels at a time, each group written as 16 bytes whose last 4 the
// next group overwrites; the groups stop where those 4 bytes would pass the
// last pixel. Returns the pixels done.
int32_t GatherPixelsSse2(const uint8_t* from, const int32_t* offsets, int32_t count, uint8_t* out)
{
    int32_t x = 0;
    for (; x + 6 <= count; x += 4, out += 12, offsets += 4)
        StoreU(out, FourPixels(from + offsets[0], from + offsets[1], from + offsets[2], from + offsets[3]));
    return x;
}

int32_t CopyStridedSse2(const uint8_t* in, ptrdiff_t step, int32_t count, uint8_t* out, bool roomAfter)
{
    const int32_t groupEnd = roomAfter ? count : count - 2;
    int32_t x = 0;
    for (; x + 4 <= groupEnd; x += 4, out += 12, in += 4 * step)
        StoreU(out, FourPixels(in, in + step, in + 2 * step, in + 3 * step));
    return x;
}

#endif

} // namespace

bool GeometryUsesSse2() { return g_useSse2; }

bool SetGeometryUsesSse2(bool use)
{
    g_useSse2 = use && GEOMETRY_HAVE_SSE2;
    return g_useSse2;
}

void ReverseRow24(const uint8_t* in, uint8_t* out, int32_t width, uint8_t* scratch)
{
    int32_t done = 0;
#if GEOMETRY_HAVE_SSE2
    if (g_useSse2)
        done = ReverseRowSse2(in, out, width, scratch);
#else
    (void)scratch;
#endif
    ReverseRowPlain(in, out, done, width);
}

void AverageRowPair(const uint8_t* a, const uint8_t* b, int32_t bytes, uint8_t* half, uint8_t* quarter,
                    uint8_t* scratch)
{
    int32_t done = 0;
#if GEOMETRY_HAVE_SSE2
    if (g_useSse2)
        done = AverageRowPairSse2(a, b, bytes, half, quarter, scratch);
#else
    (void)scratch;
#endif
    AverageRowPairPlain(a, b, done, bytes, half, quarter);
}

void AverageRowAlone(const uint8_t* a, int32_t bytes, uint8_t* half, uint8_t* quarter)
{
    // A row averaged with itself is itself; with the pixel to the right,
    // (2a + 2a') >> 2 = (a + a') >> 1.
    memcpy(half, a, size_t(bytes));
    int32_t done = 0;
#if GEOMETRY_HAVE_SSE2
    if (g_useSse2)
        done = AverageRowAloneSse2(a, bytes, quarter);
#endif
    AverageRowAlonePlain(a, done, bytes, quarter);
}

void GatherPixels24(const uint8_t* from, const int32_t* offsets, int32_t count, uint8_t* out)
{
    if (count < 1)
        return;
    int32_t x = 0;
#if GEOMETRY_HAVE_SSE2
    if (g_useSse2)
        x = GatherPixelsSse2(from, offsets, count, out);
#endif
    // Four bytes at a time: the fourth lands on the next pixel's place and
    // is overwritten by it; the last pixel is written by its three bytes.
    for (; x < count - 1; ++x)
        Store4(out + 3 * size_t(x), Load4(from + offsets[x]));
    Copy3(out + 3 * size_t(count - 1), from + offsets[count - 1]);
}

void CopyStrided24(const uint8_t* in, ptrdiff_t step, int32_t count, uint8_t* out, bool roomAfter)
{
    int32_t x = 0;
#if GEOMETRY_HAVE_SSE2
    if (g_useSse2)
        x = CopyStridedSse2(in, step, count, out, roomAfter);
#endif
    in += x * step;
    out += 3 * size_t(x);
    for (; x < count - 1; ++x, in += step, out += 3)
        Store4(out, Load4(in));
    if (x < count) {
        if (roomAfter)
            Store4(out, Load4(in));
        else
            Copy3(out, in);
    }
}
