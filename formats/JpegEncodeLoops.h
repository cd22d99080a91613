// The JPEG writer's two hot loops as swappable pieces: colour conversion of
// two pixel rows at a time, and the transform and quantisation of a block.
// The plain and SSE2 forms live in JpegEncode.cpp, the AVX2 ones in a file
// of their own compiled for AVX2, used only where the processor offers it.
#pragma once

#include <cstdint>

#include "JpegSimd.h"

// Fixed-point colour conversion, 14 fraction bits.
constexpr int32_t kYR = 4899, kYG = 9617, kYB = 1868;
constexpr int32_t kCbR = -2764, kCbG = -5428, kCbB = 8192;
constexpr int32_t kCrR = 8192, kCrG = -6860, kCrB = -1332;

// Converts `count` pixels (a multiple of 16) of two rows of blue, green,
// red pixels (3 or 4 bytes each) to luminance - 128 for each row and the
// chrominance of each 2 x 2 group: the average of four values, rounded once.
using RowPairConverter = void (*)(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop,
                                  int16_t* lumBottom, int16_t* cb, int16_t* cr);

// Transforms the 8 x 8 samples at `samples` (rows `stride` apart) and
// quantises them by `reciprocal` (1 / divisor, natural order) into `out`;
// returns the mask of non-zero coefficients (bit n for natural index n).
using BlockTransform = uint64_t (*)(const int16_t* samples, int stride, const float* reciprocal, int16_t* out);

// What the coefficients are clamped to: what the example tables can code.
constexpr float kLargestCoded = 1023.0f;

uint64_t TransformBlockPlain(const int16_t* samples, int stride, const float* reciprocal, int16_t* out);
#if JPEG_HAVE_SSE2
uint64_t TransformBlockSse2(const int16_t* samples, int stride, const float* reciprocal, int16_t* out);
#endif

#if JPEG_HAVE_AVX2
void ConvertRowPairAvx2Bgr(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop, int16_t* lumBottom,
                           int16_t* cb, int16_t* cr);
void ConvertRowPairAvx2Bgrx(const uint8_t* top, const uint8_t* bottom, int count, int16_t* lumTop, int16_t* lumBottom,
                            int16_t* cb, int16_t* cr);
uint64_t TransformBlockAvx2(const int16_t* samples, int stride, const float* reciprocal, int16_t* out);
#endif
