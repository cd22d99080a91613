// Files written so that a failure never costs the file they replace: the
// bytes go to a new temporary file first, which takes the target's place
// only once it is complete. Header-only and window-free: the format library
// and the programs write alike.
#pragma once

#include <cstring>
#include <string>

#include "KernelApi.h"

// The folder part of a path as the temporary-name call takes it: up to and
// with the last separator, "." for a bare name.
inline std::string FolderOfPath(const char* path)
{
    const char* end = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            end = p + 1;
    std::string folder(path, end);
    if (folder.empty())
        return ".";
    if (folder.back() == ':')
        folder += '.';  // "C:name": the drive's current folder
    return folder;
}

// A new, empty file of a name nobody uses yet, for the bytes to go to before
// they replace the target: in the target's folder, or in the temporary
// folder when the folder's path leaves no room for a temporary name. ""
// when none can be made.
inline std::string MakeTemporaryFileBeside(const char* path)
{
    char name[MAX_PATH];
    std::string beside = FolderOfPath(path);
    if (beside.size() <= MAX_PATH - 14 && GetTempFileNameA(beside.c_str(), "~pv", 0, name))
        return name;
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder || !GetTempFileNameA(folder, "~pv", 0, name))
        return "";
    return name;
}

// The temporary file takes the target's place; false (and the temporary
// file gone) when it cannot, for one when another program holds the target.
inline bool ReplaceWithTemporaryFile(const std::string& temporary, const char* path)
{
    if (MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

// Writes length bytes as the whole of the file at path. On any failure (no
// room, no access, the file held open by another program) the old file
// stays as it was and the result is false.
inline bool WriteFileReplacing(const char* path, const void* bytes, size_t length)
{
    if (!path || !*path || strlen(path) >= MAX_PATH)
        return false;
    std::string temporary = MakeTemporaryFileBeside(path);
    if (temporary.empty())
        return false;
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    DWORD done = 0;
    bool written = length == 0 || (WriteFile(file, bytes, static_cast<DWORD>(length), &done, nullptr) && done == length);
    CloseHandle(file);
    if (!written) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return ReplaceWithTemporaryFile(temporary, path);
}
