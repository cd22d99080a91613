#include "PrintDib.h"

#include <cstring>

namespace pagent {

uint32_t AlignRowBytes(uint32_t bits)
{
    return ((bits + 31) / 32) * 4;
}

uint32_t GetPaletteEntryCount(int bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

uint32_t GetDibHeaderSize(int bitCount)
{
    return sizeof(DibHeader) + GetPaletteEntryCount(bitCount) * sizeof(DibColor);
}

HGLOBAL DuplicateGlobalBlock(HGLOBAL block, size_t bytes)
{
    HGLOBAL copy = GlobalAlloc(GHND, bytes ? bytes : 1);
    if (!copy)
        return 0;
    size_t available = block ? GlobalSize(block) : 0;
    size_t taken = available < bytes ? available : bytes;
    void* to = GlobalLock(copy);
    const void* from = taken ? GlobalLock(block) : nullptr;
    if (to && from)
        memcpy(to, from, taken);
    if (from)
        GlobalUnlock(block);
    if (to)
        GlobalUnlock(copy);
    return copy;
}

const DibColor kStandard16Colors[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

}  // namespace pagent
