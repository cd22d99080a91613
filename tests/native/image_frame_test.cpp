// The Frame operation: exact band and source pixels at every depth, nearest
// palette entries for colours the palette lacks, 1-bit sources coming back
// at the fewest bits their colours need, and sizes that cannot be held
// refused without a block left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "DisplayImageKit.h"
#include "capture/core/image/ImageFrame.h"
#include "capture/core/image/ImageNotify.h"
#include "capture/core/settings/Settings.h"

using namespace imagekit;

namespace {

std::vector<int> g_progressRows;
void RecordProgress(int index, int count) { g_progressRows.push_back(index * 1000 + count); }

constexpr COLORREF Rgb(int red, int green, int blue) { return COLORREF(red | green << 8 | blue << 16); }

// Expected pixels in picture order (top row first); 'F' frame, 'M' mat and
// 'S' the source pixel underneath.
std::vector<std::string> Layout(int width, int height, int frame, int mat)
{
    const int border = frame + mat, w = width + 2 * border, h = height + 2 * border;
    std::vector<std::string> rows(h, std::string(w, 'S'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int edge = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
            if (edge < frame)
                rows[y][x] = 'F';
            else if (edge < border)
                rows[y][x] = 'M';
        }
    return rows;
}

uint32_t Same(uint32_t value) { return value; }

// Every pixel of result against the layout: band pixels equal their value,
// source pixels equal the source's pixel. Pixel values are compared through
// resultValue and sourceValue (colours, when the depths differ).
template <class ResultValue = uint32_t (*)(uint32_t), class SourceValue = uint32_t (*)(uint32_t)>
void ExpectFramed(const DisplayImage& result, const DisplayImage& source, int frame, int mat, uint32_t frameValue,
                  uint32_t matValue, ResultValue resultValue = Same, SourceValue sourceValue = Same)
{
    const std::vector<std::string> layout = Layout(source.width, source.height, frame, mat);
    ASSERT_EQ(result.height, int32_t(layout.size()));
    ASSERT_EQ(result.width, int32_t(layout[0].size()));
    const int border = frame + mat;
    for (int y = 0; y < result.height; ++y)
        for (int x = 0; x < result.width; ++x) {
            const int32_t stored = result.height - 1 - y;
            uint32_t expected = layout[y][x] == 'F' ? frameValue : matValue;
            if (layout[y][x] == 'S')
                expected = sourceValue(GetPixel(source, x - border, source.height - 1 - (y - border)));
            EXPECT_EQ(resultValue(GetPixel(result, x, stored)), expected) << "picture pixel " << x << "," << y;
        }
}

class ImageFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        liveBlocks = KernelLiveBlockCount();
        g_progressRows.clear();
        ImageProgressReporter = RecordProgress;
    }
    void TearDown() override
    {
        ImageProgressReporter = nullptr;
        EXPECT_EQ(KernelLiveBlockCount(), liveBlocks);
    }
    static void ExpectOwnSoundBlocks(const DisplayImage& result, const DisplayImage& source)
    {
        ASSERT_NE(result.hPixels, 0u);
        EXPECT_NE(result.hPixels, source.hPixels);
        EXPECT_NE(result.hHeader, source.hHeader);
        EXPECT_TRUE(result.HasSoundBlocks());
        EXPECT_EQ(result.status, kStatusFrame);
    }
    size_t liveBlocks = 0;
};

// A 24-bit image whose every pixel differs.
void Fill24(DisplayImage& image, int width, int height)
{
    Shape(image, width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(image, x, y, Bgr(uint8_t(10 + x), uint8_t(20 + y), uint8_t(30 + x * y)));
}

TEST_F(ImageFrameTest, OnePixelFrameAroundA24BitImage)
{
    DisplayImage source;
    Fill24(source, 4, 3);
    source.timeStamp = 1234;
    const std::vector<uint8_t> before = Bytes(source.hPixels);

    DisplayImage result;
    FrameImage(result, source, {1, 0, Rgb(200, 0, 0), Rgb(0, 255, 0)});
    ExpectOwnSoundBlocks(result, source);
    EXPECT_EQ(result.bitCount, 24);
    ExpectFramed(result, source, 1, 0, Bgr(200, 0, 0), 0);
    const DibHeader header = Header(result);
    EXPECT_EQ(header.width, 6);
    EXPECT_EQ(header.height, 5);
    EXPECT_EQ(header.sizeImage, result.GetBitsSize());
    EXPECT_EQ(result.timeStamp, 1234);
    EXPECT_EQ(Bytes(source.hPixels), before);
    EXPECT_EQ(g_progressRows, (std::vector<int>{3, 1003, 2003}));
}

TEST_F(ImageFrameTest, FrameAndMatBandsAt24Bits)
{
    DisplayImage source;
    Fill24(source, 3, 2);
    DisplayImage result;
    FrameImage(result, source, {2, 3, Rgb(1, 2, 3), Rgb(250, 251, 252)});
    ExpectOwnSoundBlocks(result, source);
    EXPECT_EQ(result.width, 13);
    EXPECT_EQ(result.height, 12);
    ExpectFramed(result, source, 2, 3, Bgr(1, 2, 3), Bgr(250, 251, 252));
}

TEST_F(ImageFrameTest, PaletteImagesUseTheNearestEntries)
{
    DisplayImage source;
    Shape(source, 3, 2, 8);
    SetEntry(source, 0, 0, 0, 0);
    SetEntry(source, 1, 255, 255, 255);
    SetEntry(source, 2, 180, 20, 20);   // nearest to pure red
    SetEntry(source, 3, 20, 20, 170);   // nearest to navy
    for (int i = 4; i < 256; ++i)
        SetEntry(source, i, 0, 0, 0);   // black again: the first black wins
    SetPixel(source, 0, 0, 1);
    SetPixel(source, 2, 1, 3);
    SetPixel(source, 1, 1, 200);
    const std::vector<uint8_t> table = Bytes(source.hHeader);

    DisplayImage result;
    FrameImage(result, source, {2, 1, Rgb(255, 0, 0), Rgb(0, 0, 128)});
    ExpectOwnSoundBlocks(result, source);
    EXPECT_EQ(result.bitCount, 8);
    ExpectFramed(result, source, 2, 1, 2, 3);
    // The colour table comes along unchanged.
    const std::vector<uint8_t> copied = Bytes(result.hHeader);
    EXPECT_TRUE(std::equal(table.begin() + 40, table.end(), copied.begin() + 40));

    DisplayImage blackFrame;
    FrameImage(blackFrame, source, {1, 0, Rgb(5, 5, 5), 0});
    EXPECT_EQ(GetPixel(blackFrame, 0, 0), 0u);
}

TEST_F(ImageFrameTest, FourBitSourcesShiftedByOddAndEvenBorders)
{
    DisplayImage source;
    Shape(source, 5, 3, 4);
    for (int i = 0; i < 16; ++i)
        SetEntry(source, i, uint8_t(i * 16), uint8_t(i * 16), uint8_t(i * 16));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            SetPixel(source, x, y, uint32_t((x + 5 * y) % 16));
    for (int frame : {1, 2}) {
        DisplayImage result;
        FrameImage(result, source, {frame, 1, Rgb(255, 255, 255), Rgb(40, 40, 40)});
        ExpectOwnSoundBlocks(result, source);
        EXPECT_EQ(result.bitCount, 4);
        ExpectFramed(result, source, frame, 1, 15, 2);   // 255 -> entry 15, 40 -> entry 2 (32)
    }
}

// 0xBBGGRR of a palette image's pixel value through its table.
std::function<uint32_t(uint32_t)> ThroughTable(const DisplayImage& image)
{
    return [&image](uint32_t index) {
        const DibColor c = Entry(image, int(index));
        return Bgr(c.red, c.green, c.blue);
    };
}

// Distinct colours of an image's pixels through its table.
size_t UsedColors(const DisplayImage& image)
{
    std::set<uint32_t> colors;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            colors.insert(ThroughTable(image)(GetPixel(image, x, y)));
    return colors.size();
}

TEST_F(ImageFrameTest, OneBitSourcesComeBackAtTheFewestBits)
{
    DisplayImage source;
    Shape(source, 9, 2, 1);
    SetEntry(source, 1, 255, 255, 255);
    SetPixel(source, 0, 0, 1);
    SetPixel(source, 8, 1, 1);
    source.timeStamp = 77;

    // Black frame, white mat: still two colours.
    DisplayImage mono;
    FrameImage(mono, source, {1, 2, Rgb(0, 0, 0), Rgb(255, 255, 255)});
    ExpectOwnSoundBlocks(mono, source);
    EXPECT_EQ(mono.bitCount, 1);
    EXPECT_EQ(mono.timeStamp, 77);
    ExpectFramed(mono, source, 1, 2, Bgr(0, 0, 0), Bgr(255, 255, 255), ThroughTable(mono), ThroughTable(source));

    // A red frame and a gray mat make four colours: 4 bits.
    DisplayImage colour;
    FrameImage(colour, source, {2, 1, Rgb(255, 0, 0), Rgb(128, 128, 128)});
    ExpectOwnSoundBlocks(colour, source);
    EXPECT_EQ(colour.bitCount, 4);
    EXPECT_EQ(UsedColors(colour), 4u);
    ExpectFramed(colour, source, 2, 1, Bgr(255, 0, 0), Bgr(128, 128, 128), ThroughTable(colour),
                 ThroughTable(source));
}

TEST_F(ImageFrameTest, WidthsOutOfRange)
{
    DisplayImage source;
    Fill24(source, 2, 2);
    source.timeStamp = 5;
    // Negative widths count as none.
    DisplayImage none;
    FrameImage(none, source, {-3, -1, 0, 0});
    ExpectOwnSoundBlocks(none, source);
    EXPECT_EQ(Bytes(none.hPixels), Bytes(source.hPixels));

    // Sides past the image fields or the block cap, and widths whose sum
    // wraps: refused as out of memory, nothing allocated.
    const FrameStyle tooLarge[] = {{INT_MAX, INT_MAX, 0, 0}, {INT_MAX / 2, 0, 0, 0}, {0, INT_MAX / 2 - 1, 0, 0},
                                   {100000, 0, 0, 0}};
    for (const FrameStyle& style : tooLarge) {
        DisplayImage refused;
        FrameImage(refused, source, style);
        EXPECT_EQ(refused.status, kStatusNoMemory);
        EXPECT_EQ(refused.hPixels, 0u);
        EXPECT_EQ(refused.hHeader, 0u);
    }
    DisplayImage oneBit;
    Shape(oneBit, 1, 1, 1);
    DisplayImage refused;
    FrameImage(refused, oneBit, {100000, 0, 0, 0});
    EXPECT_EQ(refused.status, kStatusNoMemory);
    EXPECT_EQ(refused.hPixels, 0u);
}

TEST_F(ImageFrameTest, UnframableSourcesBuildNothing)
{
    DisplayImage deep;
    Shape(deep, 2, 2, 32);
    DisplayImage empty;
    for (const DisplayImage* source : {&deep, &empty}) {
        DisplayImage result;
        FrameImage(result, *source, {1, 1, 0, 0});
        EXPECT_EQ(result.hPixels, 0u);
        EXPECT_EQ(result.status, 0);
    }
}

TEST_F(ImageFrameTest, TheCommandTakesTheFrameSettings)
{
    int saved[kFrameCount];
    std::copy(Frame, Frame + kFrameCount, saved);
    Frame[kFrameWidth] = 1;
    Frame[kFrameMatWidth] = 1;
    Frame[kFrameColor] = int(Rgb(9, 8, 7));
    Frame[kFrameMatColor] = int(Rgb(6, 5, 4));
    DisplayImage source;
    Fill24(source, 1, 1);
    DisplayImage result;
    AddImageFrame(result, source);
    std::copy(saved, saved + kFrameCount, Frame);
    ExpectOwnSoundBlocks(result, source);
    ExpectFramed(result, source, 1, 1, Bgr(9, 8, 7), Bgr(6, 5, 4));
}

}  // namespace
