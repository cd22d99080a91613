// The browser's image kinds: which files a scan lists and counts, and which
// export type a typed file name asks for.
#pragma once

#include <cstdint>
#include <string>

enum { kBrowserFormatCount = 12, kBrowserDriveCount = 24 };

// Format order: bmp, clp, cur, dib, gif, ico, jpg, pcx, png, rle, tif, wpg.
extern const char* const kBrowserFormatNames[kBrowserFormatCount];   // "BMP", ...

// Case-insensitive comparison of two texts (ASCII letters only fold).
int CompareNoCase(const char* a, const char* b);
inline bool EqualNoCase(const std::string& a, const std::string& b) { return CompareNoCase(a.c_str(), b.c_str()) == 0; }

// The text from the last "." (dot included), or empty when there is none.
std::string ExtensionWithDot(const std::string& name);

// The export type a name's extension asks for (1 bmp .. 11 wpg; ".gif" is 4,
// never the interlaced 5); 0 when the name has no "." or the extension is
// not one of them.
int SaveTypeFromExtension(const std::string& name);
// name + the default extension of export type `type` (nothing for 0 or out
// of range).
std::string AppendFormatExtension(const std::string& name, int type);

// The format a scanned file belongs to, looking only at enabled formats:
// 0..11, or -1 when the file is not listed (no ".", another extension, or
// its format switched off).
int MatchScannedFile(const char* name, const int formatFlags[kBrowserFormatCount]);

// File counts and byte totals of the twelve formats, filled by a scan and
// lowered by deletions. Byte totals are 64-bit: files past 4 GB count whole.
struct ScanCounters {
    int64_t files[kBrowserFormatCount] = {};
    uint64_t bytes[kBrowserFormatCount] = {};

    void Reset() { *this = ScanCounters(); }
    void Add(int format, uint64_t size);
    void Remove(int format, uint64_t size);
    int64_t TotalFiles() const;
    uint64_t TotalBytes() const;
};
