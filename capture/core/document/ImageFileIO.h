// Image files through the format library: loading into a DisplayImage,
// writing one (with the automatic colour reduction of the Save As options),
// and the Save As road the document and the capture's file destination
// share.
#pragma once

#include "DisplayImage.h"

// ImportImageFile(path) into image: size, depth, pixel and header blocks,
// note and the library's error as status. On failure (no pixels or an
// error) the library's message is shown and image keeps no block. 32-bit
// files become 24-bit images, the depth every operation works in. Returns
// whether the image has pixels.
bool LoadImageFile(DisplayImage* image, const char* path);

// The deepest exact reduction of image that keeps every colour (24 to 8 to
// 4 to 1 bits), as a new image the caller deletes; null when the depth is 1
// or 4 or nothing fits.
DisplayImage* AutoReduceColors(const DisplayImage& image);

// Writes image to path as export type formatIndex (1-11); with automatic
// reduction on (Format value 5) and any type but JPG, the reduced copy's
// pixels are written. The image's status receives the library's error (0 =
// written); nothing else of the image changes.
void ExportImageToFile(DisplayImage& image, const char* path, int formatIndex);

// What ExportImageWithNote managed; only kExportFailed tests false.
enum ExportOutcome {
    kExportFailed = 0,
    kExportWritten = 1,
    kExportNoteNotWritten = 2   // the image is written, its note's side file could not be
};

// Writes image to the FileNameSave path in the Save As format (Format value
// 2), and the note's side file unless the format is PNG. A failure shows the
// library's message and leaves the status as it was (the image is still the
// file or capture it was). When the image is written its status is 0; a side
// file that cannot be written keeps its old content.
ExportOutcome ExportImageWithNote(DisplayImage& image);
