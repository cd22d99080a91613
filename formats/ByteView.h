// Bounds-checked reading of a file held whole in memory. Every read past the
// end throws CodecFailure with the reader's own error id, so a codec never
// touches a byte that is not there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Thrown inside a codec to abandon a file; the codec's entry turns it into
// the error id of the record.
struct CodecFailure {
    int id;
};

[[noreturn]] inline void Fail(int id) { throw CodecFailure{id}; }

class ByteView {
public:
    ByteView(const uint8_t* data, size_t size, int errorId)
        : data_(data), size_(size), pos_(0), errorId_(errorId) {}

    size_t size() const { return size_; }
    size_t pos() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ >= size_; }
    const uint8_t* data() const { return data_; }
    int errorId() const { return errorId_; }

    void seek(size_t pos) {
        if (pos > size_) Fail(errorId_);
        pos_ = pos;
    }
    void skip(size_t bytes) { seek(checkedEnd(bytes)); }

    uint8_t u8() { return *take(1); }
    uint16_t u16le() { const uint8_t* p = take(2); return static_cast<uint16_t>(p[0] | p[1] << 8); }
    uint16_t u16be() { const uint8_t* p = take(2); return static_cast<uint16_t>(p[0] << 8 | p[1]); }
    uint32_t u32le() {
        const uint8_t* p = take(4);
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    uint32_t u32be() {
        const uint8_t* p = take(4);
        return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    }
    // Pointer to the next `bytes` bytes, which are consumed.
    const uint8_t* take(size_t bytes) {
        size_t end = checkedEnd(bytes);
        const uint8_t* at = data_ + pos_;
        pos_ = end;
        return at;
    }
    void read(void* out, size_t bytes) { memcpy(out, take(bytes), bytes); }

private:
    size_t checkedEnd(size_t bytes) const {
        if (bytes > size_ - pos_) Fail(errorId_);
        return pos_ + bytes;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_;
    int errorId_;
};
