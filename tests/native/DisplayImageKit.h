// Helpers for the image-object tests: small images of any depth with pixels
// and colour-table entries set and read one at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "capture/core/image/DisplayImage.h"
#include "formats/DibHelpers.h"

namespace imagekit {

// Gives image zero-filled blocks of the shape.
inline void Shape(DisplayImage& image, int32_t width, int32_t height, int bits)
{
    image.width = width;
    image.height = height;
    image.bitCount = static_cast<uint16_t>(bits);
    image.CreateHeader();
    image.hPixels = GlobalAlloc(GHND, image.GetBitsSize());
}

inline uint8_t* PixelRow(const DisplayImage& image, const BlockLock& lock, int32_t storedRow)
{
    return lock.data() + size_t(storedRow) * image.GetRowStride();
}

// Palette index (1, 4, 8 bits) or 0xBBGGRR (24, 32 bits) at a stored row.
inline void SetPixel(DisplayImage& image, int32_t x, int32_t y, uint32_t value)
{
    BlockLock lock(image.hPixels);
    uint8_t* row = PixelRow(image, lock, y);
    switch (image.bitCount) {
    case 1:
        row[x / 8] = uint8_t((row[x / 8] & ~(0x80 >> x % 8)) | (value ? 0x80 >> x % 8 : 0));
        break;
    case 4:
        row[x / 2] = uint8_t(x % 2 ? (row[x / 2] & 0xF0) | value : (row[x / 2] & 0x0F) | value << 4);
        break;
    case 8: row[x] = uint8_t(value); break;
    case 24: row[3 * x] = uint8_t(value); row[3 * x + 1] = uint8_t(value >> 8); row[3 * x + 2] = uint8_t(value >> 16); break;
    case 32: row[4 * x] = uint8_t(value); row[4 * x + 1] = uint8_t(value >> 8); row[4 * x + 2] = uint8_t(value >> 16); break;
    }
}

inline uint32_t GetPixel(const DisplayImage& image, int32_t x, int32_t y)
{
    BlockLock lock(image.hPixels);
    const uint8_t* row = PixelRow(image, lock, y);
    switch (image.bitCount) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4;
    case 8: return row[x];
    case 24: return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
    case 32: return row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16;
    }
    return 0;
}

// 0xBBGGRR of entries and pixels alike.
inline uint32_t Bgr(uint8_t red, uint8_t green, uint8_t blue) { return blue | green << 8 | red << 16; }

inline void SetEntry(DisplayImage& image, int index, uint8_t red, uint8_t green, uint8_t blue)
{
    BlockLock lock(image.hHeader);
    reinterpret_cast<DibColor*>(lock.data() + 40)[index] = {blue, green, red, 0};
}

inline DibColor Entry(const DisplayImage& image, int index)
{
    BlockLock lock(image.hHeader);
    return reinterpret_cast<const DibColor*>(lock.data() + 40)[index];
}

inline const DibHeader Header(const DisplayImage& image)
{
    BlockLock lock(image.hHeader);
    return *lock.as<DibHeader>();
}

// A copy of a block's bytes.
inline std::vector<uint8_t> Bytes(HGLOBAL block)
{
    BlockLock lock(block);
    return std::vector<uint8_t>(lock.data(), lock.data() + GlobalSize(block));
}

} // namespace imagekit
