// Bitmap helpers shared by every codec: header and block sizes, header
// creation, the grey ramp and the fixed 16-colour table, and owning wrappers
// for global blocks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DibLayout.h"
#include "Pictova.h"

// Largest pixel block any reader will allocate; a file asking for more is
// refused with its format's id rather than left to exhaust the address space.
// The cap counts every buffer a reader holds for the image at once, not only
// the pixel block.
constexpr uint32_t kMaxImageBytes = 256u * 1024 * 1024;

// Pixel blocks up to this size are made for any file a reader accepts:
// allocating and clearing one takes milliseconds. A larger block is made only
// when the file's own data could fill a good part of it (ImageFitsData).
constexpr uint32_t kUncheckedImageBytes = 16u * 1024 * 1024;

// Whether `dataBytes` bytes of a file's image data, each able to give at most
// `expansion` bytes of the pixel block, account for a block of `imageBytes`.
// A file cut off keeps its missing rows zero, so the data need fill only a
// quarter of the block; but a small file never claims a large block.
bool ImageFitsData(uint64_t imageBytes, uint64_t dataBytes, uint32_t expansion);
// Fails with `errorId` when the buffers a reader holds at once, together,
// exceed kMaxImageBytes.
void RequireWithinCap(uint64_t bytes, int errorId);

uint32_t GetPaletteEntryCount(int bitCount);
uint32_t GetDibHeaderSize(int bitCount);
uint32_t AlignRowBytes(uint32_t bits);
uint32_t GetPackedRowBytes(int32_t width, int bitCount);

// Row and image sizes from untrusted dimensions: false when a dimension is
// not positive, the depth is not 1, 4, 8, 24 or 32, or the block would exceed
// kMaxImageBytes. Nothing here can wrap.
bool CheckedDibRowBytes(int32_t width, int bitCount, uint32_t* rowBytes);
bool CheckedDibImageSize(int32_t width, int32_t height, int bitCount, uint32_t* imageBytes);

// Sizes of a record the library made or was given; 0 when the record's
// dimensions are not sane.
uint32_t GetDibRowBytes(const ImageRecord& record);
uint32_t GetDibImageSize(const ImageRecord& record);

// True when the record's blocks are at least as large as its dimensions say:
// writers check this before reading a caller's blocks.
bool RecordBlocksAreSound(const ImageRecord& record);

// A zero-filled header block of the depth's size with the 40-byte header
// written (colour table zero); 0 for a depth without one or when allocation
// fails.
HGLOBAL AllocateDibHeader(int32_t width, int32_t height, int bitCount);
// Allocates record.hInfo and writes the 40-byte header (colour table zero);
// false when allocation fails.
bool CreateDibHeader(ImageRecord& record);
HGLOBAL DuplicateGlobalBlock(HGLOBAL block, size_t bytes);
// The 40-byte header a file gets for the record's image: the header block's
// resolution and important-colour fields, everything else from the record
// (uncompressed, colour table full size).
DibHeader DescribeRecordDib(const ImageRecord& record, const uint8_t* headerBlock);
void SetGrayPalette(DibColor* table, uint32_t entries);
// The fixed 16-colour table in index order.
extern const DibColor kStandard16Colors[16];

// Frees and clears hBits, hInfo and hNote.
void FreeRecordBlocks(ImageRecord& record);

// Owns a global block until released: a codec's allocations go back to the
// system on every failure path.
class GlobalBlock {
public:
    GlobalBlock() = default;
    explicit GlobalBlock(HGLOBAL handle) : handle_(handle) {}
    // Movable, zero-filled; throws CodecFailure{kErrNoMemory} on failure.
    static GlobalBlock Allocate(size_t bytes);
    // Movable, not filled: for blocks the caller writes whole.
    static GlobalBlock AllocateUnfilled(size_t bytes);
    GlobalBlock(GlobalBlock&& other) noexcept : handle_(other.release()) {}
    GlobalBlock& operator=(GlobalBlock&& other) noexcept;
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock() { reset(); }

    HGLOBAL get() const { return handle_; }
    HGLOBAL release() { HGLOBAL h = handle_; handle_ = 0; return h; }
    void reset();

private:
    HGLOBAL handle_ = 0;
};

// Keeps a block locked for one scope.
class BlockLock {
public:
    explicit BlockLock(HGLOBAL handle)
        : handle_(handle), data_(handle ? static_cast<uint8_t*>(GlobalLock(handle)) : nullptr) {}
    ~BlockLock() { if (data_) GlobalUnlock(handle_); }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;

    uint8_t* data() const { return data_; }
    template <class T> T* as() const { return reinterpret_cast<T*>(data_); }

private:
    HGLOBAL handle_;
    uint8_t* data_;
};
