// Single pixels of a stored row at 1, 4, 8 or 24 bits, as the geometry,
// merge and cropping operations move them: 1-bit pixels from the high bit,
// 4-bit pixels from the high nibble, 24-bit pixels blue, green, red (a value
// here packs them as blue | green << 8 | red << 16).
#pragma once

#include <cstdint>
#include <cstring>

inline uint32_t PixelAt(const uint8_t* row, int32_t x, int bitCount)
{
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8: return row[x];
    default: {
        const uint8_t* p = row + 3 * size_t(x);
        return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    }
}

inline void SetPixelAt(uint8_t* row, int32_t x, int bitCount, uint32_t value)
{
    switch (bitCount) {
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>(value & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case 4: {
        uint8_t& byte = row[x >> 1];
        byte = static_cast<uint8_t>((x & 1) ? (byte & 0xF0) | (value & 0x0F) : (byte & 0x0F) | (value & 0x0F) << 4);
        break;
    }
    case 8: row[x] = static_cast<uint8_t>(value); break;
    default: {
        uint8_t* p = row + 3 * size_t(x);
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
    }
    }
}

// 24-bit pixels moved as 4-byte words where the fourth byte read still lies
// in the block and the fourth byte written belongs to a pixel written later.
inline uint32_t Load4(const uint8_t* p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}
inline void Store4(uint8_t* p, uint32_t v) { memcpy(p, &v, 4); }
// One 24-bit pixel by its three bytes.
inline void Copy3(uint8_t* to, const uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// Copies count pixels from column fromX of one row to column toX of another
// (same depth); whole bytes at 8 and 24 bits.
inline void CopyPixels(const uint8_t* from, int32_t fromX, uint8_t* to, int32_t toX, int32_t count, int bitCount)
{
    if (bitCount == 8 || bitCount == 24) {
        const size_t bytes = bitCount / 8;
        memcpy(to + bytes * size_t(toX), from + bytes * size_t(fromX), bytes * size_t(count));
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        SetPixelAt(to, toX + i, bitCount, PixelAt(from, fromX + i, bitCount));
}
