// Colour counting of a 1920 x 1080 24-bit picture (target: under 30 ms).
#include <cstdio>

#include "ImageBench.h"

int main()
{
    DisplayImage photo;
    imagebench::FillPhoto(photo, 1920, 1080);
    double photoMs = imagebench::MedianMs(15, [&] { photo.CountColors24(); });
    std::printf("CountColors24 1920x1080 photo (%d colours): median %.2f ms\n", photo.colorCount, photoMs);

    DisplayImage screen;
    imagebench::FillScreenshot(screen, 1920, 1080);
    double screenMs = imagebench::MedianMs(15, [&] { screen.CountColors24(); });
    std::printf("CountColors24 1920x1080 screenshot (%d colours): median %.2f ms\n", screen.colorCount, screenMs);
    return 0;
}
