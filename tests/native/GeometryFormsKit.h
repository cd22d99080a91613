// The check that the geometry's SSE2 row loops give the plain loops' bytes,
// shared by the native tests and the Windows tests (which run it in the
// product's 32-bit build).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>

#include "capture/core/image/ImageGeometry.h"
#include "capture/core/image/RowKernels.h"
#include "formats/DibHelpers.h"

namespace geometryforms {

// Every operation with row loops in two forms, on a 24-bit source: both
// forms build the same bytes.
inline void ExpectFormsAgree(const DisplayImage& source)
{
    const std::pair<const char*, std::function<void(DisplayImage&, const DisplayImage&)>> operations[] = {
        {"flip horizontal", FlipImageHorizontal},
        {"rotate left", RotateImageLeft},
        {"rotate right", RotateImageRight},
        {"plain shrink", [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, s.width * 2 / 3 + 1, s.height * 3 / 4 + 1, false); }},
        {"smooth shrink", [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, s.width * 2 / 3 + 1, s.height * 3 / 4 + 1, true); }},
        {"smooth growth", [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, s.width * 3 / 2 + 1, s.height + 2, true); }},
    };
    for (const auto& operation : operations) {
        SCOPED_TRACE(testing::Message() << operation.first << " " << source.width << "x" << source.height);
        DisplayImage plain, sse2;
        SetGeometryUsesSse2(false);
        operation.second(plain, source);
        SetGeometryUsesSse2(true);
        operation.second(sse2, source);
        ASSERT_TRUE(plain.hPixels && sse2.hPixels);
        ASSERT_EQ(plain.GetBitsSize(), sse2.GetBitsSize());
        BlockLock a(plain.hPixels), b(sse2.hPixels);
        EXPECT_EQ(0, memcmp(a.data(), b.data(), plain.GetBitsSize()));
    }
}

} // namespace geometryforms
