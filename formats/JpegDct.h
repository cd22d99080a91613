// Scaled (Arai-Agui-Nakajima) 8 x 8 transforms in single-precision floating
// point. The per-frequency scale factors are folded into (de)quantisation,
// so each 1-D transform needs five multiplications.
#pragma once

#include <cstdint>

// Multiplier that turns a dequantised coefficient at natural index k into
// the inverse transform's input: s(u) s(v), the factors the scaled
// transform leaves out.
float InverseDctScale(int k);

// Inverse transform of scaled coefficients in natural order (any finite
// values: corrupt data may bring large ones); writes samples 0 to 255
// (level shift undone, rounded to nearest, ties to even), `stride` bytes
// between rows.
void InverseDct(const float* block, uint8_t* out, int stride);
// The plain form, whichever form InverseDct uses.
void InverseDctPlain(const float* block, uint8_t* out, int stride);
// A block whose only coefficient is DC, as InverseDct would write it.
void FillFlatBlock(float dc, uint8_t* out, int stride);

// Forward transform in place of 64 level-shifted samples (-128 to 127).
// Coefficient k comes out multiplied by 8 * s(u) * s(v), which
// ForwardDctDivisor folds into the quantisation step.
void ForwardDct(float* block);
void ForwardDctPlain(float* block);
// The SSE2 form, where the build targets SSE2; and the same from 8 rows of
// samples `stride` apart, written to `block`.
void ForwardDctSse2(float* block);
void ForwardDctSamplesSse2(const int16_t* samples, int stride, float* block);

// The divisor that turns forward-transform output k into the coefficient
// quantised by `quant`.
double ForwardDctDivisor(int k, int quant);
