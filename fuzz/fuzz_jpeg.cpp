// libFuzzer target: the JPEG reader over arbitrary bytes. Every block it
// allocates must be in the record on success or freed on failure, and a
// decoded image must be as large as its record says and write back out.
#include <cstdlib>

#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t blocksBefore = KernelLiveBlockCount();
    ImageRecord record = ImportImageMemory("fuzz.jpg", data, size);
    if (record.error != 0 && record.error != kErrJpg && record.error != kErrNoMemory) abort();
    if (record.error == 0) {
        if (!record.hBits || GlobalSize(record.hBits) < GetDibImageSize(record)) abort();
        if (record.bitCount != 8 && record.bitCount != 24) abort();
        // Large pictures are not written back: that would only slow the run.
        if (uint64_t(record.width) * record.height <= 256 * 256) {
            MemorySink sink;
            if (RunWriter(WriteJpegFile, record, sink) != 0) abort();
        }
    }
    FreeRecordBlocks(record);
    if (KernelLiveBlockCount() != blocksBefore) abort();
    return 0;
}
