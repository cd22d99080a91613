// The Crop menu's operations and the colour change, with the cropping
// selection's geometry that the image view drives by mouse and keys. The
// operations follow the colour operations' rule (ColorOps.h): a sound source
// at 1, 4, 8 or 24 bits, never changed, and the result built in an empty
// image with its caption id, or kStatusNoMemory and no blocks.
//
// The selection is in picture coordinates (top row 0): left and top
// inclusive, right and bottom exclusive.
#pragma once

#include <cstdint>
#include <vector>

#include "DisplayImage.h"

enum CropStatusId {
    kStatusChangeColor = 32912,
    kStatusCrop = 32916,
    kStatusErase = 32917,
    kStatusNoColorChange = 32969,   // "No color change."
};

// The selection within the image, or an empty rectangle when nothing of it
// lies on the image.
ImageRect ClampedSelection(const DisplayImage& image);

// The selected part as a new image. An empty selection builds nothing and
// says nothing.
void CropImage(DisplayImage& result, const DisplayImage& source);
// A copy with the selected part set to white: 24 bits white itself; palette
// images the first entry whose red, green and blue all exceed 246, else the
// entry nearest to white. An empty selection builds nothing.
void EraseSelection(DisplayImage& result, const DisplayImage& source);

// In a 24-bit image every pixel of oldColor becomes newColor (colours are
// colour references, 0x00BBGGRR).
void ReplaceColor24(DisplayImage& image, COLORREF oldColor, COLORREF newColor);
// A copy of the source with oldColor changed to newColor: every such pixel
// at 24 bits, every colour-table entry of that colour in palette images.
// kStatusChangeColor; false when nothing was built.
bool ChangeImageColor(DisplayImage& result, const DisplayImage& source, COLORREF oldColor, COLORREF newColor);
// The colour at picture point (x, y): the pixel itself at 24 bits, its
// colour-table entry below; kNoColor off the image.
constexpr COLORREF kNoColor = 0xFFFFFFFF;
COLORREF ColorAtPoint(const DisplayImage& image, int32_t x, int32_t y);

// ---- The cropping lines ----

// The corner handle under an image point: 1 top-right, 2 top-left,
// 3 bottom-left, 4 bottom-right, 0 none.
int HitCropCorner(const ImageRect& selection, int32_t x, int32_t y);
// The corner that stays put while a corner is dragged: the opposite one.
void CropAnchor(const ImageRect& selection, int corner, int32_t& x, int32_t& y);
// The rectangle spanned by the anchor and a point, normalised.
ImageRect SpanRect(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y);

// Keys that move the cropping lines.
enum CropKey { kCropKeyLeft, kCropKeyUp, kCropKeyRight, kCropKeyDown, kCropKeyInward, kCropKeyOutward };
// Moves the selection's edges one pixel for a key (with Shift the arrows
// move the right or bottom edge, else the left or top edge), within the
// image and never past the opposite edge. The one-pixel strips that entered
// or left the selection are appended to changed, in the order the edges
// moved. True when an edge moved.
bool NudgeSelection(ImageRect& selection, CropKey key, bool shift, int32_t width, int32_t height,
                    std::vector<ImageRect>* changed);
