// The screen services the clipboard-file reader needs for device bitmaps:
// supplied by the Windows layer; natively there is no screen to ask, and
// the reader falls back to what it can do without one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Pictova.h"

// The screen's depth (planes x bits per pixel); natively 32.
int CurrentScreenDepth();

// A header for record.bitCount whose colour table comes from the screen
// (the system palette on an 8-bit screen); false when there is no screen or
// the block cannot be allocated.
bool CreateScreenDibHeader(ImageRecord& record);

// Device-dependent rows of the given planes and bits per pixel, handed to a
// device bitmap of the record's size and read back as the record's header
// and pixel blocks at the screen's depth; false when that cannot be done.
bool ConvertDeviceBits(ImageRecord& record, int planes, int bitsPerPixel, const uint8_t* bits, size_t bytes);
