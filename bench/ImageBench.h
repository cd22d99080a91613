// Pictures and timing for the image-object benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "capture/core/DisplayImage.h"
#include "formats/DibHelpers.h"

namespace imagebench {

// Median wall time in milliseconds of runs calls of work, after a warm-up.
template <class Work>
double MedianMs(int runs, Work&& work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A 24-bit picture with smooth gradients and noise: hundreds of thousands
// of colours, as a photograph has.
inline void FillPhoto(DisplayImage& image, int32_t width, int32_t height)
{
    image.width = width;
    image.height = height;
    image.bitCount = 24;
    image.CreateHeader();
    image.hPixels = GlobalAlloc(GHND, image.GetBitsSize());
    BlockLock pixels(image.hPixels);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.data() + size_t(y) * image.GetRowStride();
        for (int32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            row[3 * x] = uint8_t(x * 255 / width + (noise >> 29));
            row[3 * x + 1] = uint8_t(y * 255 / height + (noise >> 26 & 7));
            row[3 * x + 2] = uint8_t((x + y) / 12 + (noise >> 20 & 3));
        }
    }
}

// A 24-bit screenshot-like picture: windows, text-like strokes and
// gradients in 200 colours.
inline void FillScreenshot(DisplayImage& image, int32_t width, int32_t height)
{
    image.width = width;
    image.height = height;
    image.bitCount = 24;
    image.CreateHeader();
    image.hPixels = GlobalAlloc(GHND, image.GetBitsSize());
    BlockLock pixels(image.hPixels);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.data() + size_t(y) * image.GetRowStride();
        for (int32_t x = 0; x < width; ++x) {
            int color = (x / 240 + y / 135 * 8) % 40 * 5 + ((x * 7 + y * 3) % 11 == 0 ? 1 : 0) * (x % 5);
            row[3 * x] = uint8_t(color * 37);
            row[3 * x + 1] = uint8_t(color * 91);
            row[3 * x + 2] = uint8_t(color);
        }
    }
}

} // namespace imagebench
