// Pictova: the suite's image format library. Reads image files into
// device-independent bitmaps held in movable global blocks, and writes them
// back. This header is shared by the library and every program that links it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../framework/kernel/KernelApi.h"

#ifdef _WIN32
typedef char* ImageNamePtr;
#else
typedef uint32_t ImageNamePtr;  // keeps the 32-bit layout in native builds
#endif

#pragma pack(push, 1)
// The image interchange record between the programs and the libraries:
// packed, 50 bytes in the 32-bit product. Handles and the name are
// pointer-sized, so a 64-bit build has a longer record of the same order;
// code that copies or allocates records always uses sizeof(ImageRecord).
struct ImageRecord {
    int32_t width;
    int32_t height;
    uint16_t bitCount;       // 1, 4, 8, 24 or 32
    HGLOBAL hBits;           // bottom-up pixel rows
    HGLOBAL hInfo;           // 40-byte info header and colour table
    HGLOBAL hDisplayBits;    // display copy, owned by the capture program
    HGLOBAL hDisplayInfo;
    HPALETTE hPalette;       // the caller's palette
    HGLOBAL hNote;           // NUL-terminated note text, or 0
    int32_t noteLength;
    int32_t fileTime;        // seconds; for the print library
    ImageNamePtr fileName;   // for the print library
    int32_t error;           // 0, or an error id 1001 to 1017
};
#pragma pack(pop)

#ifndef _WIN64
// The layout the 32-bit programs and libraries exchange.
static_assert(sizeof(ImageRecord) == 50, "ImageRecord is 50 bytes");
static_assert(offsetof(ImageRecord, bitCount) == 8, "ImageRecord layout");
static_assert(offsetof(ImageRecord, hBits) == 10, "ImageRecord layout");
static_assert(offsetof(ImageRecord, hInfo) == 14, "ImageRecord layout");
static_assert(offsetof(ImageRecord, hDisplayBits) == 18, "ImageRecord layout");
static_assert(offsetof(ImageRecord, hDisplayInfo) == 22, "ImageRecord layout");
static_assert(offsetof(ImageRecord, hPalette) == 26, "ImageRecord layout");
static_assert(offsetof(ImageRecord, hNote) == 30, "ImageRecord layout");
static_assert(offsetof(ImageRecord, noteLength) == 34, "ImageRecord layout");
static_assert(offsetof(ImageRecord, fileTime) == 38, "ImageRecord layout");
static_assert(offsetof(ImageRecord, fileName) == 42, "ImageRecord layout");
static_assert(offsetof(ImageRecord, error) == 46, "ImageRecord layout");
#else
// The same fields in the same order, handles and name 8 bytes wide.
static_assert(sizeof(HGLOBAL) == 8 && sizeof(HPALETTE) == 8 && sizeof(ImageNamePtr) == 8,
              "pointer-sized handles and name");
static_assert(offsetof(ImageRecord, hBits) == 10, "ImageRecord layout");
static_assert(offsetof(ImageRecord, noteLength) == 58, "ImageRecord layout");
static_assert(offsetof(ImageRecord, fileName) == 66, "ImageRecord layout");
static_assert(sizeof(ImageRecord) == 78, "ImageRecord is 78 bytes in 64-bit builds");
#endif

// Export type codes of ExportImageFile.
enum ImageFileType {
    kTypeBmp = 1,
    kTypeClp = 2,
    kTypeDib = 3,
    kTypeGif = 4,
    kTypeGifInterlaced = 5,
    kTypeJpg = 6,
    kTypePcx = 7,
    kTypePng = 8,
    kTypeRle = 9,
    kTypeTif = 10,
    kTypeWpg = 11,
};

// Error ids (string-table ids of the library).
enum ImageErrorId {
    kErrCannotOpen = 1001,
    kErrCannotCreate = 1002,
    kErrBmp = 1003,
    kErrClp = 1004,
    kErrKpt = 1005,
    kErrGif = 1006,
    kErrJpg = 1007,
    kErrPcx = 1008,
    kErrPng = 1009,
    kErrPngCorrupt = 1010,
    kErrTif = 1011,
    kErrWpg = 1012,
    kErrWpgNoBitmap = 1013,
    kErrGif24Bit = 1014,
    kErrWpg24Bit = 1015,
    kErrJpgLowDepth = 1016,
    kErrNoMemory = 1017,
};

#if defined(_WIN32) && defined(PICTOVA_BUILD)
#define PICTOVA_API extern "C" __declspec(dllexport)
#elif defined(_WIN32) && !defined(PICTOVA_STATIC)
#define PICTOVA_API extern "C" __declspec(dllimport)
#else
#define PICTOVA_API extern "C"
#endif

PICTOVA_API ImageRecord* __cdecl ImportImageFile(const char* path);
PICTOVA_API void __cdecl ExportImageFile(ImageRecord* record, const char* path, int type);
PICTOVA_API int __cdecl GetErrorMessage(int id, char* buffer);
PICTOVA_API void __cdecl DisplayFormatErrorMsg(int id);
