// Scaled (Arai-Agui-Nakajima) 8 x 8 transforms in single-precision floating
// point. The per-frequency scale factors are folded into (de)quantisation,
// so each 1-D transform needs five multiplications.
#pragma once

#include <cstdint>

// Fraction bits of the dequantised coefficients the inverse transform takes.
constexpr int kDctFractionBits = 4;

// Largest dequantised coefficient a well-made file can carry is about 2048;
// larger values come only from corrupt data and are clamped to this.
constexpr int32_t kMaxDequantised = 2048;

// Multiplier that turns a dequantised coefficient at natural index k into
// the inverse transform's input: (value * factor) >> 12.
int32_t InverseDctFactor(int k);

// Inverse transform of coefficients in natural order, scaled by
// InverseDctFactor; writes samples 0 to 255 (level shift undone, rounded to
// nearest, ties to even), `stride` bytes between rows.
void InverseDct(const int32_t* block, uint8_t* out, int stride);
// The plain form, whichever form InverseDct uses.
void InverseDctPlain(const int32_t* block, uint8_t* out, int stride);

// Forward transform in place of 64 level-shifted samples (-128 to 127).
// Coefficient k comes out multiplied by 8 * s(u) * s(v), which
// ForwardDctDivisor folds into the quantisation step.
void ForwardDct(float* block);
void ForwardDctPlain(float* block);

// The divisor that turns forward-transform output k into the coefficient
// quantised by `quant`.
double ForwardDctDivisor(int k, int quant);
