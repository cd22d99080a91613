// Finding a 3-D button on the screen from a point inside it: its right and
// bottom edges are runs of the shadow colour, its left and top edges end
// where that colour stops (on the highlight colour, when there is one).
#pragma once

#include <cstdint>

// Colours as 0x00BBGGRR; kNoPixel outside the picture.
enum : uint32_t { kNoPixel = 0xFFFFFFFFu };

// The picture the search reads, in screen coordinates.
class PixelSource {
public:
    virtual ~PixelSource() = default;
    virtual uint32_t At(int x, int y) const = 0;
};

struct EdgeRect {
    int left, top, right, bottom;   // right and bottom exclusive
};

// Each of red, green and blue within 10 of the colour's (never kNoPixel).
bool ColorsMatch(uint32_t pixel, uint32_t color);

// How far the search looks from the cursor, and the square taken when it
// finds no edges.
enum { kButtonSearchReach = 200, kButtonFallbackHalf = 20 };

// The button around (x, y) on a screen of the given size, the shadow and
// highlight colours being the screen's nearest 3-D colours; the 40 by 40
// square around the point (clipped to the screen) when no right or bottom
// edge lies within reach.
EdgeRect FindButtonRectangle(const PixelSource& pixels, int x, int y, int screenWidth, int screenHeight,
                             uint32_t shadow, uint32_t highlight);
