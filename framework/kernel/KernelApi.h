// The few kernel calls that window-free code (codecs, pixel loops, settings
// parsing) uses. On Windows they are the real ones; in the native Linux build
// (tests under sanitizers, fuzzing, benchmarks) this header supplies small
// stand-ins with the same names and the same behaviour.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef uint32_t COLORREF;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef void* HANDLE;

#ifndef __cdecl
#define __cdecl
#endif

// Global memory handles are 32-bit numbers here, as on 32-bit Windows, so the
// records that carry them keep their packed layout.
typedef uint32_t HGLOBAL;
typedef uint32_t HPALETTE;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, size_t bytes, UINT flags);
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);
size_t GlobalSize(HGLOBAL block);

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define FILE_ATTRIBUTE_READONLY 0x01
#define FILE_ATTRIBUTE_NORMAL 0x80
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define MOVEFILE_REPLACE_EXISTING 0x1
#define MOVEFILE_COPY_ALLOWED 0x2
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#ifndef MAX_PATH
#define MAX_PATH 260  // as on Windows, file calls refuse paths of this length and more
#endif

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, void* security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* done, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytes, DWORD* done, void* overlapped);
DWORD GetFileSize(HANDLE file, DWORD* high);
BOOL SetEndOfFile(HANDLE file);
BOOL CloseHandle(HANDLE file);
BOOL DeleteFileA(LPCSTR path);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
DWORD GetFileAttributesA(LPCSTR path);
// Unique file "<folder>/<prefix up to 3 characters><hex>.tmp", created empty
// when `unique` is 0; returns the number used, 0 on failure (a folder longer
// than MAX_PATH - 14 characters among them).
UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR out);
// The folder for temporary files, with a trailing separator.
DWORD GetTempPathA(DWORD size, LPSTR out);

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback,
                               LPSTR out, DWORD size, LPCSTR file);
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int fallback, LPCSTR file);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

DWORD GetTickCount();

// Test and benchmark support: global blocks allocated right now, and the
// most bytes held in global blocks at once since the last reset.
size_t KernelLiveBlockCount();
size_t KernelPeakBlockBytes();
void KernelResetPeakBlockBytes();
#endif
