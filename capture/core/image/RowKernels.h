// The geometry operations' hot row loops over 24-bit pixels, in two forms:
// plain code, and SSE2 code where the compiler targets SSE2 (the product's
// builds). Both give exactly the same bytes; the plain form stays for other
// builds and as the reference the SSE2 form is checked against.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#define GEOMETRY_HAVE_SSE2 1
#else
#define GEOMETRY_HAVE_SSE2 0
#endif

// True while the SSE2 forms are used (the default where they exist).
bool GeometryUsesSse2();
// Chooses the form; the SSE2 one only where it exists. Returns the choice.
bool SetGeometryUsesSse2(bool use);

// The row's `width` pixels in reverse order. `scratch` holds 3 x width + 4
// bytes; in and out do not overlap.
void ReverseRow24(const uint8_t* in, uint8_t* out, int32_t width, uint8_t* scratch);

// The averages of two rows of `bytes` bytes, byte by byte: half[k] =
// (a[k] + b[k]) >> 1, and with the pixel to the right, quarter[k] =
// (a[k] + a[k + 3] + b[k] + b[k + 3]) >> 2 for k < bytes - 3. `scratch`
// holds bytes + 16 bytes.
void AverageRowPair(const uint8_t* a, const uint8_t* b, int32_t bytes, uint8_t* half, uint8_t* quarter,
                    uint8_t* scratch);

// AverageRowPair of a row with itself, without the lost low bits:
// half[k] = a[k], quarter[k] = (a[k] + a[k + 3]) >> 1.
void AverageRowAlone(const uint8_t* a, int32_t bytes, uint8_t* half, uint8_t* quarter);

// 24-bit pixels gathered from `from` at the byte offsets given, one per
// output pixel.
void GatherPixels24(const uint8_t* from, const int32_t* offsets, int32_t count, uint8_t* out);

// The `count` pixels at in, in + step, in + 2 x step, ... side by side from
// out. Each pixel read has a readable fourth byte after it. With roomAfter,
// the 4 bytes after the last pixel written may be scribbled on (they are
// written later).
void CopyStrided24(const uint8_t* in, ptrdiff_t step, int32_t count, uint8_t* out, bool roomAfter);
