// The PNG container shared by the reader and the writer: the signature,
// chunk types, the chunk checksum, the note keyword and the depth pairs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ByteSink.h"

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Chunk types as their four letters read big-endian.
constexpr uint32_t PngChunkType(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 | uint32_t(uint8_t(name[2])) << 8 |
           uint32_t(uint8_t(name[3]));
}
constexpr uint32_t kChunkIhdr = PngChunkType("IHDR");
constexpr uint32_t kChunkPlte = PngChunkType("PLTE");
constexpr uint32_t kChunkIdat = PngChunkType("IDAT");
constexpr uint32_t kChunkZtxt = PngChunkType("zTXt");
constexpr uint32_t kChunkIend = PngChunkType("IEND");

// The note travels in a zTXt chunk under this keyword.
constexpr char kPngNoteKeyword[] = "Kaptura";
constexpr size_t kPngNoteKeywordLength = sizeof kPngNoteKeyword - 1;

constexpr uint32_t kPngIhdrLength = 13;
constexpr uint32_t kPngIdatChunkBytes = 8192;  // data bytes of each written IDAT but the last
// Chunk lengths are 31-bit values in the PNG format.
constexpr uint32_t kPngMaxChunkLength = 0x7FFFFFFFu;

enum PngColorType : uint8_t {
    kPngGrey = 0,
    kPngRgb = 2,
    kPngPalette = 3,
    kPngGreyAlpha = 4,
    kPngRgbAlpha = 6,
};

// The pairs this codec reads: samples per pixel, and the record's depth,
// or 0 when the pair is refused.
struct PngPixelFormat {
    int samples;
    int recordBits;
};
PngPixelFormat GetPngPixelFormat(uint8_t colorType, uint8_t depth);

// CRC-32 of the PNG format (reflected polynomial 0xEDB88320). The table
// also holds seven derived tables so that eight bytes go per step.
struct PngCrcTable {
    uint32_t entries[8][256];
};
void MakePngCrcTable(PngCrcTable& table);
// Running checksum: start with 0xFFFFFFFF, invert the result.
uint32_t UpdatePngCrc(const PngCrcTable& table, uint32_t crc, const uint8_t* data, size_t bytes);

// Writes one whole chunk: length, type, data, checksum.
void WritePngChunk(ByteSink& out, const PngCrcTable& table, uint32_t type, const uint8_t* data, uint32_t length);
