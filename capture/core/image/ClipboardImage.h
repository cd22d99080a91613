// Images through the clipboard: out as a device-independent bitmap, a device
// bitmap or a monochrome bitmap (each with a copy of the palette), in from a
// device-independent bitmap.
//
// The block functions are window-free: they build and read the clipboard's
// device-independent bitmap block, checking a foreign block's header against
// its size before a byte of it is trusted.
#pragma once

#include <cstdint>
#include <vector>

#include "DisplayImage.h"

// One movable block: the image's header block followed by its pixel rows;
// 0 when the image's blocks are not sound or memory is short.
HGLOBAL BuildClipboardDib(const DisplayImage& image);
// The rows of a 1-bit image as a monochrome device bitmap wants them: top row
// first, each padded to 16 bits. Empty when the image is not a sound 1-bit
// image.
std::vector<uint8_t> BuildMonochromeRows(const DisplayImage& image);
// Reads a device-independent bitmap block into an image with no blocks:
// 1, 4, 8 and 24 bits as they are, 16 and 32 bits (plain or with bit
// fields) as 24 bits, top-down blocks turned bottom-up, short colour tables
// filled up. An unusable block leaves no pixels and status
// kStatusNoClipboardBitmap; short memory, kStatusNoMemory. The block itself
// is not kept.
bool ReadClipboardDib(DisplayImage& image, HGLOBAL block);

#ifdef _WIN32
#include <windows.h>

// Each opens the clipboard for owner (on failure "Cannot open Clipboard." is
// shown and false returned), empties it, places the image and a copy of its
// palette, and closes it. False when nothing could be placed.
bool CopyImageToClipboardDIB(const DisplayImage& image, HWND owner);
bool CopyImageToClipboardBitmap(const DisplayImage& image, HWND owner);
bool CopyMonoImageToClipboard(const DisplayImage& image, HWND owner);
// The clipboard's device-independent bitmap into an empty image; the caller
// has opened the clipboard. Status kStatusNoClipboardBitmap when there is
// none (or it is unusable).
bool PasteImageFromClipboard(DisplayImage& image);
// The Paste Image road up to the new document: opens the clipboard for owner
// (false and the message when it cannot), clears the work image, pastes,
// closes, and gives the work image status kStatusClipboardImage when pixels
// arrived.
bool PasteClipboardIntoWorkImage(HWND owner);
// A new palette with palette's entries; null for a null palette or one with
// no or more than 256 entries.
HPALETTE CopyPalette(HPALETTE palette);
#endif
