#include "SettingsFileCopy.h"

#include <cstdio>
#include <cstring>

#include "../../../framework/kernel/KernelApi.h"

namespace {

// The source's bytes in a movable block (size may be 0); false on failure.
SettingsCopyResult ReadWhole(const char* from, HGLOBAL* block, DWORD* size)
{
    HANDLE file = CreateFileA(from, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kSettingsCopyReadFailed;
    *size = GetFileSize(file, nullptr);
    if (*size == INVALID_FILE_SIZE) {
        CloseHandle(file);
        return kSettingsCopyReadFailed;
    }
    *block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, *size ? *size : 1);
    if (!*block) {
        CloseHandle(file);
        return kSettingsCopyNoMemory;
    }
    void* bytes = GlobalLock(*block);
    DWORD done = 0;
    BOOL read = *size == 0 || (ReadFile(file, bytes, *size, &done, nullptr) && done == *size);
    GlobalUnlock(*block);
    CloseHandle(file);
    if (!read) {
        GlobalFree(*block);
        *block = 0;
        return kSettingsCopyReadFailed;
    }
    return kSettingsCopied;
}

bool WriteWhole(const char* path, HGLOBAL block, DWORD size)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    void* bytes = GlobalLock(block);
    DWORD done = 0;
    BOOL written = size == 0 || (WriteFile(file, bytes, size, &done, nullptr) && done == size);
    GlobalUnlock(block);
    CloseHandle(file);
    return written != FALSE;
}

}  // namespace

SettingsCopyResult CopySettingsFileBytes(const char* from, const char* to)
{
    HGLOBAL block = 0;
    DWORD size = 0;
    SettingsCopyResult result = ReadWhole(from, &block, &size);
    if (result != kSettingsCopied)
        return result;
    char temporary[600];
    snprintf(temporary, sizeof temporary, "%s.tmp", to);
    bool written = WriteWhole(temporary, block, size);
    GlobalFree(block);
    if (!written || !MoveFileExA(temporary, to, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary);
        return kSettingsCopyWriteFailed;
    }
    return kSettingsCopied;
}

void AddIniExtension(char* path, size_t size)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    if (strchr(name, '.'))
        return;
    size_t length = strlen(path);
    if (length + 4 < size)
        memcpy(path + length, ".ini", 5);
}
