// What the Open and Save As dialogs decide without a window: the format a
// chosen name stands for, the extension a bare name gets, the names and
// folders the dialogs start with, the Open dialog's path line, and where
// the preview is drawn in its box.
//
// Extensions are looked for in the file name only (after the last "\"), so
// a dot in a folder name is never taken for one.
#pragma once

#include <cstdint>
#include <string>

// The Save As list: entry n (1-11) is the format library's export type n;
// entry 5 is "GIF Interlace Format".
enum { kSaveFormatCount = 11, kSaveGifInterlaced = 5 };
// The longest path the settings and the file system's ANSI calls hold.
enum { kLongestPath = 259 };

// The default pattern of a Save As entry ("*.bmp" for 1); "" outside 1-11.
const char* DefaultSavePattern(int index);
// name with the entry's extension (".bmp") appended when its file name has
// no "."; name itself otherwise or for an unknown entry.
std::string WithDefaultExtension(const std::string& name, int filterIndex);
// The export type name's extension stands for, ignoring case: bmp 1, clp 2,
// dib 3, gif 4 (5 under "GIF Interlace Format"), jpg 6, pcx 7, png 8,
// rle 9, tif 10, wpg 11; 0 for any other extension or none.
int SaveTypeOfName(const std::string& name, int filterIndex);

// Capture-file mode starts with the stored capture file's name without its
// extension, in its folder (without the trailing "\").
std::string CaptureFileStartName(const std::string& captureFile);
std::string CaptureFileStartFolder(const std::string& captureFile);
// Document mode starts in the last saved file's folder (the stored path
// itself when its file name has no ".").
std::string SaveStartFolder(const std::string& lastSaved);

// 1234567 -> "1,234,567".
std::string GroupThousands(uint64_t value);
// "Path:  " + path + "   (" + size + " Bytes)".
std::string PathLineWithSize(const std::string& path, uint64_t size);

// Where an image of width x height is drawn in a square box of box pixels:
// at natural size, centred, when both sides are below the box; else scaled
// to the box along its longer side.
struct PreviewRect {
    int x, y, width, height;
};
PreviewRect FitPreview(int width, int height, int box);
