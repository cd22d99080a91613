// Bitmap helpers that need the screen (Windows builds only): palettes from
// colour tables, headers at the screen's depth, device bitmaps to DIBs.
#pragma once

#ifdef _WIN32
#include "DibHelpers.h"

struct ScreenDepth {
    int bitsPerPixel;
    int planes;
    int depth;          // planes x bits
    uint32_t colors;    // 2 to the power of the depth, saturated
};
ScreenDepth ReadScreenDepth();

// A logical palette with one entry per colour-table entry of the record's
// header; none (0) above 8 bits; the default palette when creation fails.
HPALETTE CreateDibPalette(const ImageRecord& record);
// Sets record.bitCount to 24 above 8 bits, creates the header, and for 8
// bits or fewer fills the colour table from the screen.
bool CreateDibHeaderFromScreen(ImageRecord& record, const ScreenDepth& screen);
// Copies all rows of a device bitmap into a new record.hBits.
bool ConvertBitmapToDib(HBITMAP bitmap, ImageRecord& record);
#endif
