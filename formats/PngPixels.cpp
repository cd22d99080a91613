#include "PngPixels.h"

#include <cstring>

#include "PngChunks.h"

namespace {

uint8_t Transparency(uint8_t alpha) { return uint8_t(255 - alpha); }

// Clears the bits of a packed row's last byte that lie past its pixels.
void ClearPaddingBits(uint8_t* row, uint32_t width, int bits) {
    uint32_t usedBits = uint32_t((uint64_t(width) * bits) % 8);
    if (usedBits) row[(uint64_t(width) * bits) / 8] &= uint8_t(0xFF00 >> usedBits);
}

// Samples of 1, 2, 4 or 8 bits, placed into 1-, 4- or 8-bit pixels.
void PlaceIndices(const PngImageLayout& layout, const uint8_t* line, uint32_t count, uint8_t* out, uint32_t x0,
                  uint32_t dx) {
    const int depth = layout.depth;
    if (dx == 1 && x0 == 0 && depth == layout.recordBits) {
        uint32_t bytes = uint32_t((uint64_t(count) * depth + 7) / 8);
        memcpy(out, line, bytes);
        ClearPaddingBits(out, count, depth);
        return;
    }
    const uint32_t mask = (1u << depth) - 1;
    for (uint32_t i = 0, x = x0; i < count; ++i, x += dx) {
        uint32_t bit = i * uint32_t(depth);
        uint8_t value = depth == 8 ? line[i] : uint8_t((line[bit / 8] >> (8 - depth - bit % 8)) & mask);
        switch (layout.recordBits) {
        case 1: out[x / 8] |= uint8_t(value << (7 - x % 8)); break;
        case 4: out[x / 2] |= uint8_t(value << (x % 2 ? 0 : 4)); break;
        default: out[x] = value; break;
        }
    }
}

}  // namespace

void PlacePngPixels(const PngImageLayout& layout, const uint8_t* line, uint32_t count, uint8_t* out, uint32_t x0,
                    uint32_t dx) {
    switch (layout.colorType) {
    case kPngRgb:
        out += size_t(x0) * 3;
        for (uint32_t i = 0; i < count; ++i, line += 3, out += size_t(dx) * 3) {
            out[0] = line[2];
            out[1] = line[1];
            out[2] = line[0];
        }
        return;
    case kPngRgbAlpha:
        out += size_t(x0) * 4;
        for (uint32_t i = 0; i < count; ++i, line += 4, out += size_t(dx) * 4) {
            out[0] = line[2];
            out[1] = line[1];
            out[2] = line[0];
            out[3] = Transparency(line[3]);
        }
        return;
    case kPngGreyAlpha:
        out += size_t(x0) * 4;
        for (uint32_t i = 0; i < count; ++i, line += 2, out += size_t(dx) * 4) {
            out[0] = out[1] = out[2] = line[0];
            out[3] = Transparency(line[1]);
        }
        return;
    default: PlaceIndices(layout, line, count, out, x0, dx); return;
    }
}

void PackPngScanline(const uint8_t* row, int recordBits, uint32_t width, uint8_t* line) {
    switch (recordBits) {
    case 24:
        for (uint32_t x = 0; x < width; ++x, row += 3, line += 3) {
            line[0] = row[2];
            line[1] = row[1];
            line[2] = row[0];
        }
        return;
    case 32:
        for (uint32_t x = 0; x < width; ++x, row += 4, line += 4) {
            line[0] = row[2];
            line[1] = row[1];
            line[2] = row[0];
            line[3] = Transparency(row[3]);
        }
        return;
    default:
        memcpy(line, row, size_t((uint64_t(width) * recordBits + 7) / 8));
        ClearPaddingBits(line, width, recordBits);
        return;
    }
}
