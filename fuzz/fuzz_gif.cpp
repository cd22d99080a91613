// libFuzzer target: the GIF reader over arbitrary bytes. Every block it
// allocates must be in the record on success or freed on failure, and a
// decoded image must survive both writers and read back unchanged.
#include <cstdlib>
#include <cstring>

#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

namespace {

bool SamePixels(const ImageRecord& a, const ImageRecord& b) {
    uint32_t bytes = GetDibImageSize(a);
    if (bytes != GetDibImageSize(b) || a.bitCount != b.bitCount) return false;
    BlockLock x(a.hBits), y(b.hBits);
    return memcmp(x.data(), y.data(), bytes) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t blocksBefore = KernelLiveBlockCount();
    ImageRecord record = ImportImageMemory("fuzz.gif", data, size);
    if (record.error == 0) {
        if (!record.hBits || GlobalSize(record.hBits) < GetDibImageSize(record)) abort();
        // Round trips of huge screens would only slow the search down.
        bool small = GetDibImageSize(record) <= (1u << 22);
        for (ImageWriter writer : {WriteGifFile, WriteGifFileInterlaced}) {
            if (!small) break;
            MemorySink sink;
            if (RunWriter(writer, record, sink) != 0) abort();
            ImageRecord back = ImportImageMemory("back.gif", sink.bytes().data(), sink.bytes().size());
            // Indices beyond the colour table were read as 0, so the pixels
            // written are the pixels read.
            if (back.error != 0 || !SamePixels(record, back)) abort();
            FreeRecordBlocks(back);
        }
    } else if (record.hBits || record.hInfo) {
        abort();
    }
    FreeRecordBlocks(record);
    if (KernelLiveBlockCount() != blocksBefore) abort();
    return 0;
}
