// The image object: sizes that cannot wrap, headers, the hand-overs and who
// frees what, the dithered display copy and colour counting.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "DisplayImageKit.h"
#include "capture/core/image/DisplayImage.h"
#include "capture/core/image/ImageNotify.h"
#include "capture/core/settings/Settings.h"
#include "capture/core/image/WorkImage.h"

using namespace imagekit;

namespace {

std::vector<std::pair<int, int>> g_progress;
void RecordProgress(int index, int count) { g_progress.emplace_back(index, count); }
int g_message = 0;
void RecordMessage(int id) { g_message = id; }

class DisplayImageTest : public testing::Test {
protected:
    void SetUp() override
    {
        liveBlocks = KernelLiveBlockCount();
        g_progress.clear();
        g_message = 0;
        ImageProgressReporter = RecordProgress;
        ImageMessageReporter = RecordMessage;
    }
    void TearDown() override
    {
        ImageProgressReporter = nullptr;
        ImageMessageReporter = nullptr;
        ScreenDepth = 32;
        ScreenColorCount = 1 << 24;
    }
    // Every test ends with its images destroyed and their blocks returned.
    void ExpectNoBlocksLeft() { EXPECT_EQ(KernelLiveBlockCount(), liveBlocks); }
    size_t liveBlocks = 0;
};

TEST_F(DisplayImageTest, SizesFollowDepthAndNeverWrap)
{
    DisplayImage image;
    image.height = 2;
    image.width = 33;
    image.bitCount = 1;
    EXPECT_EQ(image.GetRowStride(), 8u);
    EXPECT_EQ(image.GetBitsSize(), 16u);
    image.width = 3;
    image.bitCount = 24;
    EXPECT_EQ(image.GetRowStride(), 12u);

    image.bitCount = 2;
    EXPECT_EQ(image.GetHeaderSize(), 0u);

    // 70000 x 70000 x 3 bytes overflows 32 bits; a negative size is no image.
    image.bitCount = 24;
    image.width = 70000;
    image.height = 70000;
    EXPECT_EQ(image.GetBitsSize(), 0u);
    image.width = -4;
    image.height = 4;
    EXPECT_EQ(image.GetRowStride(), 0u);
    EXPECT_EQ(image.GetBitsSize(), 0u);
    EXPECT_FALSE(image.HasSoundBlocks());
}

TEST_F(DisplayImageTest, HeaderAndBlockChecks)
{
    {
        DisplayImage image;
        Shape(image, 5, 3, 4);
        DibHeader header = Header(image);
        EXPECT_EQ(header.size, 40u);
        EXPECT_EQ(header.width, 5);
        EXPECT_EQ(header.height, 3);
        EXPECT_EQ(header.planes, 1);
        EXPECT_EQ(header.bitCount, 4);
        EXPECT_EQ(header.compression, 0u);
        EXPECT_EQ(GlobalSize(image.hHeader), 104u);
        EXPECT_TRUE(image.HasSoundBlocks());

        // A pixel block shorter than the size says is not sound.
        image.height = 4;
        EXPECT_FALSE(image.HasSoundBlocks());
    }
    DisplayImage odd;
    odd.width = 4;
    odd.height = 4;
    odd.bitCount = 2;
    EXPECT_FALSE(odd.CreateHeader());
    EXPECT_EQ(odd.hHeader, 0u);
    ExpectNoBlocksLeft();
}

TEST_F(DisplayImageTest, HandOversFreeEveryBlockOnce)
{
    {
        DisplayImage source;
        Shape(source, 4, 4, 8);
        source.hDisplayPixels = GlobalAlloc(GHND, 16);
        source.hDisplayHeader = GlobalAlloc(GHND, 1064);
        source.hNote = GlobalAlloc(GHND, 6);
        source.noteLength = 6;
        source.colorCount = 7;
        source.selectionShown = 1;
        source.borderShown = 1;
        source.timeStamp = 1234;
        source.status = kStatusGrayscale;
        source.placement = {50, 50, 54, 54};
        source.selection = {1, 1, 3, 3};

        DisplayImage copy;
        copy.CopyAttributesFrom(source);
        EXPECT_EQ(copy.hPixels, source.hPixels);
        EXPECT_EQ(copy.hHeader, source.hHeader);
        EXPECT_EQ(copy.hDisplayPixels, 0u);
        EXPECT_EQ(copy.hDisplayHeader, 0u);
        EXPECT_EQ(copy.hNote, 0u);
        EXPECT_EQ(copy.colorCount, 0);
        EXPECT_EQ(copy.selectionShown, 0);
        EXPECT_EQ(copy.borderShown, 0);
        EXPECT_EQ(copy.timeStamp, 1234);
        EXPECT_EQ(copy.status, kStatusGrayscale);
        EXPECT_EQ(copy.placement.left, 50);
        EXPECT_EQ(copy.selection.right, 3);

        // The source forgets the shared blocks; the copy frees them.
        HGLOBAL displayPixels = source.hDisplayPixels;
        source.Clear();
        EXPECT_EQ(source.hPixels, 0u);
        EXPECT_EQ(source.width, 0);
        EXPECT_EQ(source.status, 0);
        EXPECT_EQ(source.placement.right, 0);
        GlobalFree(displayPixels);   // Clear forgets the display copy too
    }
    ExpectNoBlocksLeft();
}

TEST_F(DisplayImageTest, DestructorKeepsAHeaderWhosePixelsAreGone)
{
    // The capture road frees a reused image's blocks and clears only its pixel
    // handle: the header handle left behind must not be freed again.
    HGLOBAL header;
    {
        DisplayImage image;
        Shape(image, 2, 2, 24);
        header = image.hHeader;
        image.hHeader = header;
        GlobalFree(image.hPixels);
        image.hPixels = 0;
    }
    EXPECT_EQ(GlobalSize(header), 40u);   // still there: not freed twice
    GlobalFree(header);
    {
        DisplayImage image;
        Shape(image, 2, 2, 24);
        image.FreeBlocks();
        EXPECT_EQ(image.hPixels, 0u);
        EXPECT_EQ(image.hHeader, 0u);
    }
    ExpectNoBlocksLeft();
}

TEST_F(DisplayImageTest, WorkImageIsHandedOverAndReplaced)
{
    CreateWorkImage();
    DisplayImage* first = WorkImage;
    Shape(*WorkImage, 3, 3, 8);
    DisplayImage* taken = TakeWorkImage();
    EXPECT_EQ(taken, first);
    ASSERT_NE(WorkImage, nullptr);
    EXPECT_NE(WorkImage, first);
    EXPECT_EQ(WorkImage->hPixels, 0u);
    delete taken;
    DeleteWorkImage();
    EXPECT_EQ(WorkImage, nullptr);
    ExpectNoBlocksLeft();
}

TEST_F(DisplayImageTest, HalftonePaletteAndDither)
{
    // The ends of the cube, of the grays and of the table.
    auto rgb = [](PaletteRgb e) { return std::vector<int>{e.peRed, e.peGreen, e.peBlue}; };
    EXPECT_EQ(rgb(HalftonePaletteEntry(10 + 36 * 2 + 6 * 3 + 4)), (std::vector<int>{102, 153, 204}));
    EXPECT_EQ(rgb(HalftonePaletteEntry(225)), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(rgb(HalftonePaletteEntry(245)), (std::vector<int>{244, 244, 244}));
    EXPECT_EQ(rgb(HalftonePaletteEntry(246)), (std::vector<int>{255, 251, 240}));

    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(DitherToHalftone(255, 255, 255, x, y), 225);
            EXPECT_EQ(DitherToHalftone(0, 0, 0, x, y), 10);
        }
    }
    // 112 = 2 * 51 + 10: above threshold 0 at (0, 0), below 38 at (1, 0).
    EXPECT_EQ(DitherToHalftone(112, 0, 0, 0, 0), 10 + 36 * 3);
    EXPECT_EQ(DitherToHalftone(112, 0, 0, 1, 0), 10 + 36 * 2);
    EXPECT_EQ(DitherToHalftone(0, 0, 112, 1, 0), 10 + 2);
    // Threshold 50 at (7, 0): a remainder of 50 stays below.
    EXPECT_EQ(DitherToHalftone(0, 50, 0, 7, 0), 10);
    EXPECT_EQ(DitherToHalftone(0, 50, 0, 0, 0), 10 + 6);
}

TEST_F(DisplayImageTest, DisplayCopyOfDeepImages)
{
    for (int bits : {24, 32}) {
        DisplayImage image;
        Shape(image, 9, 3, bits);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x)
                SetPixel(image, x, y, Bgr(uint8_t(x * 30), uint8_t(y * 100), uint8_t(x * y * 9)));
        image.DitherTo8Bit();
        ASSERT_NE(image.hDisplayPixels, 0u) << bits;
        EXPECT_EQ(GlobalSize(image.hDisplayPixels), 12u * 3);
        BlockLock display(image.hDisplayPixels);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(display.data()[y * 12 + x],
                          DitherToHalftone(uint8_t(x * 30), uint8_t(y * 100), uint8_t(x * y * 9), x, y));

        ASSERT_TRUE(image.BuildHalftoneDisplayHeader());
        EXPECT_EQ(GlobalSize(image.hDisplayHeader), 1064u);
        BlockLock header(image.hDisplayHeader);
        const DibHeader* info = header.as<DibHeader>();
        EXPECT_EQ(info->bitCount, 8);
        EXPECT_EQ(info->clrUsed, 256u);
        EXPECT_EQ(info->width, 9);
        const DibColor* table = reinterpret_cast<const DibColor*>(header.data() + 40);
        EXPECT_EQ(table[249].red, 255);
        EXPECT_EQ(table[249].blue, 0);
    }
    DisplayImage palette;
    Shape(palette, 4, 4, 8);
    palette.DitherTo8Bit();
    EXPECT_EQ(palette.hDisplayPixels, 0u);
}

TEST_F(DisplayImageTest, CountsPaletteIndicesWithProgressPerRow)
{
    DisplayImage four;
    Shape(four, 5, 3, 4);
    SetPixel(four, 0, 0, 3);
    SetPixel(four, 1, 0, 15);
    SetPixel(four, 4, 2, 9);
    four.CountColors4();
    EXPECT_EQ(four.colorCount, 4);   // 0, 3, 9, 15
    EXPECT_EQ(g_progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));

    DisplayImage eight;
    Shape(eight, 200, 2, 8);
    for (int x = 0; x < 200; ++x)
        SetPixel(eight, x, x % 2, uint32_t(x));
    eight.CountColors8();
    EXPECT_EQ(eight.colorCount, 200);   // 0 occurs anyway

    // Counting a depth the routine is not for gives nothing.
    eight.CountColors4();
    EXPECT_EQ(eight.colorCount, 0);
}

TEST_F(DisplayImageTest, CountsDeepColoursOnce)
{
    for (int bits : {24, 32}) {
        DisplayImage image;
        Shape(image, 64, 4, bits);
        // Same green and red with different blues, and repeats.
        for (int x = 0; x < 64; ++x) {
            SetPixel(image, x, 0, Bgr(7, 9, uint8_t(x)));
            SetPixel(image, x, 1, Bgr(uint8_t(x), 255, 255));
            SetPixel(image, x, 2, Bgr(7, 9, uint8_t(x)));
        }
        image.CountColors24();   // row 3 is black
        EXPECT_EQ(image.colorCount, 64 + 64 + 1) << bits;
    }
    // The fourth byte of a 32-bit pixel is no colour.
    DisplayImage deep;
    Shape(deep, 2, 1, 32);
    {
        BlockLock pixels(deep.hPixels);
        pixels.data()[3] = 77;
    }
    deep.CountColors24();
    EXPECT_EQ(deep.colorCount, 1);
    EXPECT_EQ(g_message, 0);

    DisplayImage unsound;
    Shape(unsound, 2, 2, 24);
    unsound.height = 100;
    unsound.CountColors24();
    EXPECT_EQ(unsound.colorCount, 0);
}

} // namespace
