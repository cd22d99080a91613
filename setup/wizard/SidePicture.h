// The picture beside every wizard page but the last: "setup.png" read
// through the format library, with a palette when it has one.
#pragma once

#include <windows.h>

#include "formats/Pictova.h"

class SidePicture {
public:
    ~SidePicture() { Free(); }
    // A missing or unreadable file leaves the picture empty.
    void Load(const char* path);
    void Free();
    bool IsEmpty() const { return !record_.hBits || !record_.hInfo; }
    HPALETTE Palette() const { return palette_; }
    // At full size with its top-left corner at (x, y); nothing when empty.
    void Draw(HDC dc, int x, int y) const;

private:
    ImageRecord record_{};
    HPALETTE palette_ = nullptr;
};

// The logical palette of a colour table: one entry per colour the picture
// uses (at most 256), none for pictures deeper than 8 bits. The header block
// may be shorter than its colour count claims; only what it holds is read.
HPALETTE MakePictureTablePalette(const BITMAPINFOHEADER* header, size_t headerBlockSize);
