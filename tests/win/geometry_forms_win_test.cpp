// The geometry's SSE2 row loops in the product's own build (32-bit code,
// its stack and heap alignment): they give the plain loops' bytes, and a
// flip and a turn put known pixels where they belong.
#include <gtest/gtest.h>

#include "capture/core/image/ImageGeometry.h"
#include "capture/core/image/RowKernels.h"
#include "tests/native/DisplayImageKit.h"
#include "tests/native/GeometryFormsKit.h"

namespace {

void Scrambled(DisplayImage& image, int32_t width, int32_t height)
{
    imagekit::Shape(image, width, height, 24);
    uint32_t seed = uint32_t(width * 131 + height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            imagekit::SetPixel(image, x, y, seed >> 8);
        }
}

} // namespace

TEST(GeometryForms, Sse2AndPlainGiveTheSameBytes)
{
    ASSERT_TRUE(SetGeometryUsesSse2(true)) << "the product is built for SSE2";
    for (int32_t width : {5, 22, 37, 70})
        for (int32_t height : {2, 33, 70}) {
            DisplayImage source;
            Scrambled(source, width, height);
            geometryforms::ExpectFormsAgree(source);
        }
}

TEST(GeometryForms, FlipAndTurnPutPixelsInPlace)
{
    DisplayImage source;
    Scrambled(source, 40, 30);
    DisplayImage flipped, turned;
    FlipImageHorizontal(flipped, source);
    RotateImageLeft(turned, source);
    ASSERT_EQ(turned.width, 30);
    ASSERT_EQ(turned.height, 40);
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            EXPECT_EQ(imagekit::GetPixel(flipped, 39 - x, y), imagekit::GetPixel(source, x, y));
            // In stored rows: source column x becomes row x, read from the
            // source's last stored row to its first.
            EXPECT_EQ(imagekit::GetPixel(turned, 29 - y, x), imagekit::GetPixel(source, x, y));
        }
}
