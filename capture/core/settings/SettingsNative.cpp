// Native stand-ins for the platform side of the settings store, so that the
// loaders run under the sanitizers: a simulated screen and no hook library.
#ifndef _WIN32
#include <cstring>

#include "SettingsPlatform.h"

namespace {

struct SimulatedScreen {
    int width = 1024;
    int height = 768;
    int planes = 1;
    int bitsPerPixel = 32;
    int captionHeight = 18;
} simulated;

}  // namespace

void SimulateScreen(int width, int height, int planes, int bitsPerPixel, int captionHeight)
{
    simulated = {width, height, planes, bitsPerPixel, captionHeight};
}

void LoadScreenMetrics()
{
    // Windows 98: version 4.10, reported as the low word 0x0A04.
    StoreScreenMetrics(0xC0000A04u, simulated.width, simulated.height, simulated.planes,
                       simulated.bitsPerPixel, simulated.captionHeight);
}

void LoadApplicationTitle() { strcpy(ApplicationTitle, "Kaptura 99"); }
#endif
