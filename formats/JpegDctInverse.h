// One inverse 1-D transform of the scaled 8 x 8 transform, for any type
// with +, - and * by a float: float, four floats, eight floats. Every form
// does the same operations in the same order, so all give the same bits.
#pragma once

namespace jpeg_dct {

constexpr float kSqrt2 = 1.414213562f;
constexpr float k2Cos2 = 1.847759065f;  // 2 cos(pi/8)
constexpr float k2Cos2MinusCos6 = 1.082392200f;
constexpr float k2Cos2PlusCos6 = 2.613125930f;

// The level shift of 128 goes in through the DC term of the second pass;
// the outputs come out 8 times too large.
constexpr float kOutputScale = 1.0f / 8;
constexpr float kLevelBias = 128.0f * 8;

template <class T>
__attribute__((always_inline)) inline void Inverse1D(T& x0, T& x1, T& x2, T& x3, T& x4, T& x5, T& x6, T& x7) {
    T tmp10 = x0 + x4;
    T tmp11 = x0 - x4;
    T tmp13 = x2 + x6;
    T tmp12 = (x2 - x6) * kSqrt2 - tmp13;
    T even0 = tmp10 + tmp13, even3 = tmp10 - tmp13;
    T even1 = tmp11 + tmp12, even2 = tmp11 - tmp12;

    T z13 = x5 + x3, z10 = x5 - x3;
    T z11 = x1 + x7, z12 = x1 - x7;
    T odd7 = z11 + z13;
    T odd11 = (z11 - z13) * kSqrt2;
    T z5 = (z10 + z12) * k2Cos2;
    T odd10 = z5 - z12 * k2Cos2MinusCos6;
    T odd12 = z5 - z10 * k2Cos2PlusCos6;
    T odd6 = odd12 - odd7;
    T odd5 = odd11 - odd6;
    T odd4 = odd10 - odd5;

    x0 = even0 + odd7;
    x7 = even0 - odd7;
    x1 = even1 + odd6;
    x6 = even1 - odd6;
    x2 = even2 + odd5;
    x5 = even2 - odd5;
    x3 = even3 + odd4;
    x4 = even3 - odd4;
}

}  // namespace jpeg_dct
