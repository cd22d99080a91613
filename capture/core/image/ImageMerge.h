// Flattening the images of a merging document into one picture: each image
// at its placement on a common canvas, later images over earlier ones, on a
// background colour. Window-free; the capture program's Merge command and
// Print wrap it with their progress dialog.
#pragma once

#include <functional>

#include "DisplayImage.h"

enum { kStatusMerged = 32914 };

struct MergeOptions {
    COLORREF background;        // colour reference (0x00BBGGRR)
    bool reportProgress;        // rows through ReportImageProgress
    // Told the string id of each phase as it starts (scanning, merging);
    // may be empty.
    std::function<void(int stringId)> phaseShown;
};

enum { kMergeScanningText = 33020, kMergeMergingText = 33021 };

// The canvas spans the placements: left and top from the smallest
// placement edges (but never right of 1000), right and bottom from the
// largest. The result is 24 bits, reduced to 8 when the colours fit; its
// status stays 0 (the caller sets a caption). A canvas of no pixels, or too
// large to hold, gives kStatusNoMemory and no blocks. Images that are not
// sound at 1, 4, 8 or 24 bits are left out; parts of an image outside the
// canvas are cut off. The sources are not changed.
void FlattenImages(DisplayImage& result, DisplayImage* const* images, int count, const MergeOptions& options);
