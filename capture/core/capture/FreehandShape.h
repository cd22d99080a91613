// The shape of a freehand capture: the box around a traced outline and, per
// row of the box, the run of pixels between the outline's leftmost and
// rightmost point on that row. Everything outside the runs turns white.
#pragma once

#include <cstddef>
#include <vector>

struct TracePoint {
    int x;
    int y;
};

struct FreehandShape {
    // The box: left and top inclusive, right and bottom exclusive; empty
    // when there are no points.
    int left = 0, top = 0, right = 0, bottom = 0;
    // Per row of the box (0 = top row), the least and greatest x of the
    // outline in box coordinates; a row the outline never touched has
    // least > greatest.
    std::vector<int> least;
    std::vector<int> greatest;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool RowTouched(int row) const { return least[row] <= greatest[row]; }
};

// Consecutive points whose rows are more than one apart are joined: on each
// row between them x moves on by (x difference) / (row difference) per row.
FreehandShape TraceFreehandShape(const TracePoint* points, size_t count);
