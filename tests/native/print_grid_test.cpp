// The all-on-one-page grid, images placed in cells, the previews' page
// counts and the page list's reordering: window-free arithmetic that must
// hold for any columns, scale or page size without dividing by zero.
#include <gtest/gtest.h>

#include <vector>

#include "print/PrintGrid.h"

namespace pagent {
namespace {

TEST(PrintGrid, CellsFillRowByRowWithOnePixelOverlap)
{
    // 3 images in 2 columns: two rows, the second holding one image.
    CellGrid grid = PlanCellGrid(3, 2, 1000, 600);
    EXPECT_EQ(grid.rows, 2);
    EXPECT_EQ(grid.cellWidth, 501);
    EXPECT_EQ(grid.cellHeight, 301);
    Box third = GridCell(grid, 2, 5, 5);
    EXPECT_EQ(third.left, 5);
    EXPECT_EQ(third.top, 306);
    EXPECT_EQ(third.right, 506);

    // 40 images in 7 columns: 6 rows, the last holding 5.
    grid = PlanCellGrid(40, 7, 3498, 2469);
    EXPECT_EQ(grid.rows, 6);
    Box last = GridCell(grid, 39, 5, 5);
    EXPECT_EQ(last.left, 5 + 4 * grid.cellWidth);
    EXPECT_EQ(last.top, 5 + 5 * grid.cellHeight);

    // One image, one column: the whole area plus one pixel each way.
    grid = PlanCellGrid(1, 1, 3498, 2469);
    EXPECT_EQ(GridCell(grid, 0, 5, 5).width(), 3499);
    EXPECT_EQ(GridCell(grid, 0, 5, 5).height(), 2470);

    // Hit testing finds only the first n cells.
    grid = PlanCellGrid(3, 2, 200, 200);
    EXPECT_EQ(CellAt(grid, 3, 0, 0, 150, 50), 1);
    EXPECT_EQ(CellAt(grid, 3, 0, 0, 50, 150), 2);
    EXPECT_EQ(CellAt(grid, 3, 0, 0, 150, 150), -1);
    EXPECT_EQ(CellAt(grid, 3, 0, 0, -1, 50), -1);
}

TEST(PrintGrid, NoColumnsNoImagesOrNoAreaDivideByNothing)
{
    for (int columns : {0, -3, 1000}) {
        for (int count : {0, -1, 1, 40}) {
            for (int side : {0, -10, 1}) {
                CellGrid grid = PlanCellGrid(count, columns, side, side);
                EXPECT_GE(grid.columns, 1);
                EXPECT_GE(grid.rows, 1);
                EXPECT_GE(grid.cellWidth, 1);
                EXPECT_GE(grid.cellHeight, 1);
                GridCell(grid, 39, 0, 0);
            }
        }
    }
    EXPECT_EQ(ScaledSide(100, 0), 0);
    EXPECT_EQ(ScaledSide(100, 3, 0), 300);
    EXPECT_EQ(ScaledSide(0x7FFFFFFF, 99, 1), 1 << 28);
    EXPECT_EQ(CountImagePages(100, 100, 0, 0, -5), 100 * 100);
    EXPECT_EQ(CountImagePages(0, 100, 3, 300, 300), 0);
    EXPECT_EQ(CountGridPages(Box{0, 0, 10, 10}, Box{0, 0, 0, 0}), 11 * 11);
}

TEST(PrintGrid, ImagesAreAlignedInTheirCellsByTheBox)
{
    const Box cell{100, 200, 300, 400};   // 200 x 200
    struct Case { int box; int left; int top; };
    for (Case c : {Case{0, 100, 200}, Case{4, 150, 250}, Case{8, 200, 300}, Case{6, 200, 200},
                   Case{2, 100, 300}, Case{13, 150, 250}, Case{17, 200, 300}}) {
        Box image = PlaceInBox(cell, c.box, 100, 100);
        EXPECT_EQ(image.left, c.left) << "box " << c.box;
        EXPECT_EQ(image.top, c.top) << "box " << c.box;
        EXPECT_EQ(image.width(), 100);
    }
    // Wider than its cell: from the cell's left edge, over the next cell;
    // odd differences round toward zero.
    Box wide = PlaceInBox(cell, 4, 350, 51);
    EXPECT_EQ(wide.left, 100);
    EXPECT_EQ(wide.right, 450);
    EXPECT_EQ(wide.top, 274);
    // Boxes out of range fall on the same nine places.
    EXPECT_EQ(PlaceInBox(cell, -5, 10, 10).left, PlaceInBox(cell, 4, 10, 10).left);
}

TEST(PrintGrid, PageCountsOfThePreviews)
{
    // Exactly the printable area at scale 3: one page.
    EXPECT_EQ(CountImagePages(100, 100, 3, 300, 300), 1);
    EXPECT_EQ(CountImagePages(101, 100, 3, 300, 300), 2);
    EXPECT_EQ(CountImagePages(1300, 900, 3, 3498, 2469), 4);
    EXPECT_EQ(CountImagePages(1300, 900, 3, 2469, 3498), 2);
    // The all-images preview: inside the page 1, past its right edge 2,
    // past right and bottom 4.
    const Box page{10, 10, 140, 200};
    EXPECT_EQ(CountGridPages(Box{20, 20, 140, 200}, page), 1);
    EXPECT_EQ(CountGridPages(Box{20, 20, 150, 100}, page), 2);
    EXPECT_EQ(CountGridPages(Box{20, 20, 150, 210}, page), 4);
}

TEST(PrintGrid, PageListMovesAnEntryToTheDropCell)
{
    std::vector<int> list{0, 1, 2, 3};
    EXPECT_TRUE(MoveListEntry(list, 0, 2));
    EXPECT_EQ(list, (std::vector<int>{1, 2, 0, 3}));
    EXPECT_TRUE(MoveListEntry(list, 3, 0));
    EXPECT_EQ(list, (std::vector<int>{3, 1, 2, 0}));
    // Past the last image: to the end; onto its own cell: nothing.
    EXPECT_TRUE(MoveListEntry(list, 1, 17));
    EXPECT_EQ(list, (std::vector<int>{3, 2, 0, 1}));
    EXPECT_FALSE(MoveListEntry(list, 2, 2));
    EXPECT_FALSE(MoveListEntry(list, 3, 9));
    EXPECT_FALSE(MoveListEntry(list, -1, 0));
    EXPECT_FALSE(MoveListEntry(list, 4, 0));
    EXPECT_EQ(list, (std::vector<int>{3, 2, 0, 1}));
}

}  // namespace
}  // namespace pagent
