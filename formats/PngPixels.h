// Conversion between a PNG file's samples and a record's pixels.
//
// 32-bit records hold blue, green, red and a fourth byte. The fourth byte is
// the pixel's transparency, 255 - alpha, so that the 0 every other part of
// the suite leaves there (screen captures, bitmap files) means opaque:
//   record B, G, R, X  <->  file R, G, B, alpha = 255 - X
// and a grey-with-alpha file reads as G, G, G, 255 - alpha. The mapping is
// its own inverse, so every 32-bit record survives a write and a read.
#pragma once

#include <cstdint>

#include "PngScanlines.h"

// Puts `count` pixels of an unfiltered scanline at columns x0, x0 + dx, ...
// of a record row (whose bytes there are zero).
void PlacePngPixels(const PngImageLayout& layout, const uint8_t* line, uint32_t count, uint8_t* out, uint32_t x0,
                    uint32_t dx);

// One record row of `width` pixels as the samples of a written scanline:
// packed indices (padding bits cleared), R G B, or R G B alpha.
void PackPngScanline(const uint8_t* row, int recordBits, uint32_t width, uint8_t* line);
