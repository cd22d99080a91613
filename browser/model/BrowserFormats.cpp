#include "BrowserFormats.h"

#include <cstring>

const char* const kBrowserFormatNames[kBrowserFormatCount] = {
    "BMP", "CLP", "CUR", "DIB", "GIF", "ICO", "JPG", "PCX", "PNG", "RLE", "TIF", "WPG"};

namespace {

// Indexed by export type; 0 is a placeholder no extension equals.
const char* const kSaveExtensions[12] = {"*.*",  ".bmp", ".clp", ".dib", ".gif", ".gif",
                                         ".jpg", ".pcx", ".png", ".rle", ".tif", ".wpg"};

int Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

int CompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const int d = Fold(static_cast<unsigned char>(*a)) - Fold(static_cast<unsigned char>(*b));
        if (d != 0 || *a == 0)
            return d;
    }
}

std::string ExtensionWithDot(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

int SaveTypeFromExtension(const std::string& name)
{
    const std::string extension = ExtensionWithDot(name);
    if (extension.empty())
        return 0;
    for (int type = 1; type < 12; ++type)
        if (CompareNoCase(extension.c_str(), kSaveExtensions[type]) == 0)
            return type;
    return 0;
}

std::string AppendFormatExtension(const std::string& name, int type)
{
    return type > 0 && type < 12 ? name + kSaveExtensions[type] : name;
}

int MatchScannedFile(const char* name, const int formatFlags[kBrowserFormatCount])
{
    const char* dot = name ? std::strrchr(name, '.') : nullptr;
    if (!dot)
        return -1;
    for (int format = 0; format < kBrowserFormatCount; ++format)
        if (formatFlags[format] && CompareNoCase(dot + 1, kBrowserFormatNames[format]) == 0)
            return format;
    return -1;
}

void ScanCounters::Add(int format, uint64_t size)
{
    if (format < 0 || format >= kBrowserFormatCount)
        return;
    files[format] += 1;
    bytes[format] += size;
}

void ScanCounters::Remove(int format, uint64_t size)
{
    if (format < 0 || format >= kBrowserFormatCount || files[format] == 0)
        return;
    files[format] -= 1;
    bytes[format] = bytes[format] > size ? bytes[format] - size : 0;
}

int64_t ScanCounters::TotalFiles() const
{
    int64_t total = 0;
    for (int64_t n : files)
        total += n;
    return total;
}

uint64_t ScanCounters::TotalBytes() const
{
    uint64_t total = 0;
    for (uint64_t n : bytes)
        total += n;
    return total;
}
