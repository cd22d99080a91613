// Colour counting of a 1920 x 1080 24-bit picture (target: under 30 ms).
#include <cstdio>

#include "BenchKit.h"

int main()
{
    DisplayImage photo;
    bench::FillPhoto(photo, 1920, 1080);
    double photoMs = bench::MedianMs(15, [&] { photo.CountColors24(); });
    std::printf("CountColors24 1920x1080 photo (%d colours): median %.2f ms\n", photo.colorCount, photoMs);

    DisplayImage screen;
    bench::FillScreenshot(screen, 1920, 1080);
    double screenMs = bench::MedianMs(15, [&] { screen.CountColors24(); });
    std::printf("CountColors24 1920x1080 screenshot (%d colours): median %.2f ms\n", screen.colorCount, screenMs);
    return 0;
}
