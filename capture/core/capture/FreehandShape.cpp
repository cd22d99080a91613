#include "FreehandShape.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

void MarkRow(FreehandShape& shape, int x, int y)
{
    const int row = y - shape.top;
    const int column = x - shape.left;
    shape.least[row] = std::min(shape.least[row], column);
    shape.greatest[row] = std::max(shape.greatest[row], column);
}

}  // namespace

FreehandShape TraceFreehandShape(const TracePoint* points, size_t count)
{
    FreehandShape shape;
    if (count == 0)
        return shape;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (size_t i = 0; i < count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    shape.left = left;
    shape.top = top;
    shape.right = right + 1;
    shape.bottom = bottom + 1;
    shape.least.assign(static_cast<size_t>(shape.Height()), INT_MAX);
    shape.greatest.assign(static_cast<size_t>(shape.Height()), INT_MIN);

    MarkRow(shape, points[0].x, points[0].y);
    for (size_t i = 1; i < count; ++i) {
        const TracePoint from = points[i - 1], to = points[i];
        const int dy = to.y - from.y;
        const int rows = std::abs(dy);
        if (rows > 1) {
            // The joining points lie on the line between the two ends (a
            // whole step per row would leave a steep stroke's points behind
            // as a staircase, and whiten what the outline holds). Each lies
            // between the ends on both axes, so inside the box.
            const int dx = to.x - from.x;
            const int direction = dy > 0 ? 1 : -1;
            for (int k = 1; k < rows; ++k)
                MarkRow(shape, from.x + dx * k / rows, from.y + k * direction);
        }
        MarkRow(shape, to.x, to.y);
    }
    return shape;
}
