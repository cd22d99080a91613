// The Frame operation: a band in the frame colour and, inside it, a band in
// the mat colour around an image. Like the colour operations (ColorOps.h) it
// never changes its source and builds its result in an empty image.
#pragma once

#include <cstdint>

#include "../../../formats/DibHelpers.h"
#include "DisplayImage.h"

enum { kStatusFrame = 32901 };

// Band widths in pixels and colours as colour references (0x00BBGGRR).
struct FrameStyle {
    int frameWidth;
    int matWidth;
    COLORREF frameColor;
    COLORREF matColor;
};

// The source framed: width + 2 (frame + mat) by height + 2 (frame + mat),
// the source's top-left pixel at (frame + mat, frame + mat). 4-, 8- and
// 24-bit sources keep their depth (palette images take the entries nearest
// to the two colours); 1-bit sources are framed in full colour and then
// reduced as far as their colours allow. Status kStatusFrame; a result too
// large to hold, or no memory for it, gives kStatusNoMemory and no blocks.
// Negative widths count as 0. Other depths, or unsound sources, build
// nothing.
void FrameImage(DisplayImage& result, const DisplayImage& source, const FrameStyle& style);

// FrameImage with the Frame settings.
void AddImageFrame(DisplayImage& result, const DisplayImage& source);

// Index of the colour-table entry nearest to a colour by squared distance,
// the first of equals winning (as the system's palette lookup).
int NearestTableIndex(const DibColor* table, int entries, COLORREF color);
