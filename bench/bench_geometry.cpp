// Flips, quarter turns, zoom and scale of a 1920 x 1080 24-bit picture, each
// next to a memcpy of the bytes it writes measured in the same run (targets:
// flips and turns within 4 x the copy of the picture, zoom and scale within
// 8 x the copy of their output).
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchKit.h"
#include "capture/core/image/ImageGeometry.h"

namespace {

const int kRuns = 51;

// The operation and a memcpy of the bytes it writes (between two buffers
// kept for the run) timed in turns, so that both see the machine alike.
// The operation and a memcpy of the bytes it writes (between two buffers
// kept for the run), timed two ways: in turns, so that each meets the caches
// as the other left them, and each back to back with itself, so that both
// work from warm caches. The limit applies to the ratio in turns.
template <class Operation>
void Report(const char* name, const DisplayImage& source, Operation operation, double limit)
{
    DisplayImage first;
    operation(first, source);
    const uint32_t outputBytes = first.GetBitsSize();
    const int32_t status = first.status;
    std::vector<uint8_t> from(outputBytes, 7), to(outputBytes);
    const auto runOperation = [&] {
        DisplayImage result;
        operation(result, source);
    };
    const auto copy = [&] {
        memcpy(to.data(), from.data(), outputBytes);
        // Keeps the copy from being dropped.
        from[outputBytes / 2] = static_cast<uint8_t>(to[outputBytes / 3] + 1);
    };
    const std::vector<double> inTurns = bench::InterleavedMediansMs(kRuns, {runOperation, copy});
    const double warmOperation = bench::MedianMs(kRuns, runOperation), warmCopy = bench::MedianMs(kRuns, copy);
    const double ratio = inTurns[0] / inTurns[1];
    std::printf("%-30s in turns %6.2f ms, memcpy of its %5.1f MB %5.2f ms: ratio %5.2f (limit %.0f) %-4s "
                "| back to back %5.2f ms, memcpy %5.2f ms: ratio %5.2f | status %d\n",
                name, inTurns[0], outputBytes / 1048576.0, inTurns[1], ratio, limit, ratio <= limit ? "ok" : "OVER",
                warmOperation, warmCopy, warmOperation / warmCopy, status);
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
