// What every reader may cost: a small file that claims a large image is
// refused with its format's id before any large block is made, while a file
// cut off modestly still reads with its missing rows zero; and the buffers a
// reader holds beside the pixel block count against the same cap.
#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>

#include "ImageTestKit.h"

using namespace kit;

namespace {

constexpr int32_t kHuge = 16384;  // 16384 x 16384 at 8 bits fills the cap

void Put16(std::vector<uint8_t>& b, uint32_t v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, uint16_t(v)); Put16(b, uint16_t(v >> 16)); }
void Put32be(std::vector<uint8_t>& b, uint32_t v) {
    b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// An 8-bit bitmap file with a grey table and `data` as its pixel data.
std::vector<uint8_t> Bmp8(int32_t width, int32_t height, uint32_t compression, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b = {'B', 'M'};
    Put32(b, uint32_t(14 + 40 + 1024 + data.size()));
    Put32(b, 0);
    Put32(b, 14 + 40 + 1024);
    for (uint32_t v : {40u, uint32_t(width), uint32_t(height)}) Put32(b, v);
    Put16(b, 1);
    Put16(b, 8);
    for (uint32_t v : {compression, 0u, 0u, 0u, 0u, 0u}) Put32(b, v);
    for (uint32_t i = 0; i < 256; ++i) Put32(b, i * 0x010101u);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
    out.resize(size);
    return out;
}

// An 8-bit grey file with one IDAT chunk holding `stream`.
std::vector<uint8_t> PngGrey8(uint32_t width, uint32_t height, const std::vector<uint8_t>& stream) {
    std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto chunk = [&b](const char* type, const std::vector<uint8_t>& data) {
        Put32be(b, uint32_t(data.size()));
        size_t start = b.size();
        b.insert(b.end(), type, type + 4);
        b.insert(b.end(), data.begin(), data.end());
        Put32be(b, uint32_t(crc32(0, &b[start], uInt(b.size() - start))));
    };
    std::vector<uint8_t> header;
    Put32be(header, width);
    Put32be(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0});
    chunk("IHDR", header);
    chunk("IDAT", stream);
    chunk("IEND", {});
    return b;
}

// A GIF of a 256-colour screen with one frame as large, `data` after the
// code size byte.
std::vector<uint8_t> Gif8(uint16_t width, uint16_t height, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0xF7, 0, 0});
    b.resize(b.size() + 768);
    b.push_back(',');
    for (uint16_t v : {uint16_t(0), uint16_t(0), width, height}) Put16(b, v);
    b.insert(b.end(), {0, 8});
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::vector<uint8_t> Kpt8(uint16_t width, uint16_t height, const std::vector<uint8_t>& packed) {
    std::vector<uint8_t> b;
    for (uint16_t v : {uint16_t(0xFF01), width, height, uint16_t(8)}) Put16(b, v);
    Put32(b, uint32_t(packed.size()));
    Put32(b, 0);
    b.resize(b.size() + 1064);
    b.insert(b.end(), packed.begin(), packed.end());
    return b;
}

// A clipboard file whose first format is an 8-bit device bitmap.
std::vector<uint8_t> ClpDevice8(int32_t width, int32_t height, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> b;
    Put16(b, 50000);
    Put16(b, 1);
    Put16(b, 2);
    Put32(b, uint32_t(24 + rows.size()));
    Put32(b, 4 + 89);
    b.resize(4 + 89);
    for (uint32_t v : {0u, uint32_t(width), uint32_t(height), uint32_t(width)}) Put32(b, v);
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 0);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

std::vector<uint8_t> Pcx8(uint16_t width, uint16_t height, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b(128, 0);
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    b[8] = uint8_t(width - 1);
    b[9] = uint8_t((width - 1) >> 8);
    b[10] = uint8_t(height - 1);
    b[11] = uint8_t((height - 1) >> 8);
    b[65] = 1;
    b[66] = uint8_t(width);
    b[67] = uint8_t(width >> 8);
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(12);
    b.resize(b.size() + 768);
    return b;
}

std::vector<uint8_t> Wpg8(uint16_t width, uint16_t height, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b = {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 22, 1, 0, 0, 0, 0, 0};
    b.push_back(11);
    b.push_back(uint8_t(10 + data.size()));
    for (uint16_t v : {width, height, uint16_t(8), uint16_t(0), uint16_t(0)}) Put16(b, v);
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(16);
    b.push_back(0);
    return b;
}

struct Claim {
    const char* name;
    const char* seeds;  // the fuzz target's seed folder
    int error;
    std::vector<uint8_t> bytes;
};

ImageRecord Read(const char* name, const std::vector<uint8_t>& bytes) {
    return ImportImageMemory(name, bytes.data(), bytes.size());
}

// The most the reader held in blocks at once while reading `bytes`.
size_t PeakWhileReading(const std::string& name, const std::vector<uint8_t>& bytes, ImageRecord* out) {
    KernelResetPeakBlockBytes();
    size_t before = KernelPeakBlockBytes();
    *out = ImportImageMemory(name.c_str(), bytes.data(), bytes.size());
    return KernelPeakBlockBytes() - before;
}

}  // namespace

TEST(ReaderLimits, SmallFilesClaimingLargeImagesAreRefusedBeforeALargeBlockIsMade) {
    std::vector<uint8_t> rleRuns;
    for (int i = 0; i < 64; ++i) rleRuns.insert(rleRuns.end(), {255, 7, 0, 0});
    const std::vector<Claim> claims = {
        {"x.bmp", "bmp", kErrBmp, Bmp8(kHuge, kHuge, 0, std::vector<uint8_t>(4096, 9))},
        {"x.rle", "bmp", kErrBmp, Bmp8(kHuge, kHuge, 1, rleRuns)},
        // 268435455 x 1 grey pixels from 66 bytes.
        {"x.png", "png", kErrPng, PngGrey8(0x0FFFFFFF, 1, Deflate({0, 0, 0}))},
        {"x.gif", "gif", kErrGif, Gif8(kHuge, kHuge, {2, 0x00, 0x01, 0})},
        {"x.kpt", "kpt", kErrKpt, Kpt8(kHuge, kHuge, {0xFF, 1, 0xFF, 2, 0})},
        {"x.clp", "clp", kErrClp, ClpDevice8(kHuge, kHuge, std::vector<uint8_t>(kHuge, 3))},
        {"x.pcx", "pcx", kErrPcx, Pcx8(kHuge, kHuge, {0xFF, 1, 0xFF, 2})},
        {"x.wpg", "wpg", kErrWpg, Wpg8(kHuge, kHuge, {0, 255})},
    };
    size_t blocksBefore = KernelLiveBlockCount();
    for (const Claim& claim : claims) {
        ImageRecord r;
        size_t peak = PeakWhileReading(claim.name, claim.bytes, &r);
        EXPECT_EQ(+r.error, claim.error) << claim.name;
        EXPECT_LT(peak, size_t(1) << 20) << claim.name;
        FreeRecordBlocks(r);
        SaveSeed(claim.seeds, std::string("small_huge_") + (claim.name + 2), claim.bytes);
    }
    EXPECT_EQ(KernelLiveBlockCount(), blocksBefore);
}

TEST(ReaderLimits, FilesCutOffModestlyStillReadWithTheirMissingRowsZero) {
    // 5000 x 5000 at 8 bits is beyond the size any file gets unchecked.
    const int32_t side = 5000;
    const size_t image = size_t(side) * side;
    ASSERT_GT(image, size_t(16) << 20);

    // A bitmap holding the bottom 40 % of its rows reads, the rest zero; one
    // holding a tenth is refused.
    std::vector<uint8_t> rows(image * 4 / 10, 0x5A);
    OwnedRecord partBmp(Read("x.bmp", Bmp8(side, side, 0, rows)));
    ASSERT_EQ(+partBmp->error, 0);
    {
        BlockLock bits(partBmp->hBits);
        EXPECT_EQ(bits.data()[rows.size() - 1], 0x5A);
        EXPECT_EQ(bits.data()[rows.size()], 0);
        EXPECT_EQ(bits.data()[image - 1], 0);
    }
    rows.resize(image / 10);
    EXPECT_EQ(+Read("x.bmp", Bmp8(side, side, 0, rows)).error, kErrBmp);

    // A PNG stream that holds only the top rows reads when it is long enough
    // to have held them all; a stream far too short for that is refused.
    std::vector<uint8_t> scanlines(size_t(side + 1) * (side / 2), 0x33);
    for (size_t y = 0; y < side / 2; ++y) scanlines[y * (side + 1)] = 0;
    OwnedRecord partPng(Read("x.png", PngGrey8(side, side, Deflate(scanlines))));
    ASSERT_EQ(+partPng->error, 0);
    {
        BlockLock bits(partPng->hBits);
        EXPECT_EQ(bits.data()[image - 1], 0x33);  // the top row, last in memory
        EXPECT_EQ(bits.data()[0], 0);
    }
    EXPECT_EQ(+Read("x.png", PngGrey8(side, side, Deflate({0, 1, 2}))).error, kErrPng);
}

TEST(ReaderLimits, PngScanlineBuffersCountAgainstTheCap) {
    // 100 000 000 grey pixels in one row: the block fits the cap, but with
    // the two scanline buffers beside it the reader would hold 300 MB.
    const uint32_t width = 100000000;
    std::vector<uint8_t> png = PngGrey8(width, 1, Deflate(std::vector<uint8_t>(width + 1, 0)));
    ImageRecord r;
    size_t peak = PeakWhileReading("x.png", png, &r);
    EXPECT_EQ(+r.error, kErrPng);
    EXPECT_LE(peak, size_t(kMaxImageBytes));
    FreeRecordBlocks(r);
}
