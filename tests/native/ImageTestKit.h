// Helpers for the format tests: synthetic images in records, expansion to
// plain RGB, scratch files, and the reference tools nobody here wrote.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/DibHelpers.h"
#include "formats/FormatFrame.h"

namespace kit {

// A record that frees its blocks when it goes out of scope.
struct OwnedRecord {
    ImageRecord record = {};
    OwnedRecord() = default;
    explicit OwnedRecord(const ImageRecord& r) : record(r) {}
    OwnedRecord(const OwnedRecord&) = delete;
    OwnedRecord& operator=(const OwnedRecord&) = delete;
    ~OwnedRecord() { FreeRecordBlocks(record); }
    ImageRecord* operator->() { return &record; }
};

// An image with a colour table of distinct colours (8 bits or fewer) and a
// pattern that differs from pixel to pixel and row to row.
inline void FillTestImage(ImageRecord& r, int32_t width, int32_t height, int bits, unsigned seed = 1) {
    r = {};
    r.width = width;
    r.height = height;
    r.bitCount = static_cast<uint16_t>(bits);
    CreateDibHeader(r);
    r.hBits = GlobalAlloc(GHND, GetDibImageSize(r));
    BlockLock info(r.hInfo), bitsLock(r.hBits);
    uint32_t entries = GetPaletteEntryCount(bits);
    DibColor* table = reinterpret_cast<DibColor*>(info.data() + 40);
    for (uint32_t i = 0; i < entries; ++i)
        table[i] = {uint8_t(i * 37 + seed), uint8_t(i * 91 + 7 * seed), uint8_t(i * 53 + 3), 0};
    uint32_t rowBytes = GetDibRowBytes(r);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = bitsLock.data() + size_t(y) * rowBytes;
        for (int32_t x = 0; x < width; ++x) {
            unsigned v = x * 7 + y * 3 + seed;
            switch (bits) {
            case 1: if (v & 1) row[x / 8] |= uint8_t(0x80 >> (x % 8)); break;
            case 4: row[x / 2] |= uint8_t((v % 16) << (x % 2 ? 0 : 4)); break;
            case 8: row[x] = uint8_t(v); break;
            case 24: row[3 * x] = uint8_t(x * 5 + seed); row[3 * x + 1] = uint8_t(y * 9); row[3 * x + 2] = uint8_t(x + y); break;
            case 32: row[4 * x] = uint8_t(x * 5); row[4 * x + 1] = uint8_t(y * 9 + seed); row[4 * x + 2] = uint8_t(x ^ y); row[4 * x + 3] = uint8_t(x + 1); break;
            }
        }
    }
}

// Top-down RGB triplets of a record's picture.
inline std::vector<uint8_t> ToRgb(const ImageRecord& r) {
    std::vector<uint8_t> rgb;
    BlockLock info(r.hInfo), bits(r.hBits);
    const DibColor* table = reinterpret_cast<const DibColor*>(info.data() + 40);
    uint32_t rowBytes = GetDibRowBytes(r);
    for (int32_t y = r.height - 1; y >= 0; --y) {
        const uint8_t* row = bits.data() + size_t(y) * rowBytes;
        for (int32_t x = 0; x < r.width; ++x) {
            DibColor c = {};
            switch (r.bitCount) {
            case 1: c = table[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: c = table[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: c = table[row[x]]; break;
            case 24: c = {row[3 * x], row[3 * x + 1], row[3 * x + 2], 0}; break;
            case 32: c = {row[4 * x], row[4 * x + 1], row[4 * x + 2], 0}; break;
            }
            rgb.insert(rgb.end(), {c.red, c.green, c.blue});
        }
    }
    return rgb;
}

inline std::string ScratchDir() {
    const char* dir = getenv("TEST_SCRATCH");
    std::string path = dir ? dir : "/tmp/kaptura-scratch";
    std::system(("mkdir -p '" + path + "'").c_str());
    return path;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

inline bool HaveTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

inline int RunShell(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()); }

// The reference decoder's view of a file: top-down 8-bit RGB.
inline std::vector<uint8_t> MagickRgb(const std::string& path) {
    std::string out = path + ".rgb";
    if (RunShell("convert-im6.q16 '" + path + "' -depth 8 rgb:'" + out + "'") != 0) return {};
    return ReadBytes(out);
}

// Top-down RGB of a binary PPM ("P6"), empty when it is not one.
inline std::vector<uint8_t> PpmRgb(const std::string& file) {
    std::vector<uint8_t> bytes = ReadBytes(file);
    std::string head(bytes.begin(), bytes.begin() + long(std::min<size_t>(bytes.size(), 64)));
    std::istringstream in(head);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    if (!(in >> magic >> width >> height >> maxValue) || magic != "P6" || maxValue != 255) return {};
    size_t start = size_t(in.tellg()) + 1;
    if (bytes.size() < start + size_t(width) * height * 3) return {};
    return std::vector<uint8_t>(bytes.begin() + long(start), bytes.begin() + long(start + size_t(width) * height * 3));
}

// A netpbm converter's view of a file (`tool` reads it and writes PPM).
inline std::vector<uint8_t> NetpbmRgb(const std::string& tool, const std::string& file) {
    std::string ppm = file + ".ppm";
    if (RunShell(tool + " '" + file + "' | ppmtoppm > '" + ppm + "'") != 0) return {};
    return PpmRgb(ppm);
}

// A binary PPM of a picture with smooth and sharp changes; `colors` > 0
// reduces it to that many colours (netpbm's quantiser).
inline std::string ReferencePicture(const std::string& path, int width, int height, int colors = 0) {
    std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> bytes(head.begin(), head.end());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bytes.insert(bytes.end(), {uint8_t(x * 5), uint8_t(y * 7 + (x % 13) * 3), uint8_t((x / 8 + y / 8) % 2 * 255)});
    WriteBytes(path + ".full.ppm", bytes);
    if (colors == 0) return path + ".full.ppm";
    RunShell("pnmquant " + std::to_string(colors) + " '" + path + ".full.ppm' > '" + path + "'");
    return path;
}

// Leaves a file for the fuzzers' seed corpus.
inline void SaveSeed(const std::string& format, const std::string& name, const std::vector<uint8_t>& bytes) {
    const char* dir = getenv("FUZZ_SEED_DIR");
    if (!dir) return;
    std::string folder = std::string(dir) + "/" + format;
    std::system(("mkdir -p '" + folder + "'").c_str());
    WriteBytes(folder + "/" + name, bytes);
}

// Bytes of a record written by a writer into memory; empty when it failed.
inline std::vector<uint8_t> WriteToMemory(ImageWriter writer, const ImageRecord& r, int* error = nullptr) {
    MemorySink sink;
    int id = RunWriter(writer, r, sink);
    if (error) *error = id;
    return id ? std::vector<uint8_t>() : sink.bytes();
}

// The pixel block and a colour-table entry of a record.
inline std::vector<uint8_t> Pixels(const ImageRecord& r) {
    BlockLock bits(r.hBits);
    return std::vector<uint8_t>(bits.data(), bits.data() + GetDibImageSize(r));
}

inline DibColor ColorAt(const ImageRecord& r, unsigned index) {
    BlockLock info(r.hInfo);
    return reinterpret_cast<const DibColor*>(info.data() + 40)[index];
}

}  // namespace kit
