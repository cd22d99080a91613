// Import and export through the readers and writers: the static record, the
// choice of codec, and safe replacement of an existing file on export.
#include "FormatFrame.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "DibHelpers.h"
#include "../framework/kernel/ReplacingFile.h"

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
    } catch (...) {
        error = entry.errorId;  // no other fault may leave the library either
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
    } catch (...) {
        return kErrCannotCreate;
    }
    return out.ok() ? 0 : kErrCannotCreate;
}

int ExportRefusal(const ImageRecord& record, int type) {
    if ((type == kTypeGif || type == kTypeGifInterlaced) && record.bitCount == 24) return kErrGif24Bit;
    if (type == kTypeWpg && record.bitCount == 24) return kErrWpg24Bit;
    if (type == kTypeJpg && record.bitCount < 8) return kErrJpgLowDepth;
    return 0;
}

namespace {

void ImportFromPath(const char* path) {
    HANDLE file = path && *path
                      ? CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                      : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        g_record.error = kErrCannotOpen;
        return;
    }
    MeasureScreen();
    const ReaderEntry* entry = FindReader(path);
    std::vector<uint8_t> bytes;
    bool held = entry && entry->reader && ReadOpenFile(file, bytes);
    CloseHandle(file);
    if (!entry) return;  // unknown extensions read nothing
    if (!entry->reader)
        ImportIconFile(path, EqualsNoCase(entry->extension, "cur"), g_record);
    else if (!held)
        g_record.error = kErrNoMemory;
    else
        RunReader(*entry, bytes.data(), bytes.size(), g_record);
}

int WriteOpenFile(HANDLE file, ImageWriter writer) {
    try {
        FileSink sink(file);
        int error = RunWriter(writer, g_record, sink);
        return !sink.flush() && !error ? kErrCannotCreate : error;
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;  // the sink's buffer
    }
}

// The image goes to a temporary file, which replaces the target only once
// it is complete: a failed export never costs the user an existing file,
// and no file of the user's is ever taken for the temporary one.
int ExportToPath(const ImageRecord& caller, const char* path, int type) {
    if (int refusal = ExportRefusal(caller, type)) return refusal;
    if (!path || !*path || strlen(path) >= MAX_PATH) return kErrCannotCreate;
    ImageWriter writer = FindWriter(type);
    if (!writer) {
        // No writer for this code: as before, the file is opened (created when
        // missing) and closed untouched.
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return kErrCannotCreate;
        CloseHandle(file);
        return 0;
    }
    memcpy(&g_record, &caller, sizeof g_record);
    g_record.error = 0;

    // A folder is never replaced, nor a read-only file: the move below would
    // not refuse one everywhere (Wine's replaces it and drops the mark).
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (0x10 | FILE_ATTRIBUTE_READONLY)))
        return kErrCannotCreate;
    std::string temporary = MakeTemporaryFileBeside(path);
    HANDLE file = temporary.empty() ? INVALID_HANDLE_VALUE
                                    : CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (!temporary.empty()) DeleteFileA(temporary.c_str());
        return kErrCannotCreate;
    }
    int error = WriteOpenFile(file, writer);
    CloseHandle(file);
    if (error)
        DeleteFileA(temporary.c_str());
    else if (!ReplaceWithTemporaryFile(temporary, path))
        error = kErrCannotCreate;
    g_record.error = error;
    return error;
}

}  // namespace

// No exception leaves the exported functions: whatever goes wrong becomes
// the record's error id.
ImageRecord* __cdecl ImportImageFile(const char* path) {
    memset(&g_record, 0, sizeof g_record);
    int error = 0;
    try {
        ImportFromPath(path);
    } catch (const std::bad_alloc&) {
        error = kErrNoMemory;
    } catch (...) {
        error = kErrCannotOpen;
    }
    if (error) {
        FreeRecordBlocks(g_record);
        memset(&g_record, 0, sizeof g_record);
        g_record.error = error;
    }
    return &g_record;
}

void __cdecl ExportImageFile(ImageRecord* caller, const char* path, int type) {
    if (!caller) return;
    int error = 0;
    try {
        error = ExportToPath(*caller, path, type);
    } catch (const std::bad_alloc&) {
        error = kErrNoMemory;
    } catch (...) {
        error = kErrCannotCreate;
    }
    caller->error = error;
}
