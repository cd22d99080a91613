#include "ImageDocLayout.h"

#include <algorithm>

ImageRect PlacementForIndex(int index, int width, int height)
{
    const int offset = index * kImagePlacementStep;
    return ImageRect{offset, offset, offset + width, offset + height};
}

CanvasSize CanvasAround(const std::vector<ImageRect>& placements, int marginX, int marginY)
{
    LONG minLeft = 0, minTop = 0, maxRight = 0, maxBottom = 0;
    for (const ImageRect& rect : placements) {
        minLeft = std::min(minLeft, rect.left);
        minTop = std::min(minTop, rect.top);
        maxRight = std::max(maxRight, rect.right);
        maxBottom = std::max(maxBottom, rect.bottom);
    }
    return CanvasSize{static_cast<int>(maxRight + 2 * marginX - minLeft),
                      static_cast<int>(maxBottom + 2 * marginY - minTop)};
}

bool RectContains(const ImageRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void OffsetPlacement(ImageRect& rect, int dx, int dy)
{
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}
