#include "ButtonEdges.h"

#include <algorithm>
#include <cstdlib>

namespace {

int Channel(uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

struct SearchBox {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class ButtonSearch {
public:
    ButtonSearch(const PixelSource& pixels, const SearchBox& box, uint32_t shadow, uint32_t highlight)
        : pixels(pixels), box(box), shadow(shadow), highlight(highlight) {}

    bool IsShadow(int x, int y) const { return box.Contains(x, y) && ColorsMatch(pixels.At(x, y), shadow); }
    bool IsHighlight(int x, int y) const
    {
        return box.Contains(x, y) && ColorsMatch(pixels.At(x, y), highlight);
    }

    // The first column from x rightward with shadow at rows y - 2 .. y + 2.
    int RightEdge(int x, int y) const
    {
        for (int column = x; column < box.right; ++column)
            if (ColumnIsShadow(column, y - 2, y + 2))
                return column;
        return -1;
    }
    // The first row from y downward with shadow at columns x - 3 .. x + 3.
    int BottomEdge(int x, int y) const
    {
        for (int row = y; row < box.bottom; ++row)
            if (RowIsShadow(row, x - 3, x + 3))
                return row;
        return -1;
    }
    // Walking left along row from column start: the first column at or left
    // of limit that is not shadow, kept when it is the highlight.
    int LeftEdge(int start, int row, int limit) const
    {
        for (int column = start; column >= box.left; --column)
            if (column <= limit && !IsShadow(column, row))
                return IsHighlight(column, row) ? column : column + 1;
        return box.left;
    }
    int TopEdge(int column, int start, int limit) const
    {
        for (int row = start; row >= box.top; --row)
            if (row <= limit && !IsShadow(column, row))
                return IsHighlight(column, row) ? row : row + 1;
        return box.top;
    }

private:
    bool ColumnIsShadow(int column, int firstRow, int lastRow) const
    {
        for (int row = firstRow; row <= lastRow; ++row)
            if (!IsShadow(column, row))
                return false;
        return true;
    }
    bool RowIsShadow(int row, int firstColumn, int lastColumn) const
    {
        for (int column = firstColumn; column <= lastColumn; ++column)
            if (!IsShadow(column, row))
                return false;
        return true;
    }

    const PixelSource& pixels;
    SearchBox box;
    uint32_t shadow;
    uint32_t highlight;
};

}  // namespace

bool ColorsMatch(uint32_t pixel, uint32_t color)
{
    if (pixel == kNoPixel)
        return false;
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(Channel(pixel, shift) - Channel(color, shift)) > 10)
            return false;
    return true;
}

EdgeRect FindButtonRectangle(const PixelSource& pixels, int x, int y, int screenWidth, int screenHeight,
                             uint32_t shadow, uint32_t highlight)
{
    const SearchBox box = {std::max(0, x - kButtonSearchReach), std::max(0, y - kButtonSearchReach),
                           std::min(screenWidth, x + kButtonSearchReach),
                           std::min(screenHeight, y + kButtonSearchReach)};
    const ButtonSearch search(pixels, box, shadow, highlight);
    const int right = search.RightEdge(x, y);
    const int bottom = search.BottomEdge(x, y);
    if (right < 0 || bottom < 0) {
        return {std::max(0, x - kButtonFallbackHalf), std::max(0, y - kButtonFallbackHalf),
                std::min(screenWidth, x + kButtonFallbackHalf), std::min(screenHeight, y + kButtonFallbackHalf)};
    }
    return {search.LeftEdge(right, bottom, x), search.TopEdge(right, bottom, y), right + 1, bottom + 1};
}
