// The clipboard's bitmap blocks: what goes out, and what a foreign block may
// and may not bring in.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <vector>

#include "DisplayImageKit.h"
#include "capture/core/image/ClipboardImage.h"

using namespace imagekit;

namespace {

// A foreign block assembled byte by byte: header, extra bytes (masks or a
// colour table) and rows.
struct ForeignDib {
    DibHeader header = {};
    std::vector<uint8_t> extra;
    std::vector<uint8_t> rows;
    size_t headerBytes = 40;

    ForeignDib(int32_t width, int32_t height, int bits)
    {
        header.size = 40;
        header.width = width;
        header.height = height;
        header.planes = 1;
        header.bitCount = static_cast<uint16_t>(bits);
        size_t stride = (size_t(width) * bits + 31) / 32 * 4;
        rows.assign(stride * size_t(height < 0 ? -height : height), 0);
    }
    HGLOBAL Block() const
    {
        std::vector<uint8_t> bytes(headerBytes, 0);
        memcpy(bytes.data(), &header, sizeof header);
        bytes.insert(bytes.end(), extra.begin(), extra.end());
        bytes.insert(bytes.end(), rows.begin(), rows.end());
        HGLOBAL block = GlobalAlloc(GHND, bytes.size());
        BlockLock lock(block);
        memcpy(lock.data(), bytes.data(), bytes.size());
        return block;
    }
    void AddU32(uint32_t value)
    {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
        extra.insert(extra.end(), p, p + 4);
    }
};

// Reads block into a fresh image and frees the block.
bool Read(DisplayImage& image, HGLOBAL block)
{
    bool read = ReadClipboardDib(image, block);
    GlobalFree(block);
    return read;
}

class ClipboardDibTest : public testing::Test {
protected:
    void SetUp() override { liveBlocks = KernelLiveBlockCount(); }
    void TearDown() override { EXPECT_EQ(KernelLiveBlockCount(), liveBlocks); }
    size_t liveBlocks = 0;
};

TEST_F(ClipboardDibTest, OutgoingBlocksRoundTripAtEveryDepth)
{
    for (int bits : {1, 4, 8, 24}) {
        DisplayImage image;
        Shape(image, 7, 3, bits);
        if (bits <= 8)
            SetEntry(image, 1, 10, 20, 30);
        SetPixel(image, 6, 2, 1);
        SetPixel(image, 0, 0, bits == 24 ? Bgr(1, 2, 3) : 1);
        HGLOBAL block = BuildClipboardDib(image);
        ASSERT_NE(block, 0u);
        EXPECT_EQ(GlobalSize(block), image.GetHeaderSize() + image.GetBitsSize()) << bits;

        DisplayImage pasted;
        ASSERT_TRUE(Read(pasted, block)) << bits;
        EXPECT_EQ(pasted.bitCount, bits);
        EXPECT_EQ(pasted.width, 7);
        EXPECT_EQ(pasted.height, 3);
        EXPECT_EQ(Bytes(pasted.hPixels), Bytes(image.hPixels)) << bits;
        EXPECT_EQ(Bytes(pasted.hHeader), Bytes(image.hHeader)) << bits;
    }
    // A 24-bit image is 40 header bytes and its rows.
    DisplayImage deep;
    Shape(deep, 3, 5, 24);
    HGLOBAL block = BuildClipboardDib(deep);
    EXPECT_EQ(GlobalSize(block), 40u + 12 * 5);
    GlobalFree(block);
}

TEST_F(ClipboardDibTest, MonochromeRowsArePaddedTo16BitsTopRowFirst)
{
    DisplayImage image;
    Shape(image, 20, 3, 1);
    SetPixel(image, 0, 2, 1);    // top row of the picture
    SetPixel(image, 19, 0, 1);   // bottom row
    std::vector<uint8_t> rows = BuildMonochromeRows(image);
    ASSERT_EQ(rows.size(), 4u * 3);
    EXPECT_EQ(rows[0], 0x80);
    EXPECT_EQ(rows[8 + 2], 0x10);
    DisplayImage deep;
    Shape(deep, 4, 4, 24);
    EXPECT_TRUE(BuildMonochromeRows(deep).empty());
}

TEST_F(ClipboardDibTest, TopDownBlocksAreTurnedBottomUp)
{
    ForeignDib dib(2, -3, 24);
    dib.rows[0] = 11;        // first row in the block: the top of the picture
    dib.rows[2 * 8] = 33;    // last: the bottom
    DisplayImage image;
    ASSERT_TRUE(Read(image, dib.Block()));
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(Header(image).height, 3);
    EXPECT_EQ(GetPixel(image, 0, 2) & 0xFF, 11u);
    EXPECT_EQ(GetPixel(image, 0, 0) & 0xFF, 33u);
}

TEST_F(ClipboardDibTest, DeepBlocksBecome24Bits)
{
    ForeignDib plain16(2, 1, 16);
    uint16_t pixels16[2] = {0x7C00, 0x001F | 0x0200};   // red; blue with a little green
    memcpy(plain16.rows.data(), pixels16, 4);
    DisplayImage a;
    ASSERT_TRUE(Read(a, plain16.Block()));
    EXPECT_EQ(a.bitCount, 24);
    EXPECT_EQ(GetPixel(a, 0, 0), Bgr(255, 0, 0));
    EXPECT_EQ(GetPixel(a, 1, 0), Bgr(0, 16 * 255 / 31, 255));

    ForeignDib fields16(1, 1, 16);
    fields16.header.compression = 3;
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu})
        fields16.AddU32(mask);
    uint16_t green = 0x07E0;
    memcpy(fields16.rows.data(), &green, 2);
    DisplayImage b;
    ASSERT_TRUE(Read(b, fields16.Block()));
    EXPECT_EQ(GetPixel(b, 0, 0), Bgr(0, 255, 0));

    ForeignDib plain32(2, 1, 32);
    const uint8_t bgrx[8] = {1, 2, 3, 0xFF, 4, 5, 6, 0};
    memcpy(plain32.rows.data(), bgrx, 8);
    DisplayImage c;
    ASSERT_TRUE(Read(c, plain32.Block()));
    EXPECT_EQ(c.bitCount, 24);
    EXPECT_EQ(GetPixel(c, 0, 0), Bgr(3, 2, 1));
    EXPECT_EQ(GetPixel(c, 1, 0), Bgr(6, 5, 4));

    // A version-5 header carries its masks inside.
    ForeignDib v5(1, 1, 32);
    v5.header.size = 124;
    v5.headerBytes = 124;
    v5.header.compression = 3;
    const uint8_t xrgb[4] = {0x40, 0x30, 0x20, 0x10};
    memcpy(v5.rows.data(), xrgb, 4);
    HGLOBAL block = v5.Block();
    {
        BlockLock lock(block);
        const uint32_t masks[3] = {0x0000FF00u, 0x00FF0000u, 0xFF000000u};
        memcpy(lock.data() + 40, masks, 12);
    }
    DisplayImage d;
    ASSERT_TRUE(Read(d, block));
    EXPECT_EQ(GetPixel(d, 0, 0), Bgr(0x30, 0x20, 0x10));
}

TEST_F(ClipboardDibTest, ShortColourTablesAreFilledUp)
{
    ForeignDib dib(4, 1, 8);
    dib.header.clrUsed = 2;
    dib.AddU32(0x00102030);
    dib.AddU32(0x00405060);
    dib.rows[1] = 1;
    DisplayImage image;
    ASSERT_TRUE(Read(image, dib.Block()));
    EXPECT_EQ(GlobalSize(image.hHeader), 1064u);
    EXPECT_EQ(Header(image).clrUsed, 0u);
    EXPECT_EQ(Entry(image, 1).red, 0x40);
    EXPECT_EQ(Entry(image, 1).blue, 0x60);
    EXPECT_EQ(Entry(image, 2).red, 0);
    EXPECT_EQ(GetPixel(image, 1, 0), 1u);
}

TEST_F(ClipboardDibTest, UnusableBlocksBringNothing)
{
    auto refused = [&](const ForeignDib& dib, const char* why) {
        DisplayImage image;
        EXPECT_FALSE(Read(image, dib.Block())) << why;
        EXPECT_EQ(image.hPixels, 0u) << why;
        EXPECT_EQ(image.hHeader, 0u) << why;
        EXPECT_EQ(image.status, kStatusNoClipboardBitmap) << why;
    };
    ForeignDib base(8, 8, 24);
    ForeignDib dib = base;
    dib.rows.pop_back();
    refused(dib, "rows shorter than the header says");
    dib = base;
    dib.header.width = -8;
    refused(dib, "negative width");
    dib = base;
    dib.header.height = 0;
    refused(dib, "no rows");
    dib = base;
    dib.header.height = INT32_MIN;
    refused(dib, "height that cannot be negated");
    dib = base;
    dib.header.width = 0x40000000;
    refused(dib, "stride times height past 32 bits");
    dib = base;
    dib.header.size = 12;
    refused(dib, "header too short");
    dib = base;
    dib.header.size = 100000;
    refused(dib, "header longer than the block");
    dib = base;
    dib.header.compression = 1;
    refused(dib, "run-length rows");
    dib = base;
    dib.header.compression = 3;
    refused(dib, "bit fields at 24 bits");
    dib = base;
    dib.header.bitCount = 2;
    refused(dib, "depth 2");
    dib = base;
    dib.header.planes = 3;
    refused(dib, "three planes");
    ForeignDib palette(8, 8, 4);
    palette.header.clrUsed = 17;
    refused(palette, "colour table longer than the depth allows");
    ForeignDib masks(2, 2, 16);
    masks.header.compression = 3;
    for (int i = 0; i < 3; ++i)
        masks.AddU32(0);
    refused(masks, "empty masks");

    DisplayImage image;
    EXPECT_FALSE(ReadClipboardDib(image, 0));
    EXPECT_EQ(image.status, kStatusNoClipboardBitmap);
}

TEST_F(ClipboardDibTest, MangledHeadersNeverReadPastTheBlock)
{
    // Random damage to the header of small blocks: each is either refused or
    // read into an image whose blocks match its fields (the sanitizers
    // watch every byte touched).
    const int depths[] = {1, 4, 8, 16, 24, 32};
    std::mt19937 random(2024);
    for (int round = 0; round < 3000; ++round) {
        ForeignDib dib(1 + random() % 9, 1 + random() % 5, depths[random() % 6]);
        if (dib.header.bitCount <= 8)
            dib.extra.assign(4u << dib.header.bitCount, 0x5A);
        HGLOBAL block = dib.Block();
        {
            BlockLock lock(block);
            for (int hits = 1 + random() % 3; hits > 0; --hits)
                lock.data()[random() % 40] = static_cast<uint8_t>(random());
        }
        DisplayImage image;
        if (Read(image, block)) {
            EXPECT_TRUE(image.HasSoundBlocks());
        } else {
            EXPECT_EQ(image.hPixels, 0u);
        }
    }
}

} // namespace
