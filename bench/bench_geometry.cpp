// Flips, quarter turns, zoom and scale of a 1920 x 1080 24-bit picture, each
// next to a memcpy of the bytes it writes, timed in turns with it
// (targets: flips and turns within 4 x the copy of the picture, zoom and
// scale within 8 x the copy of their output).
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchKit.h"
#include "capture/core/image/ImageGeometry.h"

namespace {

const int kRuns = 51;

// The operation and a memcpy of the bytes it writes (between two buffers
// kept for the run) timed in turns, so that both see the machine alike.
template <class Operation>
void Report(const char* name, const DisplayImage& source, Operation operation, double limit)
{
    DisplayImage first;
    operation(first, source);
    const uint32_t outputBytes = first.GetBitsSize();
    const int32_t status = first.status;
    std::vector<uint8_t> from(outputBytes, 7), to(outputBytes);
    const std::vector<double> ms = bench::InterleavedMediansMs(
        kRuns, {[&] {
                    DisplayImage result;
                    operation(result, source);
                },
                [&] {
                    memcpy(to.data(), from.data(), outputBytes);
                    // Keeps the copy from being dropped.
                    from[outputBytes / 2] = static_cast<uint8_t>(to[outputBytes / 3] + 1);
                }});
    // The copy alone, back to back: its buffers stay in the cache, as no
    // operation's source and result do. Shown for comparison.
    const double hotCopy = bench::MedianMs(kRuns, [&] {
        memcpy(to.data(), from.data(), outputBytes);
        from[outputBytes / 2] = static_cast<uint8_t>(to[outputBytes / 3] + 1);
    });
    const double ratio = ms[0] / ms[1];
    std::printf("%-30s %7.2f ms  memcpy of its %5.1f MB %5.2f ms  ratio %5.2f (limit %.0f) %-4s  "
                "(hot copy %5.2f ms, ratio %5.2f)  status %d\n",
                name, ms[0], outputBytes / 1048576.0, ms[1], ratio, limit, ratio <= limit ? "ok" : "OVER", hotCopy,
                ms[0] / hotCopy, status);
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
