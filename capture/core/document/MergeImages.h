// Merge of a merging document's images, for the Merge command and for
// Print (which prints the flattened picture of a document with several
// images). Both show the small modeless progress dialog and leave their
// sources unchanged; the result is built in the (empty) image given.
#pragma once

#ifdef _WIN32
#include "DisplayImage.h"

// On the merge background colour (Session value 8), with row progress to
// the main window; status 32914 "Merged Image" (or 32965 with no pixels).
void MergeImages(DisplayImage& result, DisplayImage* const* images, int count);
// On white, without progress messages and without a caption (status 0
// with pixels; 32965 with none).
void MergeImagesForPrint(DisplayImage& result, DisplayImage* const* images, int count);
#endif
