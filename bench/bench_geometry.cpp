// Flips, quarter turns, zoom and scale of a 1920 x 1080 24-bit picture, each
// next to a memcpy of the bytes it writes, measured in the same run
// (targets: flips and turns within 4 x the copy of the picture, zoom and
// scale within 8 x the copy of their output).
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchKit.h"
#include "capture/core/image/ImageGeometry.h"

namespace {

const int kRuns = 21;

// Median of a memcpy of `bytes` bytes between two buffers kept for the run.
double CopyMs(size_t bytes)
{
    std::vector<uint8_t> from(bytes, 7), to(bytes);
    return bench::MedianMs(kRuns, [&] {
        memcpy(to.data(), from.data(), bytes);
        // Keeps the copy from being dropped.
        from[bytes / 2] = static_cast<uint8_t>(to[bytes / 3] + 1);
    });
}

template <class Operation>
void Report(const char* name, const DisplayImage& source, Operation operation, double limit)
{
    uint32_t outputBytes = 0;
    int32_t status = 0;
    const double ms = bench::MedianMs(kRuns, [&] {
        DisplayImage result;
        operation(result, source);
        outputBytes = result.GetBitsSize();
        status = result.status;
    });
    const double copy = CopyMs(outputBytes);
    std::printf("%-34s median %7.2f ms   memcpy of its %6.1f MB %6.2f ms   ratio %5.2f (limit %.0f) %s  status %d\n",
                name, ms, outputBytes / 1048576.0, copy, ms / copy, limit, ms / copy <= limit ? "ok" : "OVER", status);
}

} // namespace

int main()
{
    DisplayImage photo;
    bench::FillPhoto(photo, 1920, 1080);
    Report("FlipImageHorizontal 1920x1080", photo, FlipImageHorizontal, 4);
    Report("FlipImageVertical 1920x1080", photo, FlipImageVertical, 4);
    Report("RotateImageLeft 1920x1080", photo, RotateImageLeft, 4);
    Report("RotateImageRight 1920x1080", photo, RotateImageRight, 4);
    Report("Zoom In (x2) to 3840x2160", photo, [](DisplayImage& r, const DisplayImage& s) { ScaleImageUp(r, s, 2, 2); }, 8);
    Report("Zoom Out (plain) to 960x540", photo,
           [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, 960, 540, false); }, 8);
    Report("Scale (plain) to 2880x1620", photo,
           [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, 2880, 1620, false); }, 8);
    Report("Scale (plain) to 1280x720", photo,
           [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, 1280, 720, false); }, 8);
    Report("Scale (smooth) to 1280x720", photo,
           [](DisplayImage& r, const DisplayImage& s) { ScaleImageTo(r, s, 1280, 720, true); }, 8);
    return 0;
}
