// Colour operations of the Color menu and the reductions the capture and the
// save path reuse. Each reads a source image, never changes it, and builds
// its result in an empty image (the work image): on success the result has
// its own pixel and header blocks and, for the menu operations, the caption
// id in its status; on failure it has no pixel block and, where the user is
// to be told, an error id in its status (kStatusNoMemory and the like).
// A result never names a block of its source, so failures cannot free the
// source's blocks twice.
//
// Per-row loops report progress through ReportImageProgress (ImageNotify.h).
// Sources must have sound blocks (DisplayImage::HasSoundBlocks) and a depth
// the operation lists; anything else builds nothing. 32-bit images go
// through ConvertDeepImageTo24Bit first.
#pragma once

#include <cstdint>

#include "DisplayImage.h"

// The gray a colour becomes: a gray keeps its value, other colours
// (30 red + 54 green + 11 blue) / 100.
uint8_t GrayOf(uint8_t red, uint8_t green, uint8_t blue);
// Index of the standard colour nearest to (red, green, blue) by squared
// distance, the first of equals winning (as the system's palette lookup):
// looked up in a grid built on first use, searched where the grid cannot
// answer.
int NearestStandardColor(uint8_t red, uint8_t green, uint8_t blue);
// The same answer by measuring the distance to each of the 16.
int SearchNearestStandardColor(uint8_t red, uint8_t green, uint8_t blue);

// Attributes, pixels and header of source; kStatusNoMemory when a block
// cannot be had. Any depth.
bool DuplicateImage(DisplayImage& result, const DisplayImage& source);
// 4 bits: gray colour table; 8 bits: gray indices over the gray ramp;
// 24 bits: an 8-bit gray image. kStatusGrayscale.
void ConvertToGrayscale(DisplayImage& result, const DisplayImage& source);
// 24 bits: every pixel byte complemented; 1, 4, 8 bits: the colour table
// complemented. kStatusInvert.
void InvertColors(DisplayImage& result, const DisplayImage& source);
// 4, 8, 24 bits to a 1-bit black-and-white image: a colour becomes white when
// the BlackWhite flag of its nearest standard colour is set.
// kStatusBlackAndWhite.
void ConvertToBlackWhite(DisplayImage& result, const DisplayImage& source);
// 8 bits using at most 16 indices to 4 bits (kStatusMoreThan16Colors
// otherwise). kStatusReduceColors.
void ReduceColors8To4(DisplayImage& result, const DisplayImage& source);
// 24 bits with at most 256 colours to 8 bits, colours in order of first
// occurrence (kStatusMoreThan256Colors otherwise). kStatusReduceColors.
void ReduceColors24To8(DisplayImage& result, const DisplayImage& source);
// 4 bits using at most 2 indices to 1 bit; no caption, and nothing at all
// (no status either) with more colours.
void ReduceColors4To1(DisplayImage& result, const DisplayImage& source);
// A 24-bit image of at most 256 colours takes the blocks of its 8-bit
// reduction in place of its own; with more colours (or no memory for the
// reduction) it stays as it is. True when it was reduced.
bool ReduceTo8BitsWhenFew(DisplayImage& image);
// 1, 4, 8 bits to 24 bits of the same size; no caption.
void ConvertTo24Bit(DisplayImage& result, const DisplayImage& source);

// Turns a 32-bit image (blue, green, red, unused) into 24 bits in place, so
// that no 3-byte loop sees 4-byte pixels; other depths are left as they
// are. False (image unchanged) when the new blocks cannot be had.
bool ConvertDeepImageTo24Bit(DisplayImage& image);

#ifdef _WIN32
// A new logical palette of the 16 standard colours; the caller deletes it.
HPALETTE CreateStandard16ColorPalette();
#endif
