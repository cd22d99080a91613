// The lines of the capture flash. Each mode sweeps 1-pixel lines over the
// capture rectangle, inverting the screen under them; after a pause the same
// lines are inverted again in the opposite order, so the screen ends as it
// was. These routines say which lines, in which order; the drawing is done
// by AnimateCaptureFeedback.
#pragma once

#include <vector>

enum FeedbackMode {
    kFeedbackNone = 0,
    kFeedbackCenterIn = 1,
    kFeedbackCenterOut = 2,
    kFeedbackInsideOut = 3,
    kFeedbackUpDown = 4
};

// One inverted line: x, y and its size (one of them is 1).
struct FeedbackLine {
    int x;
    int y;
    int width;
    int height;
};

// The first sweep of mode over the rectangle (left and top inclusive, right
// and bottom exclusive): every line lies inside it. Empty for mode 0, an
// unknown mode or an empty rectangle.
std::vector<FeedbackLine> FeedbackSweep(int mode, int left, int top, int right, int bottom);

// How many times each line of the first sweep is inverted in a row: an odd
// number, so that the line shows; more on screens of 8 bits or less, where a
// single inversion flickers by too fast to see.
int FeedbackFirstSweepRepeats(int mode, int screenDepth);

// The pause between the two sweeps, in milliseconds.
enum { kFeedbackPauseMs = 375 };
