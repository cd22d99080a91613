// The all-on-one-page job: the images of the page list, each enlarged by
// the scale and aligned in its cell of a grid of the chosen columns, with
// the header and footer once for the page.
#pragma once

#include <windows.h>

#include "Pagent.h"
#include "PrintGrid.h"

namespace pagent {

void PrintAllOnOnePageJob();

// What a page-list entry is drawn from: the record's own pixels, or its
// 8-bit display copy when the image is deeper than 8 bits and the screen
// shows fewer than 15 (the copy matches the record's palette). Both the job
// and the preview draw through it.
ImageRecord PixelSourceOf(const ImageRecord& record);

// Draws a record stretched onto a rectangle with the job's colour mode and
// the record's palette; nothing when its blocks do not hold the image.
void DrawRecordStretched(HDC dc, const ImageRecord& record, const Box& onto, int colorMode);

}  // namespace pagent
