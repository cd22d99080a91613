// Import and export through the readers and writers: the static record, the
// choice of codec, and safe replacement of an existing file on export.
#include "FormatFrame.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "DibHelpers.h"

namespace {

ImageRecord g_record;

const ReaderEntry kReaders[] = {
    {"bmp", ReadBmpFile, kErrBmp},  {"dib", ReadBmpFile, kErrBmp},  {"rle", ReadBmpFile, kErrBmp},
    {"clp", ReadClpFile, kErrClp},  {"cur", nullptr, kErrBmp},      {"ico", nullptr, kErrBmp},
    {"kpt", ReadKptFile, kErrKpt},  {"gif", ReadGifFile, kErrGif},  {"jpg", ReadJpegFile, kErrJpg},
    {"pcx", ReadPcxFile, kErrPcx},  {"png", ReadPngFile, kErrPng},  {"tif", ReadTiffFile, kErrTif},
    {"wpg", ReadWpgFile, kErrWpg},
};

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? char(*a + 32) : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? char(*b + 32) : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

// Reads the whole of an open file; false when it is too large to hold.
bool ReadOpenFile(HANDLE file, std::vector<uint8_t>& bytes) {
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (high != 0 || size == INVALID_FILE_SIZE || size > kMaxImageBytes * 2u) return false;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    DWORD done = 0;
    if (size > 0 && (!ReadFile(file, bytes.data(), size, &done, nullptr) || done != size)) bytes.resize(done);
    return true;
}

}  // namespace

const ReaderEntry* FindReader(const char* path) {
    const char* dot = strrchr(path, '.');
    if (!dot || strlen(dot + 1) > 11) return nullptr;
    for (const ReaderEntry& entry : kReaders)
        if (EqualsNoCase(dot + 1, entry.extension)) return &entry;
    return nullptr;
}

ImageWriter FindWriter(int type) {
    switch (type) {
    case kTypeBmp: case kTypeDib: case kTypeRle: return WriteBmpFile;
    case kTypeClp: return WriteClpFile;
    case kTypeGif: return WriteGifFile;
    case kTypeGifInterlaced: return WriteGifFileInterlaced;
    case kTypeJpg: return WriteJpegFile;
    case kTypePcx: return WritePcxFile;
    case kTypePng: return WritePngFile;
    case kTypeTif: return WriteTiffFile;
    case kTypeWpg: return WriteWpgFile;
    default: return nullptr;  // no writer: the file is left as it is
    }
}

void RunReader(const ReaderEntry& entry, const uint8_t* data, size_t size, ImageRecord& record) {
    memset(&record, 0, sizeof record);
    ByteView file(data, size, entry.errorId);
    int error = 0;
    try {
        entry.reader(file, record);
    } catch (const CodecFailure& failure) {
        error = failure.id;
    } catch (const std::bad_alloc&) {
        error = kErrNoMemory;
    }
    if (error) {
        FreeRecordBlocks(record);
        memset(&record, 0, sizeof record);
        record.error = error;
    }
}

ImageRecord ImportImageMemory(const char* nameForExtension, const uint8_t* data, size_t size) {
    ImageRecord record;
    memset(&record, 0, sizeof record);
    const ReaderEntry* entry = FindReader(nameForExtension);
    if (entry && entry->reader) RunReader(*entry, data, size, record);
    return record;
}

int RunWriter(ImageWriter writer, const ImageRecord& record, ByteSink& out) {
    try {
        writer(record, out);
    } catch (const CodecFailure& failure) {
        return failure.id;
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    }
    return out.ok() ? 0 : kErrCannotCreate;
}

int ExportRefusal(const ImageRecord& record, int type) {
    if ((type == kTypeGif || type == kTypeGifInterlaced) && record.bitCount == 24) return kErrGif24Bit;
    if (type == kTypeWpg && record.bitCount == 24) return kErrWpg24Bit;
    if (type == kTypeJpg && record.bitCount < 8) return kErrJpgLowDepth;
    return 0;
}

ImageRecord* __cdecl ImportImageFile(const char* path) {
    memset(&g_record, 0, sizeof g_record);
    HANDLE file = path ? CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                       : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        g_record.error = kErrCannotOpen;
        return &g_record;
    }
    MeasureScreen();
    const ReaderEntry* entry = FindReader(path);
    std::vector<uint8_t> bytes;
    bool held = entry && entry->reader && ReadOpenFile(file, bytes);
    CloseHandle(file);
    if (!entry) return &g_record;  // unknown extensions read nothing
    if (!entry->reader)
        ImportIconFile(path, EqualsNoCase(entry->extension, "cur"), g_record);
    else if (!held)
        g_record.error = kErrNoMemory;
    else
        RunReader(*entry, bytes.data(), bytes.size(), g_record);
    return &g_record;
}

// The image goes to a temporary file beside the target, which replaces the
// target only once it is complete: a failed export never costs the user an
// existing file.
void __cdecl ExportImageFile(ImageRecord* caller, const char* path, int type) {
    if (!caller) return;
    if (int refusal = ExportRefusal(*caller, type)) {
        caller->error = refusal;
        return;
    }
    ImageWriter writer = FindWriter(type);
    if (!writer) {
        // No writer for this code: as before, the file is opened (created when
        // missing) and closed untouched.
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        caller->error = file == INVALID_HANDLE_VALUE ? kErrCannotCreate : 0;
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return;
    }
    memcpy(&g_record, caller, sizeof g_record);
    g_record.error = 0;

    DWORD attributes = GetFileAttributesA(path);
    std::string temporary = std::string(path) + ".~pv";
    HANDLE file = (attributes != INVALID_FILE_ATTRIBUTES && (attributes & 0x10))
                      ? INVALID_HANDLE_VALUE  // a folder is no file to write
                      : CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        caller->error = kErrCannotCreate;
        return;
    }
    int error = 0;
    {
        FileSink sink(file);
        error = RunWriter(writer, g_record, sink);
        if (!sink.flush() && !error) error = kErrCannotCreate;
    }
    CloseHandle(file);
    if (!error && !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) error = kErrCannotCreate;
    if (error) DeleteFileA(temporary.c_str());
    g_record.error = error;
    caller->error = error;
}
