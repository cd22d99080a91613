// The JPEG reader's hot loops as swappable pieces: the inverse transform of
// a block and the colour conversion of rows of pixels. The plain and SSE2
// forms live in JpegDct.cpp and JpegDecodeColour.cpp, the AVX2 ones in a
// file of their own compiled for AVX2, used only where the processor offers
// it. The reader chooses its pieces once per picture.
#pragma once

#include <cstdint>

#include "JpegSimd.h"

// Inverse transform of a block as InverseDct does it.
using BlockInverse = void (*)(const float* block, uint8_t* out, int stride);
// The inverse transform of a form.
BlockInverse ChooseInverseDct(JpegForm form);

// YCbCr to RGB in 14-bit fixed point; every form computes the same sums.
constexpr int32_t kCrToRed = 22970;     // 1.402
constexpr int32_t kCbToBlue = 29032;    // 1.772
constexpr int32_t kCbToGreen = -5638;   // -0.34414
constexpr int32_t kCrToGreen = -11700;  // -0.71414
constexpr int kColourShift = 14;
constexpr int32_t kColourRound = 1 << (kColourShift - 1);

// One or two pixel rows sharing a row of chrominance samples, one per
// pixel or one per pixel pair.
struct ColourRows {
    uint8_t* out[2];  // blue, green, red pixels
    const uint8_t* lum[2];
    const uint8_t* cb;
    const uint8_t* cr;
    int count;  // 1 or 2 rows
};

// Converts `pixels` pixels of each row, a whole number of groups. It may
// overwrite 2 bytes past them, and may read samples up to the end of the
// group that holds the last pixel.
using ColourConverter = void (*)(const ColourRows& rows, int pixels);

struct ColourForm {
    ColourConverter convert;
    int group;  // pixels converted together
};
constexpr int kMaxColourGroup = 32;

// The colour conversion of a form, for chrominance halved across or not.
ColourForm ChooseColourConverter(JpegForm form, bool pairedChroma);

// One pixel of any sampling, as every converter computes it.
void StoreBgrPixel(uint8_t* out, int y, int cb, int cr);

#if JPEG_HAVE_AVX2
void InverseDctAvx2(const float* block, uint8_t* out, int stride);
void ConvertColourAvx2Paired(const ColourRows& rows, int pixels);
void ConvertColourAvx2Full(const ColourRows& rows, int pixels);
constexpr int kColourGroupAvx2 = 32;
#endif
