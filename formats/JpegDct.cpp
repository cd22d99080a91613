#include "JpegDct.h"

#include "JpegTables.h"

namespace {

// Constants in 12-bit fixed point.
constexpr int32_t kSqrt2 = 5793;          // 1.414213562
constexpr int32_t k2Cos2 = 7568;          // 1.847759065 = 2 cos(pi/8)
constexpr int32_t k2Cos2MinusCos6 = 4433; // 1.082392200
constexpr int32_t k2Cos2PlusCos6 = 10703; // 2.613125930
constexpr int32_t kCos4 = 2896;           // 0.707106781
constexpr int32_t kCos6 = 1567;           // 0.382683433
constexpr int32_t kCos2MinusCos6 = 2217;  // 0.541196100
constexpr int32_t kCos2PlusCos6 = 5352;   // 1.306562965

inline int32_t Mul(int32_t value, int32_t constant) { return (value * constant + 2048) >> 12; }

// The column pass leaves values no well-made file exceeds; the clamp keeps
// corrupt coefficients from overflowing the row pass.
constexpr int32_t kColumnLimit = 1 << 16;
inline int32_t ClampColumn(int32_t v) { return v < -kColumnLimit ? -kColumnLimit : v > kColumnLimit ? kColumnLimit : v; }

inline uint8_t ClampSample(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// One inverse 1-D transform of x[0], x[s], ... x[7 s] in place.
template <int S>
inline void Inverse1D(int32_t* x) {
    int32_t tmp10 = x[0] + x[4 * S];
    int32_t tmp11 = x[0] - x[4 * S];
    int32_t tmp13 = x[2 * S] + x[6 * S];
    int32_t tmp12 = Mul(x[2 * S] - x[6 * S], kSqrt2) - tmp13;
    int32_t even0 = tmp10 + tmp13, even3 = tmp10 - tmp13;
    int32_t even1 = tmp11 + tmp12, even2 = tmp11 - tmp12;

    int32_t z13 = x[5 * S] + x[3 * S], z10 = x[5 * S] - x[3 * S];
    int32_t z11 = x[1 * S] + x[7 * S], z12 = x[1 * S] - x[7 * S];
    int32_t odd7 = z11 + z13;
    int32_t odd11 = Mul(z11 - z13, kSqrt2);
    int32_t z5 = Mul(z10 + z12, k2Cos2);
    int32_t odd10 = z5 - Mul(z12, k2Cos2MinusCos6);
    int32_t odd12 = z5 - Mul(z10, k2Cos2PlusCos6);
    int32_t odd6 = odd12 - odd7;
    int32_t odd5 = odd11 - odd6;
    int32_t odd4 = odd10 - odd5;

    x[0] = even0 + odd7;
    x[7 * S] = even0 - odd7;
    x[1 * S] = even1 + odd6;
    x[6 * S] = even1 - odd6;
    x[2 * S] = even2 + odd5;
    x[5 * S] = even2 - odd5;
    x[3 * S] = even3 + odd4;
    x[4 * S] = even3 - odd4;
}

template <int S>
inline void Forward1D(int32_t* x) {
    int32_t tmp0 = x[0] + x[7 * S], tmp7 = x[0] - x[7 * S];
    int32_t tmp1 = x[1 * S] + x[6 * S], tmp6 = x[1 * S] - x[6 * S];
    int32_t tmp2 = x[2 * S] + x[5 * S], tmp5 = x[2 * S] - x[5 * S];
    int32_t tmp3 = x[3 * S] + x[4 * S], tmp4 = x[3 * S] - x[4 * S];

    int32_t tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    int32_t tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    x[0] = tmp10 + tmp11;
    x[4 * S] = tmp10 - tmp11;
    int32_t z1 = Mul(tmp12 + tmp13, kCos4);
    x[2 * S] = tmp13 + z1;
    x[6 * S] = tmp13 - z1;

    int32_t odd10 = tmp4 + tmp5, odd11 = tmp5 + tmp6, odd12 = tmp6 + tmp7;
    int32_t z5 = Mul(odd10 - odd12, kCos6);
    int32_t z2 = Mul(odd10, kCos2MinusCos6) + z5;
    int32_t z4 = Mul(odd12, kCos2PlusCos6) + z5;
    int32_t z3 = Mul(odd11, kCos4);
    int32_t z11 = tmp7 + z3, z13 = tmp7 - z3;
    x[5 * S] = z13 + z2;
    x[3 * S] = z13 - z2;
    x[1 * S] = z11 + z4;
    x[7 * S] = z11 - z4;
}

}  // namespace

int32_t InverseDctFactor(int k) {
    constexpr int kShift = 12 - kDctFractionBits;
    return (kAanScale12[k / 8] * kAanScale12[k % 8] + (1 << (kShift - 1))) >> kShift;
}

void InverseDct(int32_t* block, uint8_t* out, int stride) {
    for (int column = 0; column < 8; ++column) {
        int32_t* x = block + column;
        if ((x[8] | x[16] | x[24] | x[32] | x[40] | x[48] | x[56]) == 0) {
            // Only the DC term: the column is flat.
            x[8] = x[16] = x[24] = x[32] = x[40] = x[48] = x[56] = x[0];
            continue;
        }
        Inverse1D<8>(x);
        for (int i = 0; i < 64; i += 8) x[i] = ClampColumn(x[i]);
    }
    // Rounding and the level shift of 128 go in before the last shift.
    constexpr int kShift = kDctFractionBits + 3;
    constexpr int32_t kBias = (128 << kShift) + (1 << (kShift - 1));
    for (int row = 0; row < 8; ++row, out += stride) {
        int32_t* x = block + row * 8;
        x[0] += kBias;
        if ((x[1] | x[2] | x[3] | x[4] | x[5] | x[6] | x[7]) == 0) {
            uint8_t flat = ClampSample(x[0] >> kShift);
            for (int i = 0; i < 8; ++i) out[i] = flat;
            continue;
        }
        Inverse1D<1>(x);
        for (int i = 0; i < 8; ++i) out[i] = ClampSample(x[i] >> kShift);
    }
}

void ForwardDct(int32_t* block) {
    for (int row = 0; row < 8; ++row) Forward1D<1>(block + row * 8);
    for (int column = 0; column < 8; ++column) Forward1D<8>(block + column);
}

double ForwardDctDivisor(int k, int quant) {
    double su = kAanScale12[k / 8] / 4096.0, sv = kAanScale12[k % 8] / 4096.0;
    return quant * 8.0 * su * sv * (1 << kDctFractionBits);
}
