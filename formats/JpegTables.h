// Fixed tables of the JPEG coding: the zig-zag order, the example
// quantisation and Huffman tables the writer uses, and the AAN scale factors
// the fast transforms fold into quantisation.
#pragma once

#include <cstdint>

// kZigZag[i] is the natural (row-major) index of the i-th coefficient in
// zig-zag order.
extern const uint8_t kZigZag[64];

// Example quantisation tables, natural order.
extern const uint8_t kLuminanceQuant[64];
extern const uint8_t kChrominanceQuant[64];

// A Huffman table as stored in a file: code counts by length 1 to 16 and the
// symbols in code order.
struct HuffmanSpec {
    uint8_t counts[16];
    uint8_t symbols[256];
    int symbolCount;
};

extern const HuffmanSpec kDcLuminanceSpec;
extern const HuffmanSpec kAcLuminanceSpec;
extern const HuffmanSpec kDcChrominanceSpec;
extern const HuffmanSpec kAcChrominanceSpec;

// sqrt(2) cos(k pi / 16) for k 1 to 7 and 1 for k 0, scaled by 2^12: the
// per-frequency factors of the scaled (AAN) transforms.
extern const int32_t kAanScale12[8];
