// The layout of a device-independent bitmap's information header and
// colour-table entries, as stored in files and header blocks. Header-only, so
// that the print library shares it without linking the format library.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
// The 40-byte bitmap information header.
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
