// Crop, erase, the colour change, the cropping lines' steps and the merge's
// flattening: exact pixels at every depth and odd widths, the rules for
// palette images, empty selections and canvases, and sources left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GeometryKit.h"
#include "capture/core/image/ImageCrop.h"
#include "capture/core/image/ImageMerge.h"

using namespace geometrykit;

namespace {

const int kDepths[] = {1, 4, 8, 24};

uint32_t PictureAt(const DisplayImage& image, int32_t x, int32_t y) { return GetPixel(image, x, image.height - 1 - y); }

COLORREF ColorRef(uint8_t red, uint8_t green, uint8_t blue) { return COLORREF(red | green << 8 | blue << 16); }

// A gray 8-bit image: entry i is gray i.
void GrayImage(DisplayImage& image, int32_t width, int32_t height)
{
    Shape(image, width, height, 8);
    for (int i = 0; i < 256; ++i)
        SetEntry(image, i, uint8_t(i), uint8_t(i), uint8_t(i));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            SetPixel(image, x, y, uint32_t(x + y) % 200);
}

} // namespace

TEST(ImageCrop, CropTakesExactlyTheSelectionAtEveryDepth)
{
    for (int depth : kDepths)
        for (int32_t width : {3, 10, 31, 33}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, width " + std::to_string(width));
            DisplayImage source;
            Patterned(source, width, 10, depth);
            const ImageRect s = {width > 3 ? 2 : 1, 3, width > 3 ? 7 : 3, 8};
            source.selection = s;
            const Snapshot before(source);
            DisplayImage result;
            CropImage(result, source);
            ASSERT_TRUE(result.hPixels);
            EXPECT_TRUE(before.Matches(source));
            EXPECT_EQ(result.status, kStatusCrop);
            ASSERT_EQ(result.width, s.right - s.left);
            ASSERT_EQ(result.height, s.bottom - s.top);
            EXPECT_EQ(Header(result).width, result.width);
            EXPECT_EQ(Header(result).sizeImage, result.GetBitsSize());
            for (int32_t y = 0; y < result.height; ++y)
                for (int32_t x = 0; x < result.width; ++x)
                    ASSERT_EQ(PictureAt(result, x, y), PictureAt(source, s.left + x, s.top + y)) << x << "," << y;
        }
}

TEST(ImageCrop, EmptyOrOffImageSelectionsBuildNothingAndSelectionsAreClamped)
{
    DisplayImage source;
    Patterned(source, 10, 10, 24);
    for (ImageRect s : {ImageRect{4, 4, 4, 9}, ImageRect{3, 6, 8, 6}, ImageRect{20, 20, 30, 30}, ImageRect{7, 2, 3, 9}}) {
        source.selection = s;
        DisplayImage crop, erase;
        CropImage(crop, source);
        EraseSelection(erase, source);
        EXPECT_FALSE(crop.hPixels);
        EXPECT_EQ(crop.status, 0);
        EXPECT_FALSE(erase.hPixels);
        EXPECT_EQ(erase.status, 0);
    }
    // A selection past the edges is cut to the image.
    source.selection = {-5, 8, 40, 30};
    DisplayImage crop;
    CropImage(crop, source);
    ASSERT_TRUE(crop.hPixels);
    EXPECT_EQ(crop.width, 10);
    EXPECT_EQ(crop.height, 2);
    EXPECT_EQ(PictureAt(crop, 0, 0), PictureAt(source, 0, 8));
}

TEST(ImageCrop, EraseWhitensTheSelectionOnly)
{
    for (int depth : kDepths)
        for (int32_t width : {1, 3, 31, 33}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, width " + std::to_string(width));
            DisplayImage source;
            // A near-white entry the erase must find.
            const int whiteIndex = depth == 1 ? 1 : 3;
            Patterned(source, width, 6, depth, 1, whiteIndex);
            const ImageRect s = {width / 3, 1, width - width / 3, 5};
            source.selection = s;
            const Snapshot before(source);
            DisplayImage result;
            EraseSelection(result, source);
            ASSERT_TRUE(result.hPixels);
            EXPECT_TRUE(before.Matches(source));
            EXPECT_EQ(result.status, kStatusErase);
            const uint32_t white = depth == 24 ? 0xFFFFFFu : uint32_t(whiteIndex);
            for (int32_t y = 0; y < 6; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    const bool inside = x >= s.left && x < s.right && y >= s.top && y < s.bottom;
                    ASSERT_EQ(PictureAt(result, x, y), inside ? white : PictureAt(source, x, y)) << x << "," << y;
                }
        }
}

TEST(ImageCrop, EraseOfAGrayImageUsesTheFirstGrayAbove246OrTheNearestToWhite)
{
    DisplayImage gray;
    GrayImage(gray, 5, 5);
    gray.selection = {1, 1, 3, 3};
    DisplayImage result;
    EraseSelection(result, gray);
    EXPECT_EQ(PictureAt(result, 1, 1), 247u);

    // No entry above 246: the palest there is.
    DisplayImage dark;
    Shape(dark, 4, 4, 4);
    for (int i = 0; i < 16; ++i)
        SetEntry(dark, i, uint8_t(i * 10), uint8_t(i * 10), uint8_t(i * 5));
    dark.selection = {0, 0, 2, 2};
    DisplayImage erased;
    EraseSelection(erased, dark);
    EXPECT_EQ(PictureAt(erased, 0, 0), 15u);
}

TEST(ImageCrop, ColourChangeReplacesEveryPixelOrEveryMatchingEntry)
{
    DisplayImage deep;
    Shape(deep, 33, 3, 24);
    for (int32_t x = 0; x < 33; ++x)
        SetPixel(deep, x, 1, x % 2 ? Bgr(10, 20, 30) : Bgr(10, 20, 31));
    const Snapshot before(deep);
    DisplayImage changed;
    ASSERT_TRUE(ChangeImageColor(changed, deep, ColorRef(10, 20, 30), ColorRef(200, 100, 50)));
    EXPECT_TRUE(before.Matches(deep));
    EXPECT_EQ(changed.status, kStatusChangeColor);
    for (int32_t x = 0; x < 33; ++x)
        EXPECT_EQ(GetPixel(changed, x, 1), x % 2 ? Bgr(200, 100, 50) : Bgr(10, 20, 31));

    // The colour twice in the table: a pixel of either entry changes.
    DisplayImage indexed;
    Shape(indexed, 3, 3, 8);
    SetEntry(indexed, 4, 1, 2, 3);
    SetEntry(indexed, 9, 1, 2, 3);
    DisplayImage result;
    ASSERT_TRUE(ChangeImageColor(result, indexed, ColorRef(1, 2, 3), ColorRef(7, 8, 9)));
    EXPECT_EQ(Entry(result, 4).red, 7);
    EXPECT_EQ(Entry(result, 4).blue, 9);
    EXPECT_EQ(Entry(result, 9).red, 7);
    EXPECT_EQ(Entry(result, 9).blue, 9);
    EXPECT_EQ(Entry(indexed, 4).red, 1);
    EXPECT_EQ(Entry(indexed, 9).red, 1);
}

TEST(ImageCrop, ColourAtAPointReadsPixelsAndTableEntries)
{
    DisplayImage deep;
    Shape(deep, 4, 3, 24);
    SetPixel(deep, 2, 0, Bgr(11, 22, 33));   // stored row 0: the bottom picture row
    EXPECT_EQ(ColorAtPoint(deep, 2, 2), ColorRef(11, 22, 33));
    DisplayImage nibbles;
    Shape(nibbles, 5, 2, 4);
    SetEntry(nibbles, 6, 60, 70, 80);
    SetPixel(nibbles, 3, 1, 6);
    EXPECT_EQ(ColorAtPoint(nibbles, 3, 0), ColorRef(60, 70, 80));
    EXPECT_EQ(ColorAtPoint(nibbles, 5, 0), kNoColor);
    EXPECT_EQ(ColorAtPoint(nibbles, -1, 0), kNoColor);
}

TEST(CropLines, ArrowKeysMoveOneEdgeWithinTheImageAndReportTheStrip)
{
    ImageRect s = {0, 0, 10, 8};
    std::vector<ImageRect> strips;
    // Shift+Right at the right edge and O on a full selection change nothing.
    EXPECT_FALSE(NudgeSelection(s, kCropKeyRight, true, 10, 8, &strips));
    EXPECT_FALSE(NudgeSelection(s, kCropKeyOutward, false, 10, 8, &strips));
    EXPECT_TRUE(strips.empty());
    // Right moves the left edge in: column 0 leaves the selection.
    EXPECT_TRUE(NudgeSelection(s, kCropKeyRight, false, 10, 8, &strips));
    EXPECT_EQ(s.left, 1);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0].left, 0);
    EXPECT_EQ(strips[0].right, 1);
    EXPECT_EQ(strips[0].bottom, 8);
    // Shift+Up moves the bottom edge up; Down moves the top edge down.
    strips.clear();
    NudgeSelection(s, kCropKeyUp, true, 10, 8, &strips);
    NudgeSelection(s, kCropKeyDown, false, 10, 8, &strips);
    EXPECT_EQ(s.bottom, 7);
    EXPECT_EQ(s.top, 1);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].top, 7);
    EXPECT_EQ(strips[0].left, 1);
    EXPECT_EQ(strips[1].top, 0);
    // I moves all four in; the later strips use the extent already moved.
    strips.clear();
    EXPECT_TRUE(NudgeSelection(s, kCropKeyInward, false, 10, 8, &strips));
    EXPECT_EQ(s.left, 2);
    EXPECT_EQ(s.top, 2);
    EXPECT_EQ(s.right, 9);
    EXPECT_EQ(s.bottom, 6);
    ASSERT_EQ(strips.size(), 4u);
    EXPECT_EQ(strips[1].left, 2);   // the top row strip starts at the new left edge
    // Edges never cross: a one-pixel selection stays one pixel wide.
    ImageRect thin = {3, 3, 4, 4};
    EXPECT_FALSE(NudgeSelection(thin, kCropKeyRight, false, 10, 8, nullptr));
    EXPECT_FALSE(NudgeSelection(thin, kCropKeyLeft, true, 10, 8, nullptr));
    EXPECT_FALSE(NudgeSelection(thin, kCropKeyInward, false, 10, 8, nullptr));
}

TEST(CropLines, CornersAnchorsAndSpans)
{
    const ImageRect s = {10, 20, 50, 60};
    EXPECT_EQ(HitCropCorner(s, 50, 60), 4);
    EXPECT_EQ(HitCropCorner(s, 10, 60), 3);
    EXPECT_EQ(HitCropCorner(s, 10, 20), 2);
    EXPECT_EQ(HitCropCorner(s, 50, 20), 1);
    EXPECT_EQ(HitCropCorner(s, 30, 40), 0);
    int32_t x, y;
    CropAnchor(s, 2, x, y);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 60);
    CropAnchor(s, 1, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 60);
    // Dragging the top-left corner across the bottom-right one.
    const ImageRect crossed = SpanRect(50, 60, 70, 75);
    EXPECT_EQ(crossed.left, 50);
    EXPECT_EQ(crossed.top, 60);
    EXPECT_EQ(crossed.right, 70);
    EXPECT_EQ(crossed.bottom, 75);
}

TEST(ImageMerge, TwoPlacedImagesOverlapOnTheBackground)
{
    for (int depth : kDepths) {
        SCOPED_TRACE(depth);
        DisplayImage first, second;
        Patterned(first, 10, 10, depth, 1);
        Patterned(second, 10, 10, 24, 5);
        first.placement = {0, 0, 10, 10};
        second.placement = {5, 5, 15, 15};
        const Snapshot before(first);
        DisplayImage* images[] = {&first, &second};
        std::vector<int> phases;
        DisplayImage result;
        FlattenImages(result, images, 2, {ColorRef(1, 2, 3), true, [&](int id) { phases.push_back(id); }});
        ASSERT_TRUE(result.hPixels);
        EXPECT_TRUE(before.Matches(first));
        EXPECT_EQ(phases, (std::vector<int>{kMergeScanningText, kMergeMergingText}));
        ASSERT_EQ(result.width, 15);
        ASSERT_EQ(result.height, 15);
        const std::vector<uint8_t> merged = Rgb(result), a = Rgb(first), b = Rgb(second);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x) {
                const uint8_t* got = &merged[size_t(3 * (y * 15 + x))];
                std::vector<uint8_t> want = {1, 2, 3};
                if (x >= 5 && y >= 5)
                    want.assign(&b[size_t(3 * ((y - 5) * 10 + x - 5))], &b[size_t(3 * ((y - 5) * 10 + x - 5)) + 3]);
                else if (x < 10 && y < 10)
                    want.assign(&a[size_t(3 * (y * 10 + x))], &a[size_t(3 * (y * 10 + x)) + 3]);
                ASSERT_EQ(std::vector<uint8_t>(got, got + 3), want) << x << "," << y;
            }
    }
}

TEST(ImageMerge, CanvasStartsNoFurtherRightThan1000AndReducesWhenColoursFit)
{
    DisplayImage a, b;
    Shape(a, 4, 4, 8);
    Shape(b, 4, 4, 8);
    a.placement = {1200, 1100, 1204, 1104};
    b.placement = {1210, 1100, 1214, 1104};
    DisplayImage* images[] = {&a, &b};
    DisplayImage result;
    FlattenImages(result, images, 2, {0xFFFFFF, false, nullptr});
    ASSERT_TRUE(result.hPixels);
    EXPECT_EQ(result.width, 214);
    EXPECT_EQ(result.height, 104);
    EXPECT_EQ(result.bitCount, 8);   // two colours

    DisplayImage many;
    Patterned(many, 40, 40, 24);
    many.placement = {0, 0, 40, 40};
    DisplayImage* deep[] = {&many};
    DisplayImage full;
    FlattenImages(full, deep, 1, {0, false, nullptr});
    EXPECT_EQ(full.bitCount, 24);
}

TEST(ImageMerge, EmptyCanvasesAndUnsoundImagesAreRefusedOrLeftOut)
{
    DisplayImage none;
    DisplayImage* nothing[] = {&none};
    DisplayImage result;
    FlattenImages(result, nothing, 1, {0, false, nullptr});
    EXPECT_FALSE(result.hPixels);
    EXPECT_EQ(result.status, kStatusNoMemory);

    // A placement larger than its image, and one reaching left of the canvas
    // start, paint only what lies on the canvas.
    DisplayImage small, wide;
    Patterned(small, 3, 3, 24);
    Patterned(wide, 6, 2, 24);
    small.placement = {0, 0, 20, 20};
    wide.placement = {-4, 18, 2, 20};
    DisplayImage* images[] = {&small, &wide, nullptr};
    DisplayImage canvas;
    FlattenImages(canvas, images, 3, {0xFFFFFF, false, nullptr});
    ASSERT_TRUE(canvas.hPixels);
    EXPECT_EQ(canvas.width, 24);
    EXPECT_EQ(canvas.height, 20);
}
