#include "DibHelpers.h"

#include <cstring>

#include "ByteView.h"

const DibColor kStandard16Colors[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

uint32_t GetPaletteEntryCount(int bitCount) {
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

uint32_t GetDibHeaderSize(int bitCount) {
    switch (bitCount) {
    case 1: case 4: case 8: return 40 + 4 * GetPaletteEntryCount(bitCount);
    case 24: case 32: return 40;
    default: return 0;
    }
}

uint32_t AlignRowBytes(uint32_t bits) { return static_cast<uint32_t>((uint64_t(bits) + 31) / 32 * 4); }

uint32_t GetPackedRowBytes(int32_t width, int bitCount) {
    if (width <= 0) return 0;
    uint64_t w = static_cast<uint64_t>(width);
    switch (bitCount) {
    case 1: return static_cast<uint32_t>((w + 7) / 8);
    case 4: return static_cast<uint32_t>((w + 1) / 2);
    case 8: return static_cast<uint32_t>(w);
    case 24: return static_cast<uint32_t>(3 * w);
    default: return 0;
    }
}

static bool IsDibDepth(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

bool CheckedDibRowBytes(int32_t width, int bitCount, uint32_t* rowBytes) {
    if (width <= 0 || !IsDibDepth(bitCount)) return false;
    uint64_t bytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    if (bytes > kMaxImageBytes) return false;
    *rowBytes = static_cast<uint32_t>(bytes);
    return true;
}

bool CheckedDibImageSize(int32_t width, int32_t height, int bitCount, uint32_t* imageBytes) {
    uint32_t rowBytes = 0;
    if (height <= 0 || !CheckedDibRowBytes(width, bitCount, &rowBytes)) return false;
    uint64_t bytes = static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(height);
    if (bytes > kMaxImageBytes) return false;
    *imageBytes = static_cast<uint32_t>(bytes);
    return true;
}

bool ImageFitsData(uint64_t imageBytes, uint64_t dataBytes, uint32_t expansion) {
    constexpr uint64_t kCutOffAllowance = 4;
    return imageBytes <= kUncheckedImageBytes || imageBytes / kCutOffAllowance <= dataBytes * expansion;
}

void RequireWithinCap(uint64_t bytes, int errorId) {
    if (bytes > kMaxImageBytes) Fail(errorId);
}

uint32_t GetDibRowBytes(const ImageRecord& record) {
    uint32_t rowBytes = 0;
    return CheckedDibRowBytes(record.width, record.bitCount, &rowBytes) ? rowBytes : 0;
}

uint32_t GetDibImageSize(const ImageRecord& record) {
    uint32_t imageBytes = 0;
    return CheckedDibImageSize(record.width, record.height, record.bitCount, &imageBytes) ? imageBytes : 0;
}

bool RecordBlocksAreSound(const ImageRecord& record) {
    uint32_t imageBytes = 0;
    if (!CheckedDibImageSize(record.width, record.height, record.bitCount, &imageBytes)) return false;
    if (!record.hBits || !record.hInfo) return false;
    return GlobalSize(record.hBits) >= imageBytes &&
           GlobalSize(record.hInfo) >= GetDibHeaderSize(record.bitCount);
}

HGLOBAL AllocateDibHeader(int32_t width, int32_t height, int bitCount) {
    uint32_t headerBytes = GetDibHeaderSize(bitCount);
    if (headerBytes == 0) return 0;
    HGLOBAL block = GlobalAlloc(GHND, headerBytes);
    if (!block) return 0;
    BlockLock lock(block);
    DibHeader* header = lock.as<DibHeader>();
    header->size = 40;
    header->width = width;
    header->height = height;
    header->planes = 1;
    header->bitCount = uint16_t(bitCount);
    return block;
}

bool CreateDibHeader(ImageRecord& record) {
    HGLOBAL block = AllocateDibHeader(record.width, record.height, record.bitCount);
    if (!block) return false;
    record.hInfo = block;
    return true;
}

HGLOBAL DuplicateGlobalBlock(HGLOBAL block, size_t bytes) {
    if (!block || GlobalSize(block) < bytes) return 0;
    HGLOBAL copy = GlobalAlloc(GHND, bytes);
    if (!copy) return 0;
    BlockLock from(block), to(copy);
    memcpy(to.data(), from.data(), bytes);
    return copy;
}

DibHeader DescribeRecordDib(const ImageRecord& record, const uint8_t* headerBlock) {
    DibHeader header;
    memcpy(&header, headerBlock, sizeof header);
    header.size = 40;
    header.width = record.width;
    header.height = record.height;
    header.planes = 1;
    header.bitCount = record.bitCount;
    header.compression = 0;
    header.sizeImage = GetDibImageSize(record);
    header.clrUsed = 0;
    return header;
}

void SetGrayPalette(DibColor* table, uint32_t entries) {
    if (entries == 0) return;
    uint32_t step = 256 / entries;
    for (uint32_t i = 0; i < entries; ++i) {
        uint8_t level = static_cast<uint8_t>(i * step);
        table[i] = {level, level, level, 0};
    }
}

void FreeRecordBlocks(ImageRecord& record) {
    // The record is packed: its fields are used by value, never by address.
    if (record.hBits) GlobalFree(record.hBits);
    if (record.hInfo) GlobalFree(record.hInfo);
    if (record.hNote) GlobalFree(record.hNote);
    record.hBits = record.hInfo = record.hNote = 0;
    record.noteLength = 0;
}

GlobalBlock GlobalBlock::Allocate(size_t bytes) {
    HGLOBAL handle = GlobalAlloc(GHND, bytes);
    if (!handle) Fail(kErrNoMemory);
    return GlobalBlock(handle);
}

GlobalBlock GlobalBlock::AllocateUnfilled(size_t bytes) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!handle) Fail(kErrNoMemory);
    return GlobalBlock(handle);
}

GlobalBlock& GlobalBlock::operator=(GlobalBlock&& other) noexcept {
    if (this != &other) {
        reset();
        handle_ = other.release();
    }
    return *this;
}

void GlobalBlock::reset() {
    if (handle_) GlobalFree(handle_);
    handle_ = 0;
}
