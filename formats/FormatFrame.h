// The library's frame without the exported wrappers: dispatch of readers by
// extension and writers by type code. Tests and fuzzers call these directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Codecs.h"
#include "Pictova.h"

struct ReaderEntry {
    const char* extension;
    ImageReader reader;  // null for the icon and cursor path
    int errorId;         // the id a failure of this reader reports
};

// The reader for a path's extension (after the last '.', at most 11
// characters, compared without regard to case), or null.
const ReaderEntry* FindReader(const char* path);
ImageWriter FindWriter(int type);

// Runs one reader over bytes in memory into `record` (cleared first).
// On failure every block the reader made is freed and `error` is set.
void RunReader(const ReaderEntry& entry, const uint8_t* data, size_t size, ImageRecord& record);
// Runs a reader chosen by the extension of `nameForExtension`.
ImageRecord ImportImageMemory(const char* nameForExtension, const uint8_t* data, size_t size);
// Runs one writer; returns the error id (0 on success).
int RunWriter(ImageWriter writer, const ImageRecord& record, ByteSink& out);
// The id ExportImageFile refuses a record and type with before touching any file.
int ExportRefusal(const ImageRecord& record, int type);

// Supplied by the Windows layer, stand-ins natively.
void MeasureScreen();
void ImportIconFile(const char* path, bool isCursor, ImageRecord& record);
