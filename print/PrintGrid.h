// Arithmetic of the all-on-one-page printout and of the previews, free of
// any device: the grid of cells, an enlarged image placed in a box by the
// alignment box, and the page count of an image at its scale. Every
// divisor is at least 1, so columns 0, scale 0 or a page without printable
// area give small harmless results instead of a fault.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pagent {

// The most images one page takes.
constexpr int kMaxImagesOnPage = 40;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// n images in k columns on an area of width x height: rows = n / k rounded
// up, cell = area / columns (rows) + 1.
struct CellGrid {
    int columns = 1;
    int rows = 1;
    int cellWidth = 1;
    int cellHeight = 1;
};
CellGrid PlanCellGrid(int count, int columns, int width, int height);
// The cell of list entry i (row i / k, column i mod k) from the grid's
// top-left corner (x0, y0).
Box GridCell(const CellGrid& grid, int index, int x0, int y0);
// Index of the cell holding (x, y) among the first count cells, or -1.
int CellAt(const CellGrid& grid, int count, int x0, int y0, int x, int y);

// An image of iw x ih placed in a box by alignment box 0-17 (a and a + 9
// are the same place: column (a mod 9) / 3, row (a mod 9) mod 3); larger
// than the box in a direction, it starts at the box's edge there.
Box PlaceInBox(const Box& box, int alignBox, int64_t iw, int64_t ih);
// The enlarged size of an image side: side x scale / divisor (the preview's
// printer pixels per preview pixel), kept within what a device takes.
int ScaledSide(int side, int scale, int divisor = 1);

// Pages the single-image job prints for a width x height image at the scale
// on a printable area of printWidth x printHeight; 0 for an empty image.
int64_t CountImagePages(int width, int height, int scale, int printWidth, int printHeight);
// The all-images preview's page count from the last image drawn: pages
// across times pages down that its right and bottom edges reach.
int CountGridPages(const Box& lastImage, const Box& page);

// Moves list entry from to position to (to past the end: to the end).
// False when nothing changes.
template <class T> bool MoveListEntry(T& list, int from, int to)
{
    const int n = int(list.size());
    if (from < 0 || from >= n || to < 0)
        return false;
    if (to >= n)
        to = n - 1;
    if (to == from)
        return false;
    auto entry = list[std::size_t(from)];
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, entry);
    return true;
}

}  // namespace pagent
