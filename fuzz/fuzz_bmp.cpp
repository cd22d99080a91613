// libFuzzer target: the BMP reader over arbitrary bytes. Every block it
// allocates must be in the record on success or freed on failure.
#include <cstdlib>

#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t blocksBefore = KernelLiveBlockCount();
    ImageRecord record = ImportImageMemory("fuzz.bmp", data, size);
    if (record.error == 0 && record.hBits) {
        // A decoded image must be as large as its record says.
        if (GlobalSize(record.hBits) < GetDibImageSize(record)) abort();
        MemorySink sink;
        if (RunWriter(WriteBmpFile, record, sink) != 0) abort();
    }
    FreeRecordBlocks(record);
    if (KernelLiveBlockCount() != blocksBefore) abort();
    return 0;
}
