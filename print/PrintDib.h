// The print library's own bitmap routines: header and row sizes, a copy of a
// global block, the fixed 16-colour table. The library carries these itself
// rather than linking the format library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../framework/kernel/KernelApi.h"

namespace pagent {

#pragma pack(push, 1)
// The 40-byte bitmap information header at the start of a header block.
struct DibHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};
// A colour-table entry: blue, green, red, 0.
struct DibColor {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(DibHeader) == 40, "info header is 40 bytes");

// Bytes of a row of the given number of bits, padded to whole 32-bit words.
uint32_t AlignRowBytes(uint32_t bits);
// Colour-table entries of a depth: 2, 16 or 256, none above 8 bits.
uint32_t GetPaletteEntryCount(int bitCount);
// The 40-byte header plus the colour table.
uint32_t GetDibHeaderSize(int bitCount);
// A movable copy of the first bytes of a block (zero-filled past the
// source's end); 0 when allocation fails.
HGLOBAL DuplicateGlobalBlock(HGLOBAL block, size_t bytes);

// The standard 16 colours in index order (black ... white).
extern const DibColor kStandard16Colors[16];

}  // namespace pagent
