// What the settings store needs from the platform layer (SettingsWin32.cpp on
// Windows, SettingsNative.cpp for the native tests), and the window-free
// helper both layers use to fill the screen metrics.
#pragma once

#include "Settings.h"

// Fills the screen metrics globals and the values derived from them.
void StoreScreenMetrics(DWORD version, int width, int height, int planes, int bitsPerPixel,
                        int captionHeight);

#ifndef _WIN32
// The screen the native LoadScreenMetrics reports (default 1024 x 768,
// 32 bits, caption 18 pixels).
void SimulateScreen(int width, int height, int planes, int bitsPerPixel, int captionHeight);
#endif
