// Grayscale and colour reduction of a 1920 x 1080 picture (target: under
// 100 ms each); black and white of a 24-bit photo against a copy of its
// pixels (target: within 10x), timed in turns.
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchKit.h"
#include "capture/core/image/ColorOps.h"

namespace {

template <class Operation>
double TimeOperation(const DisplayImage& source, Operation operation, int32_t* status)
{
    return bench::MedianMs(11, [&] {
        DisplayImage result;
        operation(result, source);
        *status = result.status;
    });
}

} // namespace

int main()
{
    DisplayImage photo, screen;
    bench::FillPhoto(photo, 1920, 1080);
    bench::FillScreenshot(screen, 1920, 1080);
    int32_t status = 0;

    double grayPhoto = TimeOperation(photo, ConvertToGrayscale, &status);
    std::printf("ConvertToGrayscale 24 -> 8, 1920x1080 photo: median %.2f ms (status %d)\n", grayPhoto, status);
    double reduce = TimeOperation(screen, ReduceColors24To8, &status);
    std::printf("ReduceColors24To8 1920x1080 screenshot: median %.2f ms (status %d)\n", reduce, status);
    double refuse = TimeOperation(photo, ReduceColors24To8, &status);
    std::printf("ReduceColors24To8 1920x1080 photo, refused: median %.2f ms (status %d)\n", refuse, status);

    DisplayImage eight;
    ReduceColors24To8(eight, screen);
    double gray8 = TimeOperation(eight, ConvertToGrayscale, &status);
    std::printf("ConvertToGrayscale 8 -> 8, 1920x1080: median %.2f ms (status %d)\n", gray8, status);
    std::vector<uint8_t> copy(photo.GetBitsSize());
    std::vector<double> bw = bench::InterleavedMediansMs(21, {[&] {
        DisplayImage result;
        ConvertToBlackWhite(result, photo);
        status = result.status;
    }, [&] {
        BlockLock pixels(photo.hPixels);
        memcpy(copy.data(), pixels.data(), copy.size());
    }});
    std::printf("ConvertToBlackWhite 24 -> 1, 1920x1080 photo: median %.2f ms (status %d); copying its pixels "
                "%.2f ms: %.1fx (target <= 10x)\n", bw[0], status, bw[1], bw[0] / bw[1]);
    return 0;
}
