// The platform side of the settings store on Windows: the section name from
// the string table and the screen metrics. The hook library is the capture
// program's own: the browser links this store too.
#ifdef _WIN32
#include <windows.h>

#include <cstring>

#include "SettingsPlatform.h"

namespace {

const UINT kApplicationTitleId = 0xE000;

}  // namespace

void LoadApplicationTitle()
{
    char title[kSettingsTitleSize];
    int length = LoadStringA(GetModuleHandleA(nullptr), kApplicationTitleId, title, sizeof title);
    if (length <= 0)
        strcpy(title, "Kaptura 99");
    strcpy(ApplicationTitle, title);
}

void LoadScreenMetrics()
{
    HDC screen = GetDC(nullptr);
    int width = GetDeviceCaps(screen, HORZRES);
    int height = GetDeviceCaps(screen, VERTRES);
    int planes = GetDeviceCaps(screen, PLANES);
    int bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    StoreScreenMetrics(GetVersion(), width, height, planes, bitsPerPixel, GetSystemMetrics(SM_CYCAPTION));
}
#endif
