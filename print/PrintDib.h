// The print library's own bitmap routines: header and row sizes, a copy of a
// global block, the fixed 16-colour table. The library carries these itself
// rather than linking the format library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../formats/DibLayout.h"
#include "../framework/kernel/KernelApi.h"

namespace pagent {

using ::DibColor;
using ::DibHeader;

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
