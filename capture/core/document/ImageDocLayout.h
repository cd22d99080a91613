// Where the images of a document sit on its canvas: image n at (n x 50,
// n x 50) with its own size; the canvas is the bounding box of all
// placements (from the origin) plus the view's margins on both sides.
#pragma once

#include <vector>

#include "DisplayImage.h"

enum { kImagePlacementStep = 50 };

struct CanvasSize {
    int width;
    int height;
};

// The placement of an image of width x height at list index n.
ImageRect PlacementForIndex(int index, int width, int height);
// The canvas around the placements with marginX and marginY on each side.
CanvasSize CanvasAround(const std::vector<ImageRect>& placements, int marginX, int marginY);
// Whether the canvas point lies inside the rectangle (right and bottom
// edges outside).
bool RectContains(const ImageRect& rect, int x, int y);
// Moves the rectangle by (dx, dy).
void OffsetPlacement(ImageRect& rect, int dx, int dy);
