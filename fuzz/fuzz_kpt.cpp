// libFuzzer target: the KPT reader over arbitrary bytes (FuzzRoundTrip.h);
// a note it reads ends with a NUL right after its length.
#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::CheckReader("fuzz.kpt", data, size, nullptr);
    ImageRecord record = ImportImageMemory("fuzz.kpt", data, size);
    if (record.hNote) {
        size_t length = size_t(record.noteLength);
        BlockLock note(record.hNote);
        if (GlobalSize(record.hNote) != length + 1 || note.data()[length] != 0) abort();
    }
    FreeRecordBlocks(record);
    return 0;
}
