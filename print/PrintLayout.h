// Page and band arithmetic of the single-image job, free of any device:
// where the enlarged image sits on the page, how it is tiled over pages,
// how a page's tile is cut into strips small enough for the driver, and how
// the colour table is reworked for grayscale and black-and-white printing.
// All sizes are checked: nothing here can overflow or loop forever.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PrintDib.h"

namespace pagent {

// Largest pixel block of one bitmap transfer to the driver.
constexpr uint32_t kMaxBandBytes = 65535;
// Margin of the printable area on every side, in printer pixels.
constexpr int kPageMargin = 5;

// Top-left corner of the enlarged image (pw x ph) in a printable area of
// w x h that starts at (5, 5), by alignment box 0-8 (column = box / 3,
// row = box % 3). Larger than the area in a direction: 5 in that direction.
struct Point { int x; int y; };
Point GetAlignmentOffset(int box, int64_t pw, int64_t ph, int w, int h);

// One page of a tiled image: the source pixels it holds (from the left and
// from the top of the image) and its number (1 = first).
struct PageTile {
    int number;
    int sourceX;      // first pixel column
    int sourceTop;    // first pixel row counted from the top
    int width;        // pixel columns
    int rows;         // pixel rows
    int storedRow;    // first stored row (rows are stored bottom-up)
};

// The tiling of a w x h image at scale s on a printable area W x H: pages
// column by column, top to bottom within a column. Empty when a size is not
// positive.
struct PagePlan {
    int stepX = 0;      // image pixels one page holds across
    int stepY = 0;      // ... and down
    int across = 0;     // pages across
    int down = 0;       // pages down
    int64_t total() const { return int64_t(across) * down; }
};
PagePlan PlanPages(int w, int h, int scale, int printWidth, int printHeight);
PageTile GetPageTile(const PagePlan& plan, int w, int h, int index);

// One transfer to the driver: source columns and rows of a page's tile
// (rows counted from the tile's top), and where it lands relative to the
// tile's own top-left corner in image pixels.
struct BandStrip {
    int sourceX;       // first image column
    int width;         // columns sent
    int rowFromTop;    // first row, from the tile's top
    int rows;          // rows sent
    int offsetX;       // columns from the tile's left edge to the strip's
};
// Strips of a tile of width x rows at bitCount bits: the smallest number of
// strips across for which every strip (with its one-pixel overlap) stays
// within kMaxBandBytes; rows are split first when even the narrowest strip
// would not fit. Strips after the first start one pixel further left and
// are one pixel wider.
std::vector<BandStrip> PlanBandStrips(int sourceX, int width, int rows, int bitCount);
// The number of strips across for a tile width and row count (the smallest
// n with AlignRowBytes((width / n + 2) x bits) x rows within the limit), or 0
// when no number of strips fits these rows.
int GetBandCount(int width, int rows, int bitCount);
// Bytes of the band buffer for the widest strip.
uint32_t BandBufferBytes(const std::vector<BandStrip>& strips, int bitCount);

// Copies pixels [sx, sx + sw) of rows [sy, sy + rows) (stored rows, bottom
// up) of a source image of the given width into a packed band buffer whose
// rows are AlignRowBytes(sw x bits) bytes apart.
void CopyBandRows(uint8_t* buffer, const uint8_t* source, int sourceWidth, int bitCount,
                  int sx, int sy, int sw, int rows);

// 0-255 grey of a colour: red when all three are equal, else the weighted
// sum (30 r + 54 g + 11 b) / 100.
int GrayLevel(int red, int green, int blue);
// Lightens the grey of every entry for printing (0 and 218 and above stay).
void MakeGrayColorTable(DibColor* table, uint32_t entries);
// Each entry becomes white when its nearest standard colour is grey,
// silver, green, yellow, cyan or white, else black.
void MakeBlackWhiteColorTable(DibColor* table, uint32_t entries);
// Index of the nearest of the standard 16 colours.
int NearestStandardColor(const DibColor& color);

// Percent of done out of total, 0-100, in 64-bit arithmetic.
int MeterPercent(int64_t done, int64_t total);

// True when a depth is one the job prints.
bool IsPrintableDepth(int bitCount);
// Pixel bytes of an image, or 0 when the dimensions or depth are not sane or
// the block would be larger than the library accepts.
uint64_t ImagePixelBytes(int32_t width, int32_t height, int bitCount);

// The job's document name: section, " - " and the file name, or the section
// alone when that would reach 32 characters.
std::string DocumentName(const std::string& section, const std::string& fileName);
// Meter line 1: "Printing '" + the name after its last backslash + "' on the".
std::string PrintingLine(const std::string& fileName);

}  // namespace pagent
