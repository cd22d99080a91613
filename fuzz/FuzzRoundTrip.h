// What every reader's fuzz target checks: a refused file leaves no block
// behind, a read image is as large as its record says, and where the
// format has a writer the image survives being written and read again.
#pragma once

#include <cstdlib>
#include <cstring>

#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

namespace fuzzkit {

// Pixel value x of a row, whatever the depth; padding bits are not looked at.
inline uint32_t PixelAt(const uint8_t* row, int bitCount, int32_t x) {
    switch (bitCount) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return row[x];
    case 24: return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
    default: return row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | uint32_t(row[4 * x + 3]) << 24;
    }
}

// The same picture: size, depth, colour table and every pixel.
inline bool SameImage(const ImageRecord& a, const ImageRecord& b) {
    if (a.width != b.width || a.height != b.height || a.bitCount != b.bitCount) return false;
    uint32_t headerBytes = GetDibHeaderSize(a.bitCount), rowBytes = GetDibRowBytes(a);
    BlockLock infoA(a.hInfo), infoB(b.hInfo), bitsA(a.hBits), bitsB(b.hBits);
    if (memcmp(infoA.data() + 40, infoB.data() + 40, headerBytes - 40) != 0) return false;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            if (PixelAt(bitsA.data() + size_t(y) * rowBytes, a.bitCount, x) !=
                PixelAt(bitsB.data() + size_t(y) * rowBytes, a.bitCount, x))
                return false;
    return true;
}

// Reads `data` as a file named `name`; with a writer, writes what was read
// and reads it back. Aborts on any broken promise.
inline void CheckReader(const char* name, const uint8_t* data, size_t size, ImageWriter writer) {
    size_t blocksBefore = KernelLiveBlockCount();
    ImageRecord record = ImportImageMemory(name, data, size);
    if (record.error == 0) {
        if (!record.hBits || !record.hInfo || GlobalSize(record.hBits) < GetDibImageSize(record) ||
            GlobalSize(record.hInfo) < GetDibHeaderSize(record.bitCount))
            abort();
        // Round trips of huge images would only slow the search down.
        if (writer && GetDibImageSize(record) <= (1u << 22)) {
            MemorySink sink;
            if (RunWriter(writer, record, sink) != 0) abort();
            ImageRecord back = ImportImageMemory(name, sink.bytes().data(), sink.bytes().size());
            if (back.error != 0 || !SameImage(record, back)) abort();
            FreeRecordBlocks(back);
        }
    } else if (record.hBits || record.hInfo || record.hNote) {
        abort();
    }
    FreeRecordBlocks(record);
    if (KernelLiveBlockCount() != blocksBefore) abort();
}

}  // namespace fuzzkit
