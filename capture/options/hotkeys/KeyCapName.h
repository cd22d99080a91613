// How a key's name is laid out on its cap in the Hotkey Setup keyboard: the
// caps are small and the names vary in length, so a name that the cap font
// cannot hold on one line is drawn smaller, or on two lines.
#pragma once

#include <windows.h>

#include <string>

struct KeyCapName {
    int height = 0;        // the font height (negative: character height in pixels)
    std::string first;     // the first line
    std::string second;    // the second line; empty for a name on one line
};

// The largest height from the font's own down to a least legible one at
// which `name` fits in `face` (pixels) on one line, or else on two lines
// split in the middle; the least height, split, when nothing fits.
KeyCapName FitKeyCapName(HDC dc, const LOGFONTA& font, SIZE face, const char* name);

// Draws the name so fitted at the face's top left, clipped to the face.
void DrawKeyCapName(HDC dc, const LOGFONTA& font, const RECT& face, const char* name);
