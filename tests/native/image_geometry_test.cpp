// Zoom, scale, flips and quarter turns: every pixel lands at its mapped
// place at every depth and at odd widths, ImageMagick agrees on the same
// files, the shrinking rules drop the rows they should, and sizes that
// cannot be held are refused without touching the source.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "GeometryFormsKit.h"
#include "GeometryKit.h"
#include "capture/core/image/ImageGeometry.h"
#include "capture/core/image/RowKernels.h"
#include "capture/core/settings/Settings.h"

using namespace geometrykit;

namespace {

const int kDepths[] = {1, 4, 8, 24};
const int kWidths[] = {1, 3, 31, 33};

typedef void (*Operation)(DisplayImage&, const DisplayImage&);

// Where result pixel (x, y) (picture coordinates, top row 0) comes from in
// a w x h source.
struct Mapping {
    const char* name;
    Operation op;
    bool swapsSides;
    std::function<void(int32_t x, int32_t y, int32_t w, int32_t h, int32_t& sx, int32_t& sy)> from;
    const char* magick;
    int status;
};

const Mapping kMappings[] = {
    {"flip horizontal", FlipImageHorizontal, false,
     [](int32_t x, int32_t y, int32_t w, int32_t, int32_t& sx, int32_t& sy) { sx = w - 1 - x, sy = y; }, "-flop",
     kStatusFlipHorizontal},
    {"flip vertical", FlipImageVertical, false,
     [](int32_t x, int32_t y, int32_t, int32_t h, int32_t& sx, int32_t& sy) { sx = x, sy = h - 1 - y; }, "-flip",
     kStatusFlipVertical},
    // Counter-clockwise: the source's right-hand column is the top row.
    {"rotate left", RotateImageLeft, true,
     [](int32_t x, int32_t y, int32_t w, int32_t, int32_t& sx, int32_t& sy) { sx = w - 1 - y, sy = x; },
     "-rotate -90", kStatusRotateLeft},
    // Clockwise: the source's left-hand column, bottom to top, is the top row.
    {"rotate right", RotateImageRight, true,
     [](int32_t x, int32_t y, int32_t, int32_t h, int32_t& sx, int32_t& sy) { sx = y, sy = h - 1 - x; },
     "-rotate 90", kStatusRotateRight},
};

// Picture pixel (x, y), top row 0.
uint32_t PictureAt(const DisplayImage& image, int32_t x, int32_t y) { return GetPixel(image, x, image.height - 1 - y); }

} // namespace

TEST(ImageGeometry, FlipsAndTurnsMoveEveryPixelToItsPlace)
{
    for (const Mapping& m : kMappings)
        for (int depth : kDepths)
            for (int32_t width : kWidths)
                for (int32_t height : {1, 2, 5}) {
                    SCOPED_TRACE(std::string(m.name) + " " + std::to_string(depth) + " bits " +
                                 std::to_string(width) + "x" + std::to_string(height));
                    DisplayImage source;
                    Patterned(source, width, height, depth);
                    const Snapshot before(source);
                    DisplayImage result;
                    m.op(result, source);
                    ASSERT_TRUE(result.hPixels);
                    EXPECT_TRUE(before.Matches(source));
                    EXPECT_EQ(result.status, m.status);
                    EXPECT_EQ(result.bitCount, depth);
                    ASSERT_EQ(result.width, m.swapsSides ? height : width);
                    ASSERT_EQ(result.height, m.swapsSides ? width : height);
                    const DibHeader header = Header(result);
                    EXPECT_EQ(header.width, result.width);
                    EXPECT_EQ(header.height, result.height);
                    EXPECT_EQ(header.sizeImage, result.GetBitsSize());
                    // The colour table travels with the pixels.
                    EXPECT_EQ(Bytes(result.hHeader).size() >= source.GetHeaderSize(), true);
                    for (int i = 0; i < (depth <= 8 ? 1 << depth : 0); ++i)
                        EXPECT_EQ(Entry(result, i).green, Entry(source, i).green);
                    int mismatches = 0;
                    for (int32_t y = 0; y < result.height; ++y)
                        for (int32_t x = 0; x < result.width; ++x) {
                            int32_t sx, sy;
                            m.from(x, y, width, height, sx, sy);
                            mismatches += PictureAt(result, x, y) != PictureAt(source, sx, sy);
                        }
                    EXPECT_EQ(mismatches, 0);
                }
}

TEST(ImageGeometry, FourLeftTurnsOrOneEachWayGiveTheImageBack)
{
    for (int depth : kDepths) {
        SCOPED_TRACE(depth);
        DisplayImage source;
        Patterned(source, 33, 7, depth);
        DisplayImage a, b, c, d, right;
        RotateImageLeft(a, source);
        RotateImageLeft(b, a);
        RotateImageLeft(c, b);
        RotateImageLeft(d, c);
        RotateImageRight(right, a);
        EXPECT_EQ(Rgb(d), Rgb(source));
        EXPECT_EQ(Rgb(right), Rgb(source));
        // Two turns are both flips.
        DisplayImage flipped, both;
        FlipImageHorizontal(flipped, source);
        FlipImageVertical(both, flipped);
        EXPECT_EQ(Rgb(b), Rgb(both));
    }
}

TEST(ImageGeometry, ImageMagickAgreesOnFlipsTurnsAndZoom)
{
    if (!kit::HaveTool("convert-im6.q16"))
        GTEST_SKIP() << "ImageMagick is not installed";
    const std::string dir = kit::ScratchDir();
    for (int depth : kDepths)
        for (int32_t width : {3, 33}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, width " + std::to_string(width));
            DisplayImage source;
            Patterned(source, width, 5, depth, 7);
            const std::string path = dir + "/geometry-" + std::to_string(depth) + "-" + std::to_string(width) + ".bmp";
            WriteBmp(source, path);
            ASSERT_EQ(kit::MagickRgb(path), Rgb(source));
            for (const Mapping& m : kMappings) {
                SCOPED_TRACE(m.name);
                DisplayImage result;
                m.op(result, source);
                EXPECT_EQ(MagickAfter(path, m.magick), Rgb(result));
            }
            DisplayImage zoomed;
            ScaleImageUp(zoomed, source, 3, 2);
            EXPECT_EQ(MagickAfter(path, "-sample 300%x200%"), Rgb(zoomed));
            DisplayImage scaled;
            ScaleImageTo(scaled, source, width * 2, 10, false);
            EXPECT_EQ(MagickAfter(path, "-sample " + std::to_string(width * 2) + "x10!"), Rgb(scaled));
        }
}

TEST(ImageGeometry, ZoomInRepeatsEveryPixelAndKeepsTheColourTable)
{
    for (int depth : kDepths) {
        DisplayImage source;
        Patterned(source, 3, 2, depth);
        DisplayImage result;
        ScaleImageUp(result, source, 2, 2);
        ASSERT_EQ(result.width, 6);
        ASSERT_EQ(result.height, 4);
        EXPECT_EQ(result.status, kStatusZoomIn);
        EXPECT_EQ(result.bitCount, depth);
        EXPECT_EQ(Bytes(result.hHeader).size(), Bytes(source.hHeader).size());
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 6; ++x)
                EXPECT_EQ(GetPixel(result, x, y), GetPixel(source, x / 2, y / 2));
    }
}

TEST(ImageGeometry, ScaleGrowsByWholeFactorsThenDropsAndShrinksByDropping)
{
    DisplayImage square;
    Patterned(square, 100, 100, 8);
    DisplayImage grown;
    ScaleImageTo(grown, square, 150, 150, false);
    EXPECT_EQ(grown.width, 150);
    EXPECT_EQ(grown.height, 150);
    EXPECT_EQ(grown.status, kStatusZoomIn);
    EXPECT_EQ(Header(grown).width, 150);

    DisplayImage wide;
    Patterned(wide, 100, 80, 24);
    DisplayImage half;
    ScaleImageTo(half, wide, 50, 40, false);
    EXPECT_EQ(half.width, 50);
    EXPECT_EQ(half.height, 40);
    EXPECT_EQ(half.status, kStatusZoomOut);

    // One side grows, the other shrinks: the growing side decides the title.
    DisplayImage mixed;
    ScaleImageTo(mixed, wide, 130, 20, false);
    EXPECT_EQ(mixed.width, 130);
    EXPECT_EQ(mixed.height, 20);
    EXPECT_EQ(mixed.status, kStatusZoomIn);

    // The same size is a copy.
    DisplayImage same;
    ScaleImageTo(same, wide, 100, 80, false);
    EXPECT_EQ(Rgb(same), Rgb(wide));
}

TEST(ImageGeometry, PlainShrinkOfTenRowsToSevenDropsRowsThreeSixAndNine)
{
    // One column, each row's index as its pixel.
    DisplayImage source;
    Shape(source, 1, 10, 8);
    for (int y = 0; y < 10; ++y)
        SetPixel(source, 0, y, uint32_t(y));
    DisplayImage result;
    ScaleImageTo(result, source, 1, 7, false);
    ASSERT_EQ(result.height, 7);
    std::vector<uint32_t> kept;
    for (int y = 0; y < 7; ++y)
        kept.push_back(GetPixel(result, 0, y));
    EXPECT_EQ(kept, (std::vector<uint32_t>{0, 1, 2, 4, 5, 7, 8}));

    // Columns follow the same rule.
    DisplayImage row;
    Shape(row, 10, 1, 8);
    for (int x = 0; x < 10; ++x)
        SetPixel(row, x, 0, uint32_t(x));
    DisplayImage narrow;
    ScaleImageTo(narrow, row, 7, 1, false);
    ASSERT_EQ(narrow.width, 7);
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(GetPixel(narrow, x, 0), kept[size_t(x)]);
}

TEST(ImageGeometry, SmoothShrinkAveragesWithTheDroppedRowAfter)
{
    // 24 bits, one column, rows of distinct grays 10, 20, ... (more than 256
    // colours are not needed: the result stays 24 bits only with many).
    DisplayImage source;
    Shape(source, 1, 10, 24);
    for (int y = 0; y < 10; ++y)
        SetPixel(source, 0, y, uint32_t(10 * (y + 1)) * 0x010101u);
    DisplayImage result;
    ScaleImageTo(result, source, 1, 7, true);
    ASSERT_EQ(result.height, 7);
    EXPECT_EQ(result.status, kStatusZoomOut);
    // Few colours: the smooth result comes back as 8 bits.
    ASSERT_EQ(result.bitCount, 8);
    // Rows 2, 5, 8 dropped; 1 and 4 averaged with them; 0, 3, 6, 7, 9 alone.
    const std::vector<int> expected = {10, 25, 40, 55, 70, 80, 100};
    const std::vector<uint8_t> rgb = Rgb(result);
    for (int y = 0; y < 7; ++y) {
        // Rgb lists top-down: stored row y is picture row 6 - y.
        EXPECT_EQ(rgb[size_t(3 * (6 - y))], expected[size_t(y)]) << "stored row " << y;
    }
}

TEST(ImageGeometry, SmoothShrinkAveragesColumnsWithTheDroppedColumnAfter)
{
    // One row of grays 10, 20, ... 100 brought to 7 columns: 2, 5 and 8
    // dropped; 1, 4 and 7 averaged with the column after (7 because the
    // spacing 10 / 3 is held in single precision); 0, 3, 6 and 9 alone.
    DisplayImage source;
    Shape(source, 10, 1, 24);
    for (int x = 0; x < 10; ++x)
        SetPixel(source, x, 0, uint32_t(10 * (x + 1)) * 0x010101u);
    DisplayImage result;
    ScaleImageTo(result, source, 7, 1, true);
    ASSERT_EQ(result.width, 7);
    const std::vector<int> expected = {10, 25, 40, 55, 70, 85, 100};
    const std::vector<uint8_t> rgb = Rgb(result);
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(rgb[size_t(3 * x)], expected[size_t(x)]) << "column " << x;
}

// Growing by a ratio that is not whole is the enlargement by the next
// whole factors followed by the shrink, without the enlarged picture.
TEST(ImageGeometry, ScalingUpByAnyRatioIsEnlargingThenShrinking)
{
    struct Size {
        int32_t width, height, newWidth, newHeight;
    } const sizes[] = {{7, 5, 10, 12}, {31, 3, 100, 7}, {33, 17, 34, 16}, {5, 40, 9, 41}, {2, 1, 3, 2}};
    for (int depth : kDepths)
        for (const Size& size : sizes)
            for (bool smooth : {false, true}) {
                SCOPED_TRACE(testing::Message() << depth << " bits " << size.width << "x" << size.height << " to "
                                                << size.newWidth << "x" << size.newHeight << (smooth ? " smooth" : ""));
                DisplayImage source;
                Patterned(source, size.width, size.height, depth);
                const int fx = (size.newWidth + size.width - 1) / size.width;
                const int fy = (size.newHeight + size.height - 1) / size.height;
                DisplayImage enlarged, twoSteps, direct;
                ScaleImageUp(enlarged, source, fx, fy);
                ScaleImageTo(twoSteps, enlarged, size.newWidth, size.newHeight, smooth);
                ScaleImageTo(direct, source, size.newWidth, size.newHeight, smooth);
                EXPECT_EQ(direct.status, kStatusZoomIn);
                EXPECT_EQ(direct.bitCount, twoSteps.bitCount);
                EXPECT_EQ(Rgb(direct), Rgb(twoSteps));
            }
}

// The SSE2 forms of the row loops give the plain forms' bytes at widths
// below, at and past their group sizes, and across the quarter turns' tiles.
TEST(ImageGeometry, Sse2AndPlainFormsGiveTheSameBytes)
{
    if (!SetGeometryUsesSse2(true))
        GTEST_SKIP() << "built without SSE2";
    for (int32_t width : {1, 5, 6, 7, 21, 22, 23, 37, 70})
        for (int32_t height : {1, 2, 33, 70}) {
            DisplayImage source;
            Patterned(source, width, height, 24, unsigned(width * height));
            geometryforms::ExpectFormsAgree(source);
        }
}

TEST(ImageGeometry, SmoothResultsOfManyColoursStay24Bits)
{
    DisplayImage source;
    Patterned(source, 64, 64, 24);
    DisplayImage result;
    ScaleImageTo(result, source, 40, 50, true);
    EXPECT_EQ(result.bitCount, 24);
    EXPECT_EQ(result.width, 40);
    EXPECT_EQ(result.height, 50);
    EXPECT_EQ(Header(result).bitCount, 24);
    // A palette source goes through 24 bits and comes back as 8.
    DisplayImage indexed;
    Patterned(indexed, 31, 20, 4);
    DisplayImage fromIndexed;
    ScaleImageTo(fromIndexed, indexed, 20, 20, true);
    EXPECT_EQ(fromIndexed.bitCount, 8);
    EXPECT_EQ(fromIndexed.width, 20);
}

TEST(ImageGeometry, KeepingOneSideDividesNothingAndShrinksTheOther)
{
    for (bool smooth : {false, true}) {
        DisplayImage source;
        Patterned(source, 10, 10, 24);
        DisplayImage narrow, flat;
        ScaleImageTo(narrow, source, 5, 10, smooth);
        ScaleImageTo(flat, source, 10, 5, smooth);
        EXPECT_EQ(narrow.width, 5);
        EXPECT_EQ(narrow.height, 10);
        EXPECT_EQ(flat.width, 10);
        EXPECT_EQ(flat.height, 5);
    }
}

TEST(ImageGeometry, ResultsOfNoPixelsOrTooLargeAreRefusedAsNoMemory)
{
    DisplayImage source;
    Patterned(source, 5, 3, 24);
    const Snapshot before(source);
    struct Case {
        const char* name;
        std::function<void(DisplayImage&)> run;
    } cases[] = {
        {"zero width", [&](DisplayImage& r) { ScaleImageTo(r, source, 0, 3, false); }},
        {"zero height", [&](DisplayImage& r) { ScaleImageTo(r, source, 5, 0, true); }},
        {"negative", [&](DisplayImage& r) { ScaleImageTo(r, source, -4, 3, false); }},
        {"past the cap", [&](DisplayImage& r) { ScaleImageTo(r, source, 65535, 65535, false); }},
        {"zoom past an int", [&](DisplayImage& r) { ScaleImageUp(r, source, INT_MAX, 2); }},
        {"zoom factor zero", [&](DisplayImage& r) { ScaleImageUp(r, source, 0, 2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DisplayImage result;
        c.run(result);
        EXPECT_FALSE(result.hPixels);
        EXPECT_FALSE(result.hHeader);
        EXPECT_EQ(result.status, kStatusNoMemory);
        EXPECT_TRUE(before.Matches(source));
    }
    // A source that is not an image builds nothing at all.
    DisplayImage empty, result;
    FlipImageHorizontal(result, empty);
    RotateImageLeft(result, empty);
    ScaleImageTo(result, empty, 4, 4, false);
    EXPECT_FALSE(result.hPixels);
}

TEST(ImageGeometry, ZoomOutSettingPicksPlainOrSmooth)
{
    DisplayImage source;
    Patterned(source, 20, 20, 24);
    RunMode[kRunSmoothScaling] = 0;
    DisplayImage plain;
    ScaleImage(plain, source, 10, 10);
    RunMode[kRunSmoothScaling] = 1;
    DisplayImage smooth;
    ScaleImage(smooth, source, 10, 10);
    RunMode[kRunSmoothScaling] = 0;
    DisplayImage reference;
    ScaleImageTo(reference, source, 10, 10, false);
    EXPECT_EQ(Rgb(plain), Rgb(reference));
    EXPECT_NE(Rgb(smooth), Rgb(reference));
}
