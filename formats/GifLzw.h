// The variable-width LZW code streams of GIF files. The decoder reads codes
// straight from the data sub-blocks of a file in memory and hands out the
// frame's rows of colour indices; the encoder turns indices into sub-blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ByteSink.h"

// Receives the decoded rows in stream order, each the frame's width long.
class GifRowSink {
public:
    virtual ~GifRowSink() = default;
    virtual void row(const uint8_t* indices) = 0;
};

// Decodes the sub-blocks that start at `data` (the first length byte) into
// `rows` rows of `width` indices. A corrupt or short stream ends decoding;
// the pixels decoded so far are kept, a partial last row filled up with 0.
// `rootBits` is the file's minimum code size, 1 to 8. Returns the number of
// pixels decoded.
uint64_t DecodeGifLzw(const uint8_t* data, size_t size, int rootBits, uint32_t width, uint32_t rows,
                      GifRowSink& sink);

// Writes one code stream as data sub-blocks of 254 bytes (the last one
// shorter) and the zero terminator. Indices must be below 2^rootBits.
class GifLzwEncoder {
public:
    GifLzwEncoder(int rootBits, ByteSink& out);
    void add(const uint8_t* indices, size_t count);
    void finish();

private:
    void emit(uint32_t code);
    void putByte(uint8_t byte);
    void restartTable();

    ByteSink& out_;
    int rootBits_;
    uint32_t clearCode_;
    uint32_t endCode_;
    uint32_t nextCode_ = 0;
    int width_ = 0;
    int32_t prefix_ = -1;  // the string being extended, -1 before the first pixel
    // Open-addressed dictionary: (prefix << 8 | pixel) << 12 | code.
    std::vector<uint32_t> slots_;
    // Per code, the child found or made last: (pixel + 1) << 12 | code, 0 for none.
    std::vector<uint32_t> recentChild_;
    uint64_t bits_ = 0;
    int bitCount_ = 0;
    uint8_t block_[255];  // length byte, then up to 254 data bytes
    size_t blockBytes_ = 0;
};
