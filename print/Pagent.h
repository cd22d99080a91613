// Pagent: the suite's print library. Prints one image over as many pages as
// it needs, several images one job each, or up to 40 images on one page,
// with headers, footers and the image's note. The programs pass their
// settings section and ini file; the library keeps its keys there and the
// printer's device settings in "KTPrint.ini" in the Windows folder.
// The records and every block they name stay the caller's.
#pragma once

#include "../formats/Pictova.h"
#ifdef _WIN32
#include <winspool.h>
// The spooler's own ResetPrinter is a macro; ours is the export of that name.
#undef ResetPrinter
#endif

#if defined(_WIN32) && defined(PAGENT_BUILD)
#define PAGENT_API extern "C" __declspec(dllexport)
#elif defined(_WIN32)
#define PAGENT_API extern "C" __declspec(dllimport)
#else
#define PAGENT_API extern "C"
#endif

// records: a movable block of count consecutive 50-byte records.
PAGENT_API void __cdecl PrintAllXImage(HGLOBAL records, int count, const char* section, const char* settingsFile,
                                       unsigned char unused);
PAGENT_API void __cdecl PrintAllXImageOnePage(HGLOBAL records, int count, const char* section,
                                              const char* settingsFile, unsigned char unused);
PAGENT_API void __cdecl PrintOneXImage(const ImageRecord* record, const char* section, const char* settingsFile,
                                       int showOptions, unsigned char unused);
PAGENT_API void __cdecl PrintXImageSetup(const char* section, const char* settingsFile);
PAGENT_API void __cdecl PrinterSetup(const char* section, const char* settingsFile);
PAGENT_API void __cdecl ResetPrinter();
