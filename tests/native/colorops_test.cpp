// Colour operations on small images of every depth: exact result pixels and
// colour tables, the source left alone, and results that never share or
// leak a block, on success and on failure alike.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "DisplayImageKit.h"
#include "capture/core/image/ColorOps.h"
#include "capture/core/image/ImageNotify.h"
#include "capture/core/settings/Settings.h"

using namespace imagekit;

namespace {

std::vector<std::pair<int, int>> g_progress;
void RecordProgress(int index, int count) { g_progress.emplace_back(index, count); }

std::vector<std::pair<int, int>> RowsOf(int count)
{
    std::vector<std::pair<int, int>> rows;
    for (int i = 0; i < count; ++i)
        rows.emplace_back(i, count);
    return rows;
}

class ColorOpsTest : public testing::Test {
protected:
    void SetUp() override
    {
        liveBlocks = KernelLiveBlockCount();
        g_progress.clear();
        ImageProgressReporter = RecordProgress;
        memset(BlackWhite, 0, sizeof BlackWhite);
        for (int white : {7, 8, 10, 11, 14, 15})   // gray, silver, green, yellow, cyan, white
            BlackWhite[white] = 1;
    }
    void TearDown() override
    {
        ImageProgressReporter = nullptr;
        EXPECT_EQ(KernelLiveBlockCount(), liveBlocks);
    }
    // The result owns blocks of its own.
    static void ExpectOwnBlocks(const DisplayImage& result, const DisplayImage& source)
    {
        ASSERT_NE(result.hPixels, 0u);
        EXPECT_NE(result.hPixels, source.hPixels);
        EXPECT_NE(result.hHeader, source.hHeader);
        EXPECT_TRUE(result.HasSoundBlocks());
    }
    size_t liveBlocks = 0;
};

TEST_F(ColorOpsTest, GrayValuesAndNearestColours)
{
    EXPECT_EQ(GrayOf(200, 200, 200), 200);
    EXPECT_EQ(GrayOf(255, 255, 0), 214);
    EXPECT_EQ(GrayOf(255, 255, 255), 255);
    EXPECT_EQ(GrayOf(0, 0, 255), 28);
    EXPECT_EQ(NearestStandardColor(250, 5, 5), 9);
    EXPECT_EQ(NearestStandardColor(0, 0, 0), 0);
    EXPECT_EQ(NearestStandardColor(100, 100, 100), 7);
    EXPECT_EQ(NearestStandardColor(170, 170, 170), 8);
    // (64, 0, 0) lies as near black as dark red: the first wins.
    EXPECT_EQ(NearestStandardColor(64, 0, 0), 0);
}

TEST_F(ColorOpsTest, NearestColourLookupAgreesWithTheSearchForEveryColour)
{
    long mismatches = 0;
    uint32_t first = 0;
    for (uint32_t colour = 0; colour < (1u << 24); ++colour) {
        const uint8_t r = uint8_t(colour >> 16), g = uint8_t(colour >> 8), b = uint8_t(colour);
        if (NearestStandardColor(r, g, b) != SearchNearestStandardColor(r, g, b) && mismatches++ == 0)
            first = colour;
    }
    EXPECT_EQ(mismatches, 0) << "first at " << (first >> 16) << "," << (first >> 8 & 255) << "," << (first & 255);
}

// Every pixel of a 24-bit image of many colours near the boundaries
// between standard colours, under several sets of flags, against the
// flag of its nearest colour found by measuring.
TEST_F(ColorOpsTest, BlackAndWhiteOf24BitsFollowsTheNearestColourOfEveryPixel)
{
    DisplayImage image;
    const int32_t width = 251, height = 97;   // rows ending inside a byte
    Shape(image, width, height, 24);
    auto colourAt = [](int32_t x, int32_t y) {
        return Bgr(uint8_t(x + y * 3), uint8_t(x * 5 + y), uint8_t(128 + (x * 7 + y * 11) % 100 - 50));
    };
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            SetPixel(image, x, y, colourAt(x, y));
    for (unsigned flags : {0x0u, 0xFFFFu, 0x5555u, 0xAAAAu, 0x0F0Fu, 0x8421u, 0xCD80u}) {
        for (int i = 0; i < 16; ++i)
            BlackWhite[i] = uint8_t(flags >> i & 1);
        DisplayImage result;
        ConvertToBlackWhite(result, image);
        ASSERT_NE(result.hPixels, 0u);
        int wrong = 0;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t c = colourAt(x, y);
                const int nearest = SearchNearestStandardColor(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
                wrong += GetPixel(result, x, y) != BlackWhite[nearest];
            }
        EXPECT_EQ(wrong, 0) << "flags " << std::hex << flags;
    }
}

TEST_F(ColorOpsTest, GrayscaleOfEveryDepth)
{
    DisplayImage four;
    Shape(four, 3, 2, 4);
    SetEntry(four, 1, 255, 255, 0);
    SetEntry(four, 2, 10, 10, 10);
    SetPixel(four, 2, 1, 1);
    DisplayImage gray4;
    ConvertToGrayscale(gray4, four);
    ExpectOwnBlocks(gray4, four);
    EXPECT_EQ(gray4.bitCount, 4);
    EXPECT_EQ(gray4.status, kStatusGrayscale);
    EXPECT_EQ(Entry(gray4, 1).red, 214);
    EXPECT_EQ(Entry(gray4, 1).blue, 214);
    EXPECT_EQ(Entry(gray4, 2).green, 10);
    EXPECT_EQ(GetPixel(gray4, 2, 1), 1u);             // pixels unchanged
    EXPECT_EQ(Entry(four, 1).blue, 0);                // source unchanged
    EXPECT_EQ(g_progress, RowsOf(16));                // one step per entry

    DisplayImage eight;
    Shape(eight, 5, 2, 8);
    SetEntry(eight, 9, 0, 0, 255);
    SetEntry(eight, 200, 255, 255, 0);
    SetPixel(eight, 0, 0, 9);
    SetPixel(eight, 4, 1, 200);
    g_progress.clear();
    DisplayImage gray8;
    ConvertToGrayscale(gray8, eight);
    ExpectOwnBlocks(gray8, eight);
    EXPECT_EQ(GetPixel(gray8, 0, 0), 28u);
    EXPECT_EQ(GetPixel(gray8, 4, 1), 214u);
    EXPECT_EQ(GetPixel(gray8, 1, 0), 0u);
    for (int i : {0, 28, 214, 255})
        EXPECT_EQ(Entry(gray8, i).green, i);
    EXPECT_EQ(GetPixel(eight, 0, 0), 9u);
    EXPECT_EQ(g_progress, RowsOf(2));

    DisplayImage deep;
    Shape(deep, 3, 2, 24);
    SetPixel(deep, 0, 0, Bgr(255, 255, 0));
    SetPixel(deep, 2, 1, Bgr(90, 90, 90));
    DisplayImage gray24;
    ConvertToGrayscale(gray24, deep);
    ExpectOwnBlocks(gray24, deep);
    EXPECT_EQ(gray24.bitCount, 8);
    EXPECT_EQ(GlobalSize(gray24.hHeader), 1064u);
    EXPECT_EQ(GetPixel(gray24, 0, 0), 214u);
    EXPECT_EQ(GetPixel(gray24, 2, 1), 90u);
    EXPECT_EQ(Entry(gray24, 90).red, 90);

    // 1 bit (and anything unlisted) builds nothing.
    DisplayImage mono;
    Shape(mono, 8, 1, 1);
    DisplayImage none;
    ConvertToGrayscale(none, mono);
    EXPECT_EQ(none.hPixels, 0u);
    EXPECT_EQ(none.status, 0);
}

TEST_F(ColorOpsTest, InvertTouchesPixelsOnlyAt24Bits)
{
    DisplayImage deep;
    Shape(deep, 3, 2, 24);
    SetPixel(deep, 1, 1, Bgr(1, 2, 250));
    DisplayImage inverted;
    InvertColors(inverted, deep);
    ExpectOwnBlocks(inverted, deep);
    EXPECT_EQ(inverted.status, kStatusInvert);
    EXPECT_EQ(GetPixel(inverted, 1, 1), Bgr(254, 253, 5));
    EXPECT_EQ(GetPixel(inverted, 0, 0), Bgr(255, 255, 255));
    {
        // The row padding (3 pixels: 9 bytes of 12) is not pixel data.
        BlockLock pixels(inverted.hPixels);
        EXPECT_EQ(pixels.data()[9], 0);
    }

    for (int bits : {1, 4, 8}) {
        DisplayImage image;
        Shape(image, 4, 2, bits);
        SetEntry(image, 1, 10, 20, 30);
        SetPixel(image, 3, 1, 1);
        DisplayImage result;
        InvertColors(result, image);
        ExpectOwnBlocks(result, image);
        EXPECT_EQ(GetPixel(result, 3, 1), 1u) << bits;
        EXPECT_EQ(Entry(result, 1).red, 245) << bits;
        EXPECT_EQ(Entry(result, 1).green, 235) << bits;
        EXPECT_EQ(Entry(result, 1).blue, 225) << bits;
        EXPECT_EQ(Entry(result, 0).red, 255) << bits;
        EXPECT_EQ(Entry(image, 1).red, 10) << bits;
    }
}

TEST_F(ColorOpsTest, BlackAndWhiteByNearestStandardColour)
{
    DisplayImage deep;
    Shape(deep, 10, 2, 24);
    SetPixel(deep, 0, 0, Bgr(255, 0, 0));     // red: black
    SetPixel(deep, 1, 0, Bgr(0, 255, 0));     // green: white
    SetPixel(deep, 9, 1, Bgr(200, 200, 190)); // near silver: white
    SetPixel(deep, 8, 1, Bgr(0, 0, 140));     // near dark blue: black
    DisplayImage bw;
    ConvertToBlackWhite(bw, deep);
    ExpectOwnBlocks(bw, deep);
    EXPECT_EQ(bw.bitCount, 1);
    EXPECT_EQ(bw.status, kStatusBlackAndWhite);
    EXPECT_EQ(GetPixel(bw, 0, 0), 0u);
    EXPECT_EQ(GetPixel(bw, 1, 0), 1u);
    EXPECT_EQ(GetPixel(bw, 9, 1), 1u);
    EXPECT_EQ(GetPixel(bw, 8, 1), 0u);
    EXPECT_EQ(Entry(bw, 0).red, 0);
    EXPECT_EQ(Entry(bw, 1).red, 255);
    EXPECT_EQ(Entry(bw, 1).blue, 255);
    EXPECT_EQ(g_progress, RowsOf(2));

    for (int bits : {4, 8}) {
        DisplayImage image;
        Shape(image, 11, 1, bits);
        SetEntry(image, 2, 250, 250, 10);   // yellow: white
        SetEntry(image, 3, 130, 0, 0);      // dark red: black
        SetPixel(image, 10, 0, 2);
        SetPixel(image, 9, 0, 3);
        DisplayImage result;
        ConvertToBlackWhite(result, image);
        ExpectOwnBlocks(result, image);
        EXPECT_EQ(GetPixel(result, 10, 0), 1u) << bits;
        EXPECT_EQ(GetPixel(result, 9, 0), 0u) << bits;
        EXPECT_EQ(GetPixel(result, 0, 0), 0u) << bits;
    }
}

TEST_F(ColorOpsTest, Reduce8To4KeepsUsedIndicesInOrder)
{
    DisplayImage eight;
    Shape(eight, 3, 2, 8);
    SetEntry(eight, 3, 1, 2, 3);
    SetEntry(eight, 200, 4, 5, 6);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            SetPixel(eight, x, y, (x + y) % 2 ? 200 : 3);
    DisplayImage four;
    ReduceColors8To4(four, eight);
    ExpectOwnBlocks(four, eight);
    EXPECT_EQ(four.bitCount, 4);
    EXPECT_EQ(four.status, kStatusReduceColors);
    EXPECT_EQ(Entry(four, 0).red, 1);
    EXPECT_EQ(Entry(four, 1).red, 4);
    EXPECT_EQ(Entry(four, 1).blue, 6);
    EXPECT_EQ(Entry(four, 2).red, 0);
    EXPECT_EQ(GetPixel(four, 0, 0), 0u);
    EXPECT_EQ(GetPixel(four, 1, 0), 1u);
    EXPECT_EQ(GetPixel(four, 2, 1), 1u);

    DisplayImage sixteen, seventeen;
    Shape(sixteen, 17, 1, 8);
    Shape(seventeen, 17, 1, 8);
    for (int x = 0; x < 17; ++x) {
        SetPixel(sixteen, x, 0, uint32_t(x % 16) * 10);
        SetPixel(seventeen, x, 0, uint32_t(x) * 10);
    }
    DisplayImage fits, refused;
    ReduceColors8To4(fits, sixteen);
    EXPECT_NE(fits.hPixels, 0u);
    EXPECT_EQ(GetPixel(fits, 16, 0), 0u);
    EXPECT_EQ(GetPixel(fits, 15, 0), 15u);
    ReduceColors8To4(refused, seventeen);
    EXPECT_EQ(refused.hPixels, 0u);
    EXPECT_EQ(refused.hHeader, 0u);
    EXPECT_EQ(refused.status, kStatusMoreThan16Colors);
}

TEST_F(ColorOpsTest, Reduce24To8CollectsColoursInFirstOccurrence)
{
    DisplayImage full, over;
    Shape(full, 16, 17, 24);
    Shape(over, 16, 17, 24);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 16; ++x) {
            int n = y * 16 + x;
            uint32_t color = Bgr(uint8_t(n), uint8_t(n * 7), uint8_t(n >> 8));
            SetPixel(over, x, y, color);
            SetPixel(full, x, y, n < 256 ? color : Bgr(5, 35, 0));   // the last row repeats colour 5
        }
    }
    DisplayImage reduced;
    ReduceColors24To8(reduced, full);
    ExpectOwnBlocks(reduced, full);
    EXPECT_EQ(reduced.bitCount, 8);
    EXPECT_EQ(reduced.status, kStatusReduceColors);
    EXPECT_EQ(GetPixel(reduced, 0, 0), 0u);
    EXPECT_EQ(GetPixel(reduced, 15, 15), 255u);
    EXPECT_EQ(GetPixel(reduced, 3, 16), 5u);
    EXPECT_EQ(Entry(reduced, 255).red, 255);
    EXPECT_EQ(Entry(reduced, 255).green, uint8_t(255 * 7));
    EXPECT_EQ(g_progress, RowsOf(17));

    DisplayImage refused;
    ReduceColors24To8(refused, over);
    EXPECT_EQ(refused.hPixels, 0u);
    EXPECT_EQ(refused.hHeader, 0u);
    EXPECT_EQ(refused.status, kStatusMoreThan256Colors);
}

TEST_F(ColorOpsTest, Reduce4To1OnlyWithTwoColours)
{
    DisplayImage four;
    Shape(four, 9, 2, 4);
    SetEntry(four, 5, 9, 9, 9);
    SetEntry(four, 12, 200, 100, 50);
    for (int x = 0; x < 9; ++x) {
        SetPixel(four, x, 0, 5);
        SetPixel(four, x, 1, x % 3 ? 5 : 12);
    }
    DisplayImage mono;
    ReduceColors4To1(mono, four);
    ExpectOwnBlocks(mono, four);
    EXPECT_EQ(mono.bitCount, 1);
    EXPECT_EQ(mono.status, 0);   // no caption: only the save path uses it
    EXPECT_EQ(Entry(mono, 0).red, 9);
    EXPECT_EQ(Entry(mono, 1).red, 200);
    EXPECT_EQ(GetPixel(mono, 0, 1), 1u);
    EXPECT_EQ(GetPixel(mono, 1, 1), 0u);
    EXPECT_EQ(GetPixel(mono, 8, 0), 0u);

    SetPixel(four, 8, 0, 0);
    DisplayImage none;
    none.status = 123;
    ReduceColors4To1(none, four);
    EXPECT_EQ(none.hPixels, 0u);
    EXPECT_EQ(none.status, 123);
}

TEST_F(ColorOpsTest, PaletteImagesTo24Bits)
{
    for (int bits : {1, 4, 8}) {
        DisplayImage image;
        Shape(image, 13, 2, bits);
        SetEntry(image, 0, 1, 2, 3);
        SetEntry(image, 1, 200, 150, 100);
        SetPixel(image, 12, 1, 1);
        SetPixel(image, 7, 0, 1);
        DisplayImage deep;
        ConvertTo24Bit(deep, image);
        ExpectOwnBlocks(deep, image);
        EXPECT_EQ(deep.bitCount, 24);
        EXPECT_EQ(deep.width, 13);
        EXPECT_EQ(GetPixel(deep, 12, 1), Bgr(200, 150, 100)) << bits;
        EXPECT_EQ(GetPixel(deep, 7, 0), Bgr(200, 150, 100)) << bits;
        EXPECT_EQ(GetPixel(deep, 6, 0), Bgr(1, 2, 3)) << bits;
    }
    EXPECT_TRUE(g_progress.empty());
}

TEST_F(ColorOpsTest, DeepImagesBecome24BitsInPlace)
{
    DisplayImage image;
    Shape(image, 3, 2, 32);
    SetPixel(image, 2, 1, Bgr(9, 8, 7));
    {
        BlockLock pixels(image.hPixels);
        pixels.data()[4 * 2 + 12 + 3] = 0xEE;   // the unused fourth byte
    }
    ASSERT_TRUE(ConvertDeepImageTo24Bit(image));
    EXPECT_EQ(image.bitCount, 24);
    EXPECT_TRUE(image.HasSoundBlocks());
    EXPECT_EQ(image.GetRowStride(), 12u);
    EXPECT_EQ(GetPixel(image, 2, 1), Bgr(9, 8, 7));
    EXPECT_EQ(Header(image).bitCount, 24);

    // Operations refuse 4-byte pixels rather than read them as 3.
    image.FreeBlocks();
    Shape(image, 3, 2, 32);
    DisplayImage result;
    InvertColors(result, image);
    ReduceColors24To8(result, image);
    ConvertToGrayscale(result, image);
    EXPECT_EQ(result.hPixels, 0u);
    image.FreeBlocks();
}

TEST_F(ColorOpsTest, DuplicatesAreIndependent)
{
    DisplayImage image;
    Shape(image, 4, 4, 8);
    SetPixel(image, 1, 1, 77);
    DisplayImage copy;
    ASSERT_TRUE(DuplicateImage(copy, image));
    ExpectOwnBlocks(copy, image);
    EXPECT_EQ(Bytes(copy.hPixels), Bytes(image.hPixels));
    SetPixel(copy, 1, 1, 5);
    EXPECT_EQ(GetPixel(image, 1, 1), 77u);
}

TEST_F(ColorOpsTest, FailedAllocationLeavesNoBlockBehind)
{
    // 9500 x 9500 at 8 bits fits; at 24 bits it passes the library's cap, so
    // the result's pixel block cannot be had after its header was made.
    DisplayImage big;
    Shape(big, 9500, 9500, 8);
    ASSERT_TRUE(big.HasSoundBlocks());
    DisplayImage result;
    ConvertTo24Bit(result, big);
    EXPECT_EQ(result.hPixels, 0u);
    EXPECT_EQ(result.hHeader, 0u);
    EXPECT_EQ(result.status, kStatusNoMemory);
    EXPECT_TRUE(big.HasSoundBlocks());
}

TEST_F(ColorOpsTest, UnsoundSourcesBuildNothing)
{
    DisplayImage image;
    Shape(image, 4, 4, 24);
    image.height = 40;   // the blocks are smaller than the fields say
    DisplayImage result;
    InvertColors(result, image);
    ConvertToBlackWhite(result, image);
    ReduceColors24To8(result, image);
    EXPECT_FALSE(DuplicateImage(result, image));
    EXPECT_EQ(result.hPixels, 0u);
    EXPECT_EQ(result.status, 0);
}

} // namespace
