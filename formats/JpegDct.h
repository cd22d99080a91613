// Scaled (Arai-Agui-Nakajima) integer 8 x 8 transforms. The per-frequency
// scale factors are folded into quantisation, so each transform needs five
// multiplications per row or column.
#pragma once

#include <cstdint>

// Fraction bits of the coefficients the transforms take and give.
constexpr int kDctFractionBits = 4;

// Largest dequantised coefficient a well-made file can carry is about 2048;
// larger values come only from corrupt data and are clamped to this.
constexpr int32_t kMaxDequantised = 2048;

// Multiplier that turns a dequantised coefficient at natural index k into
// the inverse transform's input: (value * factor) >> 12.
int32_t InverseDctFactor(int k);

// Inverse transform of coefficients in natural order, scaled by
// InverseDctFactor (|value| <= kMaxDequantised before scaling); writes
// samples 0 to 255 (level shift undone), `stride` bytes between rows. The
// coefficient block is used as scratch.
void InverseDct(int32_t* block, uint8_t* out, int stride);

// Forward transform in place of 64 level-shifted samples (-128 to 127)
// given with kDctFractionBits fraction bits.
// Coefficient k comes out multiplied by 8 * s(u) * s(v) * 2^kDctFractionBits,
// which ForwardDctDivisor folds into the quantisation step.
void ForwardDct(int32_t* block);

// The divisor that turns forward-transform output k into the coefficient
// quantised by `quant`.
double ForwardDctDivisor(int k, int quant);
