#include "FeedbackSweeps.h"

#include <algorithm>

namespace {

// The outline of (left, top, right, bottom): the two columns full height,
// the two rows between them, so no pixel is inverted twice.
void AddOutline(std::vector<FeedbackLine>& lines, int left, int top, int right, int bottom)
{
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0)
        return;
    lines.push_back({left, top, 1, height});
    if (width > 1)
        lines.push_back({right - 1, top, 1, height});
    if (width > 2) {
        lines.push_back({left + 1, top, width - 2, 1});
        if (height > 1)
            lines.push_back({left + 1, bottom - 1, width - 2, 1});
    }
}

// Nested outlines from the edge inward, one pixel per step.
std::vector<FeedbackLine> CenterIn(int left, int top, int right, int bottom)
{
    std::vector<FeedbackLine> lines;
    for (int inset = 0; left + inset < right - inset && top + inset < bottom - inset; ++inset)
        AddOutline(lines, left + inset, top + inset, right - inset, bottom - inset);
    return lines;
}

// The outlines of Center-In, innermost first, until they reach the edge.
std::vector<FeedbackLine> CenterOut(int left, int top, int right, int bottom)
{
    std::vector<FeedbackLine> lines = CenterIn(left, top, right, bottom);
    std::reverse(lines.begin(), lines.end());
    return lines;
}

// Pairs of full-height columns moving out from the middle column.
std::vector<FeedbackLine> InsideOut(int left, int top, int right, int bottom)
{
    std::vector<FeedbackLine> lines;
    const int middle = left + (right - left) / 2;
    for (int step = 0; middle + step < right; ++step) {
        lines.push_back({middle + step, top, 1, bottom - top});
        if (middle - 1 - step >= left)
            lines.push_back({middle - 1 - step, top, 1, bottom - top});
    }
    return lines;
}

// Pairs of full-width rows moving up and down from the middle row.
std::vector<FeedbackLine> UpDown(int left, int top, int right, int bottom)
{
    std::vector<FeedbackLine> lines;
    const int middle = top + (bottom - top) / 2;
    for (int step = 0; middle + step < bottom; ++step) {
        lines.push_back({left, middle + step, right - left, 1});
        if (middle - 1 - step >= top)
            lines.push_back({left, middle - 1 - step, right - left, 1});
    }
    return lines;
}

}  // namespace

std::vector<FeedbackLine> FeedbackSweep(int mode, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return {};
    switch (mode) {
    case kFeedbackCenterIn: return CenterIn(left, top, right, bottom);
    case kFeedbackCenterOut: return CenterOut(left, top, right, bottom);
    case kFeedbackInsideOut: return InsideOut(left, top, right, bottom);
    case kFeedbackUpDown: return UpDown(left, top, right, bottom);
    default: return {};
    }
}

int FeedbackFirstSweepRepeats(int mode, int screenDepth)
{
    if (screenDepth > 8)
        return 1;
    if (mode == kFeedbackCenterIn)
        return 3;
    if (mode == kFeedbackUpDown)
        return 5;
    return 1;
}
