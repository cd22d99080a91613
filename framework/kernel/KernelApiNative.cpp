// Native stand-ins for the kernel calls of KernelApi.h (Linux builds only).
#ifndef _WIN32
#include "KernelApi.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <strings.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Block {
    void* data;
    size_t size;
};

// Handle n names blocks[n - 1]; 0 is never a valid handle.
std::vector<Block>& Blocks() {
    static std::vector<Block> blocks;
    return blocks;
}
std::vector<HGLOBAL>& FreeHandles() {
    static std::vector<HGLOBAL> handles;
    return handles;
}

size_t g_liveBytes = 0;
size_t g_peakBytes = 0;

void CountBytes(size_t freed, size_t added) {
    g_liveBytes = g_liveBytes - freed + added;
    if (g_liveBytes > g_peakBytes) g_peakBytes = g_liveBytes;
}

Block* Find(HGLOBAL handle) {
    auto& blocks = Blocks();
    if (handle == 0 || handle > blocks.size() || !blocks[handle - 1].data) return nullptr;
    return &blocks[handle - 1];
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
    // Like Windows, a zero-byte request still yields a usable block.
    void* data = (flags & GMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
    if (!data) return 0;
    CountBytes(0, bytes);
    auto& blocks = Blocks();
    auto& freeHandles = FreeHandles();
    if (!freeHandles.empty()) {
        HGLOBAL handle = freeHandles.back();
        freeHandles.pop_back();
        blocks[handle - 1] = {data, bytes};
        return handle;
    }
    blocks.push_back({data, bytes});
    return static_cast<HGLOBAL>(blocks.size());
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, size_t bytes, UINT flags) {
    Block* block = Find(handle);
    if (!block) return 0;
    void* data = realloc(block->data, bytes ? bytes : 1);
    if (!data) return 0;
    CountBytes(block->size, bytes);
    if ((flags & GMEM_ZEROINIT) && bytes > block->size)
        memset(static_cast<char*>(data) + block->size, 0, bytes - block->size);
    block->data = data;
    block->size = bytes;
    return handle;
}

void* GlobalLock(HGLOBAL handle) {
    Block* block = Find(handle);
    return block ? block->data : nullptr;
}

BOOL GlobalUnlock(HGLOBAL) { return FALSE; }

HGLOBAL GlobalFree(HGLOBAL handle) {
    Block* block = Find(handle);
    if (!block) return handle;
    free(block->data);
    CountBytes(block->size, 0);
    *block = {nullptr, 0};
    FreeHandles().push_back(handle);
    return 0;
}

size_t GlobalSize(HGLOBAL handle) {
    Block* block = Find(handle);
    return block ? block->size : 0;
}

size_t KernelPeakBlockBytes() { return g_peakBytes; }
void KernelResetPeakBlockBytes() { g_peakBytes = g_liveBytes; }

size_t KernelLiveBlockCount() {
    size_t live = 0;
    for (const Block& block : Blocks()) live += block.data != nullptr;
    return live;
}

// ---- files -------------------------------------------------------------

namespace {

// Windows refuses paths of MAX_PATH characters and more in the file calls.
bool BadPath(LPCSTR path) { return !path || !*path || strlen(path) >= MAX_PATH; }

bool CopyFileBytes(LPCSTR from, LPCSTR to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    return in && static_cast<bool>(out);
}

}  // namespace

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
    if (BadPath(path)) return INVALID_HANDLE_VALUE;
    struct stat info;
    bool exists = stat(path, &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) return INVALID_HANDLE_VALUE;
    const char* mode = nullptr;
    switch (disposition) {
    case OPEN_EXISTING: if (!exists) return INVALID_HANDLE_VALUE; mode = (access & GENERIC_WRITE) ? "r+b" : "rb"; break;
    case CREATE_NEW: if (exists) return INVALID_HANDLE_VALUE; mode = "w+b"; break;
    case CREATE_ALWAYS: mode = "w+b"; break;
    case OPEN_ALWAYS: mode = exists ? "r+b" : "w+b"; break;
    default: return INVALID_HANDLE_VALUE;
    }
    FILE* file = fopen(path, mode);
    return file ? static_cast<HANDLE>(file) : INVALID_HANDLE_VALUE;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* done, void*) {
    size_t got = fread(buffer, 1, bytes, static_cast<FILE*>(file));
    if (done) *done = static_cast<DWORD>(got);
    return !ferror(static_cast<FILE*>(file));
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytes, DWORD* done, void*) {
    size_t put = fwrite(buffer, 1, bytes, static_cast<FILE*>(file));
    if (done) *done = static_cast<DWORD>(put);
    return put == bytes;
}

DWORD GetFileSize(HANDLE file, DWORD* high) {
    struct stat info;
    if (fstat(fileno(static_cast<FILE*>(file)), &info) != 0) return INVALID_FILE_SIZE;
    if (high) *high = static_cast<DWORD>(static_cast<uint64_t>(info.st_size) >> 32);
    return static_cast<DWORD>(info.st_size);
}

BOOL SetEndOfFile(HANDLE file) {
    FILE* stream = static_cast<FILE*>(file);
    fflush(stream);
    return ftruncate(fileno(stream), ftell(stream)) == 0;
}

BOOL CloseHandle(HANDLE file) { return fclose(static_cast<FILE*>(file)) == 0; }

BOOL DeleteFileA(LPCSTR path) { return !BadPath(path) && unlink(path) == 0; }

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    if (BadPath(from) || BadPath(to)) return FALSE;
    struct stat info;
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && stat(to, &info) == 0) return FALSE;
    if (rename(from, to) == 0) return TRUE;
    // Across file systems only a copy can move the file.
    if (errno != EXDEV || !(flags & MOVEFILE_COPY_ALLOWED) || !CopyFileBytes(from, to)) return FALSE;
    return unlink(from) == 0;
}

DWORD GetFileAttributesA(LPCSTR path) {
    struct stat info;
    if (BadPath(path) || stat(path, &info) != 0) return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(info.st_mode)) return 0x10;
    // A file nobody may write to is read-only, whoever asks.
    return (info.st_mode & 0222) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR out) {
    if (!folder || !out || strlen(folder) > MAX_PATH - 14) return 0;
    std::string base = folder;
    if (!base.empty() && base.back() != '/' && base.back() != '\\') base += '/';
    base += std::string(prefix ? prefix : "").substr(0, 3);
    auto nameOf = [&](UINT number) {
        char hex[8];
        snprintf(hex, sizeof hex, "%X", number & 0xFFFF);
        return base + hex + ".tmp";
    };
    if (unique != 0) {
        snprintf(out, MAX_PATH, "%s", nameOf(unique).c_str());
        return unique & 0xFFFF;
    }
    // Numbers from the clock onwards until one names no file yet; the file
    // is created at once so that no other caller can take the name.
    UINT start = (GetTickCount() ^ static_cast<UINT>(getpid())) & 0xFFFF;
    for (UINT step = 0; step < 0x10000; ++step) {
        UINT number = (start + step) & 0xFFFF;
        if (number == 0) continue;
        std::string name = nameOf(number);
        int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (file >= 0) {
            close(file);
            snprintf(out, MAX_PATH, "%s", name.c_str());
            return number;
        }
        if (errno != EEXIST) return 0;
    }
    return 0;
}

DWORD GetTempPathA(DWORD size, LPSTR out) {
    const char* folder = getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') path += '/';
    if (!out || size <= path.size()) return static_cast<DWORD>(path.size() + 1);
    memcpy(out, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

DWORD GetTickCount() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// ---- private profile files -------------------------------------------
// A small ini reader and writer with the Windows rules: sections and keys
// compared without regard to case, values cut to the buffer, a null value
// removes the key.

namespace {

std::vector<std::string> ReadLines(LPCSTR file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsSection(const std::string& line, LPCSTR section) {
    std::string trimmed = Trim(line);
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']' &&
           strcasecmp(trimmed.substr(1, trimmed.size() - 2).c_str(), section) == 0;
}

bool IsAnySection(const std::string& line) {
    std::string trimmed = Trim(line);
    return !trimmed.empty() && trimmed.front() == '[';
}

bool SplitKey(const std::string& line, std::string& key, std::string& value) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return true;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out,
                               DWORD size, LPCSTR file) {
    if (!out || size == 0) return 0;
    std::string result = fallback ? fallback : "";
    bool inSection = false;
    for (const std::string& line : ReadLines(file)) {
        if (IsAnySection(line)) { inSection = IsSection(line, section); continue; }
        std::string name, value;
        if (inSection && SplitKey(line, name, value) && strcasecmp(name.c_str(), key) == 0) {
            result = value;
            break;
        }
    }
    size_t length = result.size() < size - 1 ? result.size() : size - 1;
    memcpy(out, result.data(), length);
    out[length] = 0;
    return static_cast<DWORD>(length);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int fallback, LPCSTR file) {
    char buffer[64];
    if (GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, file) == 0)
        return static_cast<UINT>(fallback);
    return static_cast<UINT>(strtol(buffer, nullptr, 10));
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    std::vector<std::string> lines = ReadLines(file);
    std::vector<std::string> result;
    bool inSection = false, sectionSeen = false, written = false;
    for (const std::string& line : lines) {
        if (IsAnySection(line)) {
            if (inSection && !written && value) { result.push_back(std::string(key) + "=" + value); written = true; }
            inSection = IsSection(line, section);
            sectionSeen |= inSection;
        } else if (inSection) {
            std::string name, old;
            if (SplitKey(line, name, old) && strcasecmp(name.c_str(), key) == 0) {
                if (value && !written) result.push_back(std::string(key) + "=" + value);
                written = true;
                continue;
            }
        }
        result.push_back(line);
    }
    if (!written && value) {
        if (!sectionSeen) result.push_back(std::string("[") + section + "]");
        result.push_back(std::string(key) + "=" + value);
    }
    std::ofstream out(file, std::ios::trunc);
    if (!out) return FALSE;
    for (const std::string& line : result) out << line << "\r\n";
    return static_cast<bool>(out);
}
#endif
