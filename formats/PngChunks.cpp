#include "PngChunks.h"

PngPixelFormat GetPngPixelFormat(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
    case kPngGrey:
    case kPngPalette:
        if (depth == 1 || depth == 4 || depth == 8) return {1, depth};
        if (depth == 2) return {1, 4};  // 2-bit samples widen to nibbles
        return {1, 0};
    case kPngRgb: return {3, depth == 8 ? 24 : 0};
    case kPngGreyAlpha: return {2, depth == 8 ? 32 : 0};
    case kPngRgbAlpha: return {4, depth == 8 ? 32 : 0};
    default: return {0, 0};
    }
}

void MakePngCrcTable(PngCrcTable& table) {
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table.entries[0][n] = c;
    }
    // entries[k][n]: the checksum step of byte n followed by k zero bytes.
    for (int k = 1; k < 8; ++k)
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = table.entries[k - 1][n];
            table.entries[k][n] = (c >> 8) ^ table.entries[0][c & 0xFF];
        }
}

uint32_t UpdatePngCrc(const PngCrcTable& table, uint32_t crc, const uint8_t* data, size_t bytes) {
    const auto& t = table.entries;
    for (; bytes >= 8; bytes -= 8, data += 8) {
        uint32_t low = crc ^ (data[0] | data[1] << 8 | data[2] << 16 | uint32_t(data[3]) << 24);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
    }
    for (; bytes > 0; --bytes, ++data) crc = t[0][(crc ^ *data) & 0xFF] ^ (crc >> 8);
    return crc;
}

void WritePngChunk(ByteSink& out, const PngCrcTable& table, uint32_t type, const uint8_t* data, uint32_t length) {
    uint8_t typeBytes[4] = {uint8_t(type >> 24), uint8_t(type >> 16), uint8_t(type >> 8), uint8_t(type)};
    uint32_t crc = UpdatePngCrc(table, 0xFFFFFFFFu, typeBytes, 4);
    if (length > 0) crc = UpdatePngCrc(table, crc, data, length);
    out.u32be(length);
    out.write(typeBytes, 4);
    if (length > 0) out.write(data, length);
    out.u32be(~crc);
}
