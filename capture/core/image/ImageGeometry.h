// The Tool menu's geometry: zoom, scale, flips and quarter turns. Like the
// colour operations (ColorOps.h) each reads a sound source at 1, 4, 8 or 24
// bits, never changes it, and builds its result in an empty image with the
// caption id as status. A result of no pixels, or too large to hold (a side
// past what an int holds, a block past the image size cap), builds nothing
// and leaves kStatusNoMemory, as a failed allocation does.
#pragma once

#include <cstdint>

#include "DisplayImage.h"

enum GeometryStatusId {
    kStatusZoomIn = 32902,
    kStatusZoomOut = 32903,
    kStatusFlipHorizontal = 32904,
    kStatusFlipVertical = 32905,
    kStatusRotateLeft = 32906,
    kStatusRotateRight = 32907,
};

// Each pixel repeated fx times across and each row fy times; kStatusZoomIn.
void ScaleImageUp(DisplayImage& result, const DisplayImage& source, int fx, int fy);

// The source at newWidth x newHeight: enlarged by whole factors first when
// it grows, then rows and columns dropped (plain, same depth) or dropped and
// averaged (smooth: 24 bits, then 8 when at most 256 colours remain).
// kStatusZoomIn when it grows in some direction, else kStatusZoomOut.
void ScaleImageTo(DisplayImage& result, const DisplayImage& source, int newWidth, int newHeight, bool smooth);
// ScaleImageTo with the smooth-scaling setting.
void ScaleImage(DisplayImage& result, const DisplayImage& source, int newWidth, int newHeight);

void FlipImageHorizontal(DisplayImage& result, const DisplayImage& source);
void FlipImageVertical(DisplayImage& result, const DisplayImage& source);
// A quarter turn counter-clockwise: the right-hand column becomes the top row.
void RotateImageLeft(DisplayImage& result, const DisplayImage& source);
// A quarter turn clockwise: the left-hand column, read bottom to top,
// becomes the top row.
void RotateImageRight(DisplayImage& result, const DisplayImage& source);
