// libFuzzer target: the PNG reader over arbitrary bytes, once as they come
// and once with every chunk's checksum made right, so that mutations reach
// the header, note and scanline code behind the checksum test. Every block
// it allocates must be in the record on success or freed on failure.
#include <cstdlib>
#include <vector>
#include <zlib.h>

#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

namespace {

constexpr uint32_t kWriteCheckBytes = 1u << 20;

void FixChecksums(std::vector<uint8_t>& file) {
    for (size_t at = 8; at + 12 <= file.size();) {
        uint32_t length = uint32_t(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (length > file.size() - at - 12) break;
        uint32_t crc = uint32_t(crc32(0, &file[at + 4], uInt(length) + 4));
        for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
        at += size_t(length) + 12;
    }
}

void ReadOnce(const uint8_t* data, size_t size) {
    size_t blocksBefore = KernelLiveBlockCount();
    ImageRecord record = ImportImageMemory("fuzz.png", data, size);
    if (record.error == 0 && record.hBits) {
        // A decoded image must be as large as its record says, a note must
        // end with its NUL, and the writer must take what the reader gave.
        if (GlobalSize(record.hBits) < GetDibImageSize(record)) abort();
        if (record.hNote) {
            BlockLock note(record.hNote);
            if (note.data()[GlobalSize(record.hNote) - 1] != 0) abort();
        }
        // Large pictures are left out of the write: compressing them costs
        // more time than their pixels teach.
        MemorySink sink;
        if (GetDibImageSize(record) <= kWriteCheckBytes && RunWriter(WritePngFile, record, sink) != 0) abort();
    } else if (record.error == 0 || record.hBits || record.hInfo || record.hNote) {
        abort();  // a failure must say so and leave nothing behind
    }
    FreeRecordBlocks(record);
    if (KernelLiveBlockCount() != blocksBefore) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadOnce(data, size);
    std::vector<uint8_t> fixed(data, data + size);
    FixChecksums(fixed);
    ReadOnce(fixed.data(), fixed.size());
    return 0;
}
