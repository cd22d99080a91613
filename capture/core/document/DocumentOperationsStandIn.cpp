// Stand-in definitions of what the image document calls of the parts not
// built yet (the small dialogs). Each does the least that keeps the
// document's commands safe. Delete each definition when its own part lands.
#include <windows.h>

#include <cstdio>

#include "AppServices.h"
#include "DocumentOperationCalls.h"
#include "Settings.h"

bool RunFrameDialog() { return true; }
bool RunBlackWhiteDialog() { return true; }

void RunImageInfoDialog(const char* title, const DisplayImage& image)
{
    char text[512];
    snprintf(text, sizeof text, "%s\n%d x %d pixels, %d bits per pixel", title, static_cast<int>(image.width),
             static_cast<int>(image.height), static_cast<int>(image.bitCount));
    ::MessageBoxA(MainFrameWindow(), text, ApplicationTitle, MB_OK);
}
