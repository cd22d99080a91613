// The suite's own image files (.KPT), read only: a 16-byte header, the
// header block as it stood in memory, run-length packed rows (raw for 24
// bits) and the image's note text.
#include <algorithm>
#include <cstring>

#include "Codecs.h"
#include "DibHelpers.h"

namespace {

constexpr uint16_t kKptMagic = 0xFF01;

}  // namespace

// Control byte n: 0 ends the data; with the high bit set the next byte is
// repeated n & 0x7F times; otherwise n literal bytes follow. Nothing is
// written past `capacity` and nothing read past `bytes`.
size_t UnpackKptRuns(const uint8_t* data, size_t bytes, uint8_t* out, size_t capacity) {
    size_t in = 0, done = 0;
    while (in < bytes && done < capacity) {
        uint8_t control = data[in++];
        if (control == 0) break;
        size_t count = control & 0x7F;
        if (control & 0x80) {
            if (in >= bytes) break;
            uint8_t value = data[in++];
            count = std::min(count, capacity - done);
            memset(out + done, value, count);
        } else {
            count = std::min({count, bytes - in, capacity - done});
            memcpy(out + done, data + in, count);
            in += control;
        }
        done += count;
    }
    return done;
}

void ReadKptFile(ByteView& file, ImageRecord& record) {
    if (file.size() < 16 || file.u16le() != kKptMagic) Fail(kErrKpt);
    int32_t width = file.u16le();
    int32_t height = file.u16le();
    int bitCount = file.u16le();
    uint32_t pixelBytes = file.u32le();
    uint32_t noteLength = file.u32le();
    uint32_t imageBytes = 0;
    if (bitCount == 32 || !CheckedDibImageSize(width, height, bitCount, &imageBytes)) Fail(kErrKpt);

    uint32_t headerBytes = GetDibHeaderSize(bitCount);
    const uint8_t* headerBlock = file.take(headerBytes);
    if (pixelBytes > file.remaining()) Fail(kErrKpt);
    const uint8_t* packed = file.take(pixelBytes);
    if (noteLength > file.remaining()) Fail(kErrKpt);
    const uint8_t* note = file.take(noteLength);
    // A pair of packed bytes gives at most 127 bytes; 24-bit pixels are raw.
    if (!ImageFitsData(imageBytes, pixelBytes, bitCount == 24 ? 1 : 64)) Fail(kErrKpt);

    GlobalBlock info = GlobalBlock::Allocate(headerBytes);
    GlobalBlock bits = GlobalBlock::Allocate(imageBytes);
    GlobalBlock text;
    {
        BlockLock infoLock(info.get());
        memcpy(infoLock.data(), headerBlock, headerBytes);
        record.width = width;
        record.height = height;
        record.bitCount = uint16_t(bitCount);
        // The header describes the image the record holds, whatever was stored.
        DibHeader header = DescribeRecordDib(record, headerBlock);
        memcpy(infoLock.data(), &header, sizeof header);

        BlockLock bitsLock(bits.get());
        if (bitCount == 24)
            memcpy(bitsLock.data(), packed, std::min(pixelBytes, imageBytes));
        else
            UnpackKptRuns(packed, pixelBytes, bitsLock.data(), imageBytes);
    }
    if (noteLength > 0) {
        text = GlobalBlock::Allocate(size_t(noteLength) + 1);
        BlockLock textLock(text.get());
        memcpy(textLock.data(), note, noteLength);
    }
    record.hInfo = info.release();
    record.hBits = bits.release();
    record.hNote = text.release();
    record.noteLength = int32_t(noteLength);
}
