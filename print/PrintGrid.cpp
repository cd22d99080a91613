#include "PrintGrid.h"

#include "PrintLayout.h"

#include <algorithm>

namespace pagent {

namespace {

// Largest enlarged side: far beyond any page, well inside an int.
constexpr int64_t kLargestSide = 1 << 28;

int Clamp64(int64_t value, int64_t low, int64_t high)
{
    return int(std::min(std::max(value, low), high));
}

}  // namespace

CellGrid PlanCellGrid(int count, int columns, int width, int height)
{
    CellGrid grid;
    count = std::max(1, count);
    grid.columns = Clamp64(columns, 1, kMaxImagesOnPage);
    grid.rows = (count + grid.columns - 1) / grid.columns;
    grid.cellWidth = std::max(0, width) / grid.columns + 1;
    grid.cellHeight = std::max(0, height) / grid.rows + 1;
    return grid;
}

Box GridCell(const CellGrid& grid, int index, int x0, int y0)
{
    const int columns = std::max(1, grid.columns);
    Box cell;
    cell.left = x0 + (index % columns) * grid.cellWidth;
    cell.top = y0 + (index / columns) * grid.cellHeight;
    cell.right = cell.left + grid.cellWidth;
    cell.bottom = cell.top + grid.cellHeight;
    return cell;
}

int CellAt(const CellGrid& grid, int count, int x0, int y0, int x, int y)
{
    for (int i = 0; i < count; ++i) {
        if (GridCell(grid, i, x0, y0).contains(x, y))
            return i;
    }
    return -1;
}

Box PlaceInBox(const Box& box, int alignBox, int64_t iw, int64_t ih)
{
    const int64_t cw = box.width(), ch = box.height();
    const int place = ((alignBox % 9) + 9) % 9;
    int64_t x = box.left, y = box.top;
    switch (place / 3) {
    case 1: x += (cw - iw) / 2; break;
    case 2: x += cw - iw; break;
    default: break;
    }
    switch (place % 3) {
    case 1: y += (ch - ih) / 2; break;
    case 2: y += ch - ih; break;
    default: break;
    }
    if (iw > cw)
        x = box.left;
    if (ih > ch)
        y = box.top;
    Box image;
    image.left = Clamp64(x, -kLargestSide, kLargestSide);
    image.top = Clamp64(y, -kLargestSide, kLargestSide);
    image.right = Clamp64(x + iw, -kLargestSide, kLargestSide);
    image.bottom = Clamp64(y + ih, -kLargestSide, kLargestSide);
    return image;
}

int ScaledSide(int side, int scale, int divisor)
{
    return Clamp64(int64_t(std::max(0, side)) * std::max(0, scale) / std::max(1, divisor), 0, kLargestSide);
}

int64_t CountImagePages(int width, int height, int scale, int printWidth, int printHeight)
{
    return PlanPages(width, height, std::max(1, scale), std::max(1, printWidth), std::max(1, printHeight)).total();
}

int CountGridPages(const Box& lastImage, const Box& page)
{
    if (lastImage.right <= page.right && lastImage.bottom <= page.bottom)
        return 1;
    const int right = std::max(1, page.right), bottom = std::max(1, page.bottom);
    const int across = std::max(0, lastImage.right) / right + 1;
    const int down = std::max(0, lastImage.bottom) / bottom + 1;
    return across * down;
}

}  // namespace pagent
