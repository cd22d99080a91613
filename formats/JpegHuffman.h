// Huffman coding of the JPEG entropy-coded data: decoding tables with a
// 9-bit lookahead, the bit reader over the stuffed byte stream, and the
// encoder's code tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "JpegTables.h"

class HuffmanDecoder {
public:
    static constexpr int kLookBits = 9;

    // False for a code set no canonical code can hold (more codes of some
    // length than the shorter ones leave room for, or more than 256 symbols).
    bool build(const HuffmanSpec& codeSet);

    // (length << 8) | symbol for codes of up to kLookBits bits, else 0.
    uint16_t fast[1 << kLookBits];
    // For AC tables: a run/size symbol and its extra bits that fit in the
    // lookahead together: (value * 256) | (run << 4) | total bits; else 0.
    int32_t fastAc[1 << kLookBits];
    // Largest code of each length 1 to 16 (-1 when none), and the offset
    // from a code of that length to its symbol's index.
    int32_t maxCode[17];
    int32_t symbolOffset[17];
    uint8_t symbols[256];
};

class HuffmanEncoder {
public:
    void build(const HuffmanSpec& codeSet);
    uint16_t code[256];
    uint8_t length[256];
};

// The signed value of `bits` extra bits of a category-`size` difference.
inline int32_t ExtendSign(uint32_t bits, int size) {
    return bits < (1u << (size - 1)) ? static_cast<int32_t>(bits) - static_cast<int32_t>((1u << size) - 1)
                                     : static_cast<int32_t>(bits);
}

// Reads the entropy-coded segment most significant bit first, removing the
// 0x00 stuffed after every 0xFF. A marker or the end of the data is never
// read through: from there on zero bits are supplied and counted, so the
// decoder can tell when it has run past the data.
class JpegBitReader {
public:
    JpegBitReader(const uint8_t* data, const uint8_t* end) : p_(data), end_(end) {}

    void fill() {
        // Whole bytes at once while the next eight hold no 0xFF (no stuffing,
        // no marker): the common case.
        if (!stopped_ && end_ - p_ >= 8) {
            uint64_t word;
            memcpy(&word, p_, 8);
            uint64_t inverted = ~word;
            if (((inverted - 0x0101010101010101ull) & ~inverted & 0x8080808080808080ull) == 0) {
                int bytes = (63 - bits_) >> 3;  // at most 7
                uint64_t first = __builtin_bswap64(word) & ~(~0ull >> (8 * bytes));
                buffer_ |= first >> bits_;
                bits_ += 8 * bytes;
                p_ += bytes;
                return;
            }
        }
        while (bits_ <= 56) {
            uint32_t byte = 0;
            if (!stopped_ && p_ < end_) {
                byte = *p_;
                if (byte != 0xFF) {
                    ++p_;
                } else if (end_ - p_ >= 2 && p_[1] == 0) {
                    p_ += 2;
                } else {
                    stopped_ = true;  // a marker (or a lone 0xFF at the end)
                    byte = 0;
                }
            } else {
                stopped_ = true;
            }
            if (stopped_) padded_ += 8;
            buffer_ |= static_cast<uint64_t>(byte) << (56 - bits_);
            bits_ += 8;
        }
    }

    uint32_t peek(int count) {
        if (bits_ < count) fill();
        return static_cast<uint32_t>(buffer_ >> (64 - count));
    }
    void consume(int count) {
        buffer_ <<= count;
        bits_ -= count;
    }
    uint32_t take(int count) {
        if (count == 0) return 0;
        uint32_t value = peek(count);
        consume(count);
        return value;
    }
    // The next symbol, or -1 when no code of up to 16 bits matches.
    int decode(const HuffmanDecoder& table) {
        if (bits_ < 16) fill();
        uint16_t hit = table.fast[buffer_ >> (64 - HuffmanDecoder::kLookBits)];
        if (hit) {
            consume(hit >> 8);
            return hit & 0xFF;
        }
        uint32_t window = static_cast<uint32_t>(buffer_ >> 48);
        for (int length = HuffmanDecoder::kLookBits + 1; length <= 16; ++length) {
            int32_t code = static_cast<int32_t>(window >> (16 - length));
            if (code <= table.maxCode[length]) {
                consume(length);
                return table.symbols[code + table.symbolOffset[length]];
            }
        }
        return -1;
    }
    // A run/size symbol with its value in one look, when the table has it.
    int32_t fastAc(const HuffmanDecoder& table) {
        if (bits_ < 16) fill();
        return table.fastAc[buffer_ >> (64 - HuffmanDecoder::kLookBits)];
    }

    // True once more bits were taken than the data held.
    bool exhausted() const { return padded_ > static_cast<size_t>(bits_); }
    // True once the buffered bits reach past the end of the data.
    bool pastData() const { return padded_ > 0; }
    // True when the data stopped at a restart marker (not at the end of the
    // file or another marker).
    bool stoppedAtRestartMarker() const {
        return stopped_ && end_ - p_ >= 2 && p_[0] == 0xFF && p_[1] >= 0xD0 && p_[1] <= 0xD7;
    }
    // Drops the buffered bits and steps to the next marker, which is
    // returned (its second byte) and consumed when it is a restart marker;
    // -1 when the data ends first.
    int nextMarker() {
        buffer_ = 0;
        bits_ = 0;
        padded_ = 0;
        stopped_ = false;
        while (end_ - p_ >= 2) {
            if (p_[0] == 0xFF && p_[1] != 0x00 && p_[1] != 0xFF) {
                int marker = p_[1];
                if (marker >= 0xD0 && marker <= 0xD7) p_ += 2;
                return marker;
            }
            ++p_;
        }
        return -1;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
    uint64_t buffer_ = 0;
    int bits_ = 0;
    size_t padded_ = 0;
    bool stopped_ = false;
};
