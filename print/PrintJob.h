// The single-image print job: the current record enlarged by the scale,
// aligned on the page, tiled over as many pages as it needs and sent in
// bands the driver can take.
#pragma once

#include <windows.h>

#include <string>

namespace pagent {

// Image number 0 for a single image, 1 to count in a one-by-one run.
void PrintImageJob(int imageNumber);
// The spooler's failure at the end of a document as a message.
void ReportPrintError(int result);
// True when the current record can be printed: a depth the job knows,
// sane dimensions and blocks as large as the record says.
bool CurrentRecordIsPrintable();

}  // namespace pagent
