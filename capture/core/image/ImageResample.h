// Scaling to any size: the source seen as enlarged by whole factors (when a
// direction grows) brought to the wanted size by dropping lines, plain or
// smooth. The enlargement is never built: each output line knows which
// source line it shows, so the result is the same as building it would give.
#pragma once

#include "DisplayImage.h"

// The source enlarged by fx x fy (1 where a direction does not grow) brought
// to the size preset in result, at most the enlarged size each way. Plain
// drops lines and keeps the source's depth; smooth drops lines and averages
// each kept line with its neighbour, in 24 bits. Fills result's pixels and
// bitCount; the header is left to the caller. False when it failed: no
// pixels, and the status says why.
bool ResampleEnlarged(DisplayImage& result, const DisplayImage& source, int fx, int fy, bool smooth);
