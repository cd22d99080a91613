#include "GifLzw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;

// Codes of a stream, least significant bit first, taken from a chain of
// data sub-blocks (a length byte, then that many bytes; 0 ends the chain).
// A length running past the end of the file takes what is there.
class SubBlockBits {
public:
    SubBlockBits(const uint8_t* data, size_t size) : next_(data), end_(data + size) {}

    // The next code of `width` bits; false once the data is used up.
    bool take(int width, uint32_t& code) {
        if (count_ < width) {
            refill();
            if (count_ < width) return false;
        }
        code = static_cast<uint32_t>(bits_) & ((1u << width) - 1);
        bits_ >>= width;
        count_ -= width;
        return true;
    }

private:
    void refill() {
        while (count_ <= 56) {
            if (blockLeft_ == 0 && !openBlock()) return;
            if (blockLeft_ >= 8) {
                // Eight bytes are there: take as many whole bytes as fit (both
                // targets are little-endian).
                size_t bytes = std::min<size_t>(static_cast<size_t>(64 - count_) / 8, blockLeft_);
                uint64_t word = 0;
                memcpy(&word, next_, 8);
                if (bytes < 8) word &= (uint64_t(1) << (8 * bytes)) - 1;
                bits_ |= word << count_;
                count_ += static_cast<int>(8 * bytes);
                next_ += bytes;
                blockLeft_ -= bytes;
            } else {
                bits_ |= uint64_t(*next_++) << count_;
                count_ += 8;
                --blockLeft_;
            }
        }
    }

    bool openBlock() {
        if (!finished_ && next_ < end_) {
            size_t length = *next_++;
            blockLeft_ = std::min<size_t>(length, static_cast<size_t>(end_ - next_));
            finished_ = blockLeft_ == 0;
        } else {
            finished_ = true;
        }
        return !finished_;
    }

    const uint8_t* next_;
    const uint8_t* end_;
    size_t blockLeft_ = 0;
    bool finished_ = false;
    uint64_t bits_ = 0;
    int count_ = 0;
};

// The string table: every code's last byte, the code before it, its first
// byte and its length, so a string is written back to front in one pass.
struct StringTable {
    uint16_t prefix[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    uint8_t first[kMaxCodes];
    uint16_t length[kMaxCodes];
    uint8_t spill[kMaxCodes];  // a string that runs over the end of a row
};

// Hands decoded strings to the sink a row at a time.
class RowAssembler {
public:
    RowAssembler(uint32_t width, uint32_t rows, GifRowSink& sink) : row_(width), rows_(rows), sink_(sink) {}

    bool done() const { return y_ >= rows_; }
    uint64_t pixels() const { return pixels_; }

    void put(StringTable& table, uint32_t code, uint32_t clearCode) {
        uint32_t length = table.length[code];
        uint32_t room = static_cast<uint32_t>(row_.size()) - x_;
        if (length <= room) {
            Unwind(table, code, clearCode, row_.data() + x_ + length - 1);
            advance(length);
            return;
        }
        Unwind(table, code, clearCode, table.spill + length - 1);
        for (uint32_t at = 0; at < length && !done();) {
            uint32_t piece = std::min<uint32_t>(length - at, static_cast<uint32_t>(row_.size()) - x_);
            memcpy(row_.data() + x_, table.spill + at, piece);
            at += piece;
            advance(piece);
        }
    }

    // A row left part-way is handed out with its remaining pixels 0.
    void finish() {
        if (x_ == 0 || done()) return;
        std::fill(row_.begin() + x_, row_.end(), 0);
        sink_.row(row_.data());
        x_ = 0;
        ++y_;
    }

private:
    static void Unwind(const StringTable& table, uint32_t code, uint32_t clearCode, uint8_t* last) {
        while (code > clearCode) {
            *last-- = table.suffix[code];
            code = table.prefix[code];
        }
        *last = static_cast<uint8_t>(code);
    }

    void advance(uint32_t count) {
        x_ += count;
        pixels_ += count;
        if (x_ == row_.size()) {
            sink_.row(row_.data());
            x_ = 0;
            ++y_;
        }
    }

    std::vector<uint8_t> row_;
    uint32_t rows_;
    GifRowSink& sink_;
    uint32_t x_ = 0;
    uint32_t y_ = 0;
    uint64_t pixels_ = 0;
};

}  // namespace

uint64_t DecodeGifLzw(const uint8_t* data, size_t size, int rootBits, uint32_t width, uint32_t rows,
                      GifRowSink& sink) {
    if (width == 0 || rows == 0 || rootBits < 1 || rootBits > 8) return 0;
    auto table = std::make_unique<StringTable>();
    const uint32_t clearCode = 1u << rootBits;
    const uint32_t endCode = clearCode + 1;
    for (uint32_t i = 0; i < clearCode; ++i) {
        table->suffix[i] = table->first[i] = static_cast<uint8_t>(i);
        table->length[i] = 1;
    }
    RowAssembler out(width, rows, sink);
    SubBlockBits in(data, size);
    uint32_t nextCode = clearCode + 2;
    int codeWidth = rootBits + 1;
    int32_t previous = -1;
    uint32_t code = 0;
    while (!out.done() && in.take(codeWidth, code)) {
        if (code == clearCode) {
            nextCode = clearCode + 2;
            codeWidth = rootBits + 1;
            previous = -1;
            continue;
        }
        if (code == endCode) break;
        if (previous < 0) {
            if (code > clearCode) break;  // only a root can follow a clear
        } else if (code <= nextCode && nextCode < kMaxCodes) {
            // The new entry is the previous string and the first byte of this
            // one; for code == nextCode that byte is the previous string's own.
            uint32_t firstByte = code == nextCode ? table->first[previous] : table->first[code];
            table->prefix[nextCode] = static_cast<uint16_t>(previous);
            table->suffix[nextCode] = static_cast<uint8_t>(firstByte);
            table->first[nextCode] = table->first[previous];
            table->length[nextCode] = static_cast<uint16_t>(table->length[previous] + 1);
            ++nextCode;
            if (nextCode == (1u << codeWidth) && codeWidth < kMaxCodeWidth) ++codeWidth;
        } else if (code >= nextCode) {
            break;  // a code not yet defined: the stream is corrupt
        }
        out.put(*table, code, clearCode);
        previous = static_cast<int32_t>(code);
    }
    out.finish();
    return out.pixels();
}

// ---- encoder ----------------------------------------------------------------

namespace {

constexpr int kSlotBits = 14;
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr uint32_t kEmptySlot = 0xFFFFFFFF;  // no stored entry can look like this

uint32_t SlotOf(uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }

}  // namespace

GifLzwEncoder::GifLzwEncoder(int rootBits, ByteSink& out)
    : out_(out), rootBits_(rootBits), clearCode_(1u << rootBits), endCode_(clearCode_ + 1),
      slots_(size_t(1) << kSlotBits), recentChild_(kMaxCodes) {
    restartTable();
    emit(clearCode_);
}

void GifLzwEncoder::restartTable() {
    width_ = rootBits_ + 1;
    nextCode_ = clearCode_ + 2;
    std::fill(slots_.begin(), slots_.end(), kEmptySlot);
    std::fill(recentChild_.begin(), recentChild_.end(), 0);
}

void GifLzwEncoder::add(const uint8_t* indices, size_t count) {
    if (count == 0) return;
    size_t i = 0;
    uint32_t prefix;
    if (prefix_ < 0) {
        prefix = indices[0];
        i = 1;
    } else {
        prefix = static_cast<uint32_t>(prefix_);
    }
    uint32_t* slots = slots_.data();
    uint32_t* recent = recentChild_.data();
    for (; i < count; ++i) {
        uint32_t pixel = indices[i];
        // Flat areas extend a string by the pixel they extended it by last.
        uint32_t last = recent[prefix];
        if ((last >> 12) == pixel + 1) {
            prefix = last & 0xFFF;
            continue;
        }
        uint32_t key = prefix << 8 | pixel;
        uint32_t slot = SlotOf(key);
        uint32_t entry;
        while ((entry = slots[slot]) != kEmptySlot && (entry >> 12) != key) slot = (slot + 1) & kSlotMask;
        if (entry != kEmptySlot) {
            recent[prefix] = (pixel + 1) << 12 | (entry & 0xFFF);
            prefix = entry & 0xFFF;
            continue;
        }
        emit(prefix);
        uint32_t given = nextCode_++;
        if (given < kMaxCodes) {
            slots[slot] = key << 12 | given;
            recent[prefix] = (pixel + 1) << 12 | given;
        }
        if (given == (1u << width_)) {
            if (width_ < kMaxCodeWidth) {
                ++width_;
            } else {
                emit(clearCode_);
                restartTable();
            }
        }
        prefix = pixel;
    }
    prefix_ = static_cast<int32_t>(prefix);
}

void GifLzwEncoder::finish() {
    if (prefix_ >= 0) {
        emit(static_cast<uint32_t>(prefix_));
        // The decoder adds an entry for this last code and may widen its
        // codes before it reads the end code; follow it.
        if (nextCode_ == (1u << width_) && width_ < kMaxCodeWidth) ++width_;
    }
    emit(endCode_);
    if (bitCount_ > 0) putByte(static_cast<uint8_t>(bits_));
    bits_ = 0;
    bitCount_ = 0;
    if (blockBytes_ > 0) {
        block_[0] = static_cast<uint8_t>(blockBytes_);
        out_.write(block_, blockBytes_ + 1);
        blockBytes_ = 0;
    }
    out_.u8(0);
}

void GifLzwEncoder::emit(uint32_t code) {
    bits_ |= uint64_t(code) << bitCount_;
    bitCount_ += width_;
    while (bitCount_ >= 8) {
        putByte(static_cast<uint8_t>(bits_));
        bits_ >>= 8;
        bitCount_ -= 8;
    }
}

void GifLzwEncoder::putByte(uint8_t byte) {
    block_[1 + blockBytes_++] = byte;
    if (blockBytes_ == 254) {
        block_[0] = 254;
        out_.write(block_, 255);
        blockBytes_ = 0;
    }
}
