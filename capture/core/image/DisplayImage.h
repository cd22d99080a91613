// The capture program's in-memory image: a device-independent bitmap in
// movable global blocks, with what a view needs to draw it (a palette, and
// for deep images on shallow screens an 8-bit dithered display copy), its
// note text, its origin and its place in a view.
//
// The object owns every block and device object it names. Hand-overs between
// two objects use CopyAttributesFrom (both then name the same blocks: clear
// one of them before either is destroyed) and Clear (forget without freeing).
#pragma once

#include <cstdint>

#include "../../../framework/CObject.h"
#include "../../../framework/CString.h"
#include "../../../framework/kernel/KernelApi.h"

#ifdef _WIN32
#include "GdiHandle.h"
typedef GdiHandle<HBITMAP> DisplayBitmap;
typedef GdiHandle<HPALETTE> DisplayPalette;
typedef RECT ImageRect;
typedef PALETTEENTRY PaletteRgb;
#else
// Native builds hold no device objects; these keep the class's shape so that
// the window-free code is the same in both builds.
struct DisplayBitmap {};
struct DisplayPalette {};
struct ImageRect {
    LONG left, top, right, bottom;
};
// Laid out as the system's palette entry: red, green, blue, flags.
struct PaletteRgb {
    BYTE peRed, peGreen, peBlue, peFlags;
};
#endif

// String ids an image's status takes (the document titles itself by the
// caption ids; error ids are shown instead of opening a document).
enum ImageStatusId {
    kStatusLoadedFromFile = 32899,
    kStatusClipboardImage = 32900,
    kStatusBlackAndWhite = 32909,
    kStatusGrayscale = 32910,
    kStatusInvert = 32911,
    kStatusReduceColors = 32913,
    kStatusNoMemory = 32965,            // "Insufficient memory!"
    kStatusCannotOpenClipboard = 32967, // "Cannot open Clipboard."
    kStatusNoClipboardBitmap = 32968,   // "No bitmap in Clipboard."
    kStatusMoreThan16Colors = 32970,
    kStatusMoreThan256Colors = 32971,
    kStatusSavedByCapture = 57604,      // the name is the file the capture wrote
};

// Entries of the 8-bit halftone palette that deep images are dithered to.
enum { kHalftoneEntryCount = 256, kHalftoneCubeBase = 10, kDisplayHeaderSize = 40 + 4 * 256 };

class DisplayImage : public CObject {
public:
    DisplayImage();
    ~DisplayImage() override;
    DisplayImage(const DisplayImage&) = delete;
    DisplayImage& operator=(const DisplayImage&) = delete;

    int32_t width = 0;
    int32_t height = 0;            // rows are stored bottom-up
    uint16_t bitCount = 0;         // 1, 4, 8 or 24; 32 is drawn too
    HGLOBAL hPixels = 0;
    HGLOBAL hHeader = 0;           // 40-byte header and colour table
    HGLOBAL hDisplayPixels = 0;    // 8-bit dithered copy, or 0
    HGLOBAL hDisplayHeader = 0;    // its header and halftone table
    int32_t colorCount = 0;        // 0 = not counted
    int32_t selectionShown = 0;
    int32_t borderShown = 0;
    int32_t timeStamp = 0;         // seconds since 1970
    int32_t status = 0;            // ImageStatusId or another string id
    HGLOBAL hNote = 0;             // zero-terminated note text, or 0
    int32_t noteLength = 0;        // bytes including the zero
    DisplayBitmap bitmap;          // device bitmap a screen capture lands in
    DisplayPalette palette;        // palette used for drawing
    CString name;
    ImageRect placement = {0, 0, 0, 0};  // where the image is drawn in its view
    ImageRect selection = {0, 0, 0, 0};  // cropping rectangle, image coordinates

    // Makes this object name source's pixel and header blocks (see above);
    // the display pair, colour count and flags are cleared, name, note,
    // bitmap and palette are left alone.
    void CopyAttributesFrom(const DisplayImage& source);
    // A fresh zero-filled header block for width, height and bitCount, colour
    // table black; false (hHeader unchanged) when the depth has no header or
    // the block cannot be had.
    bool CreateHeader();
    // Forgets the blocks without freeing them.
    void Clear();
    // Frees the pixel, header and display blocks and forgets them (the note,
    // bitmap and palette stay).
    void FreeBlocks();

    // Sizes from the fields. Row stride and block size are 0 when the fields
    // do not describe an image (non-positive size, odd depth, a block past
    // the library's cap), so they never wrap.
    uint32_t GetPaletteSize() const;
    uint32_t GetHeaderSize() const;
    uint32_t GetRowStride() const;
    uint32_t GetBitsSize() const;
    // True when the fields describe an image and both blocks are at least as
    // large as they say.
    bool HasSoundBlocks() const;

    // The first min(count, 16) default colours for the screen's colour count:
    // black and white on a two-colour screen, else the standard 16 colours.
    void CreateDefaultColorTable(PaletteRgb* out, int count) const;
    // The 8-bit display copy of a 24- or 32-bit image into hDisplayPixels;
    // nothing when the block cannot be had or the image is not that deep.
    void DitherTo8Bit();
    // hDisplayHeader: 8-bit header with the halftone colour table.
    bool BuildHalftoneDisplayHeader();
    // Distinct colours into colorCount.
    void CountColors4();
    void CountColors8();
    void CountColors24();   // 32-bit pixels are counted by their colour bytes

#ifdef _WIN32
    // Header and colour table for a fresh screen capture; depths above 8
    // become 24.
    bool CreateCaptureHeader();
    // Pixels from bitmap into a new hPixels; status 32965 when the block
    // cannot be had.
    void ConvertBitmapToDib();
    // palette from the colour table (8 bits or fewer); the stock palette
    // when the system refuses one.
    void CreatePaletteFromColors();
    // Readies a filled image for its view.
    void PrepareForDisplay();
    // Display header (as above) and the palette made from it.
    void CreateHalftonePalette();
    // Views pass their device context's handle.
    void Draw(HDC dc);
    void DrawSelectionFrame(HDC dc);
#endif
};

// Entry i of the halftone palette (red, green, blue).
PaletteRgb HalftonePaletteEntry(int index);
// The display byte a 24-bit colour dithers to at stored row y, column x.
uint8_t DitherToHalftone(uint8_t red, uint8_t green, uint8_t blue, int x, int y);
