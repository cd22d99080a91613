// Where the writers put their bytes: a buffered file, or memory for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../framework/kernel/KernelApi.h"

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const void* data, size_t bytes) = 0;
    // False once any write has failed; writers need not check each call.
    virtual bool ok() const = 0;

    void u8(uint8_t value) { write(&value, 1); }
    void u16le(uint16_t value) { uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)}; write(b, 2); }
    void u16be(uint16_t value) { uint8_t b[2] = {uint8_t(value >> 8), uint8_t(value)}; write(b, 2); }
    void u32le(uint32_t value) {
        uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
        write(b, 4);
    }
    void u32be(uint32_t value) {
        uint8_t b[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
        write(b, 4);
    }
};

class MemorySink : public ByteSink {
public:
    void write(const void* data, size_t bytes) override {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + bytes);
    }
    bool ok() const override { return true; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    // Empties it, keeping the memory for the next writes.
    void clear() { bytes_.clear(); }

private:
    std::vector<uint8_t> bytes_;
};

// Writes through a 64 KiB buffer to an open file handle.
class FileSink : public ByteSink {
public:
    explicit FileSink(HANDLE file) : file_(file) { buffer_.reserve(kBufferSize); }
    ~FileSink() override { flush(); }

    void write(const void* data, size_t bytes) override {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        if (buffer_.size() + bytes > kBufferSize) flush();
        if (bytes >= kBufferSize) { put(p, bytes); return; }
        buffer_.insert(buffer_.end(), p, p + bytes);
    }
    bool ok() const override { return ok_; }
    bool flush() {
        if (!buffer_.empty()) put(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok_;
    }

private:
    static constexpr size_t kBufferSize = 64 * 1024;

    void put(const uint8_t* data, size_t bytes) {
        while (ok_ && bytes > 0) {
            DWORD chunk = bytes > 0x1000000 ? 0x1000000 : static_cast<DWORD>(bytes);
            DWORD done = 0;
            if (!WriteFile(file_, data, chunk, &done, nullptr) || done != chunk) ok_ = false;
            data += chunk;
            bytes -= chunk;
        }
    }

    HANDLE file_;
    std::vector<uint8_t> buffer_;
    bool ok_ = true;
};
