// One forward 1-D transform of the scaled 8 x 8 transform, for any type
// with +, - and * by a float: float, four floats, eight floats. Every form
// does the same operations in the same order, so all give the same bits.
#pragma once

namespace jpeg_dct {

constexpr float kCos4 = 0.707106781f;
constexpr float kCos6 = 0.382683433f;
constexpr float kCos2MinusCos6 = 0.541196100f;
constexpr float kCos2PlusCos6 = 1.306562965f;

template <class T>
__attribute__((always_inline)) inline void Forward1D(T& x0, T& x1, T& x2, T& x3, T& x4, T& x5, T& x6, T& x7) {
    T tmp0 = x0 + x7, tmp7 = x0 - x7;
    T tmp1 = x1 + x6, tmp6 = x1 - x6;
    T tmp2 = x2 + x5, tmp5 = x2 - x5;
    T tmp3 = x3 + x4, tmp4 = x3 - x4;

    T tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    T tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    x0 = tmp10 + tmp11;
    x4 = tmp10 - tmp11;
    T z1 = (tmp12 + tmp13) * kCos4;
    x2 = tmp13 + z1;
    x6 = tmp13 - z1;

    T odd10 = tmp4 + tmp5, odd11 = tmp5 + tmp6, odd12 = tmp6 + tmp7;
    T z5 = (odd10 - odd12) * kCos6;
    T z2 = odd10 * kCos2MinusCos6 + z5;
    T z4 = odd12 * kCos2PlusCos6 + z5;
    T z3 = odd11 * kCos4;
    T z11 = tmp7 + z3, z13 = tmp7 - z3;
    x5 = z13 + z2;
    x3 = z13 - z2;
    x1 = z11 + z4;
    x7 = z11 - z4;
}

}  // namespace jpeg_dct
