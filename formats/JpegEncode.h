// The JPEG writer's quantisation tables.
#pragma once

#include <cstdint>

struct JpegQuantTables {
    uint16_t entries[2][64];  // luminance, chrominance; natural order
    bool sixteenBit[2];       // a table with an entry of 256 or more
};

// The example tables scaled by a quality of 1 to 100 (clamped).
void SetJpegQuality(int quality, JpegQuantTables& tables);

// The quality every file is written at.
constexpr int kJpegWriteQuality = 45;
