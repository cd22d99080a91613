#include "InstallFiles.h"

#include <commctrl.h>

#include "InstallList.h"
#include "resource.h"

const char kSetupMessageCaption[] = "Kaptura 99 Setup";

namespace {

enum class ReadResult { Read, Absent, Failed };

// One source file read whole into a movable block (the caller frees it).
ReadResult ReadWholeFile(const CString& path, HGLOBAL* block, DWORD* size)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Absent
                                                                              : ReadResult::Failed;
    }
    DWORD high = 0;
    *size = ::GetFileSize(file, &high);
    *block = nullptr;
    bool ok = *size != INVALID_FILE_SIZE && high == 0;
    if (ok)
        *block = ::GlobalAlloc(GHND, *size ? *size : 1);
    ok = ok && *block;
    if (ok) {
        DWORD done = 0;
        void* bytes = ::GlobalLock(*block);
        ok = bytes && ::ReadFile(file, bytes, *size, &done, nullptr) && done == *size;
        ::GlobalUnlock(*block);
    }
    ::CloseHandle(file);
    if (!ok && *block) {
        ::GlobalFree(*block);
        *block = nullptr;
    }
    return ok ? ReadResult::Read : ReadResult::Failed;
}

enum class WriteResult { Written, NotCreated, NotWritten };

// Writes the block as the new target with the install time stamp; a target
// written only in part is deleted.
WriteResult WriteStampedFile(const CString& path, HGLOBAL block, DWORD size, const FILETIME& stamp)
{
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return WriteResult::NotCreated;
    DWORD done = 0;
    const void* bytes = ::GlobalLock(block);
    bool written = bytes && ::WriteFile(file, bytes, size, &done, nullptr) && done == size;
    ::GlobalUnlock(block);
    if (written)
        written = ::SetFileTime(file, &stamp, &stamp, &stamp) != FALSE;
    written = ::CloseHandle(file) && written;
    if (!written) {
        ::DeleteFileA(path);
        return WriteResult::NotWritten;
    }
    return WriteResult::Written;
}

void Complain(HWND page, const CString& text) { ::MessageBoxA(page, text, kSetupMessageCaption, MB_OK); }

}  // namespace

FILETIME InstallFileTime()
{
    FILETIME local{}, universal{};
    ::DosDateTimeToFileTime(kInstallDosDate, kInstallDosTime, &local);
    ::LocalFileTimeToFileTime(&local, &universal);
    return universal;
}

bool CopyInstallFiles(const CString& setupFolder, const CString& installFolder, HWND page)
{
    const FILETIME stamp = InstallFileTime();
    HWND progress = ::GetDlgItem(page, IDC_COPY_PROGRESS);
    ::SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, kInstallFileCount));
    ::SendMessageA(progress, PBM_SETPOS, 0, 0);
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        const char* name = kInstallFiles[i];
        CString source = setupFolder + "\\" + name;
        CString target = installFolder + "\\" + name;
        ::SetDlgItemTextA(page, IDC_CURRENT_FILE, source);
        HGLOBAL block = nullptr;
        DWORD size = 0;
        ReadResult read = ReadWholeFile(source, &block, &size);
        if (read == ReadResult::Absent && IsOptionalInstallFile(name)) {
            ::SendMessageA(progress, PBM_SETPOS, i + 1, 0);
            continue;
        }
        if (read != ReadResult::Read) {
            Complain(page, "Cannot read file " + source + ".");
            return false;
        }
        WriteResult written = WriteStampedFile(target, block, size, stamp);
        ::GlobalFree(block);
        if (written == WriteResult::NotCreated) {
            Complain(page, "Cannot create file " + target + ". The file is being used.");
            return false;
        }
        if (written == WriteResult::NotWritten) {
            Complain(page, "Cannot create file " + target + ". Check your disk space.");
            return false;
        }
        ::SendMessageA(progress, PBM_SETPOS, i + 1, 0);
    }
    return true;
}

DWORD SumInstallSize(const CString& setupFolder)
{
    DWORD total = 0;
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA(setupFolder + "\\" + kInstallFiles[i], &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += found.nFileSizeLow;
        ::FindClose(search);
    }
    return total;
}
