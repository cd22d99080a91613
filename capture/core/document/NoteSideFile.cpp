#include "NoteSideFile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "../../../formats/DibHelpers.h"
#include "../../../framework/kernel/ReplacingFile.h"
#include "DocumentFileNames.h"

#ifndef FILE_SHARE_READ
#define FILE_SHARE_READ 1
#endif

namespace {

// A side file longer than this is not a note: it is left unread.
const DWORD kMaxNoteFileBytes = 64u << 20;

HANDLE OpenForReading(const char* path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

void ClearNote(DisplayImage& image)
{
    if (image.hNote)
        GlobalFree(image.hNote);
    image.hNote = 0;
    image.noteLength = 0;
}

bool SetNoteText(DisplayImage& image, const char* text, size_t length)
{
    ClearNote(image);
    if (length == 0)
        return true;
    HGLOBAL block = GlobalAlloc(GHND, length + 1);
    if (!block)
        return false;
    {
        BlockLock lock(block);
        std::memcpy(lock.data(), text, length);
    }
    image.hNote = block;
    image.noteLength = static_cast<int32_t>(length + 1);
    return true;
}

void AdoptNoteBlock(DisplayImage& image, HGLOBAL note)
{
    ClearNote(image);
    if (!note)
        return;
    size_t size = GlobalSize(note);
    size_t length = 0;
    {
        BlockLock lock(note);
        const uint8_t* text = lock.data();
        if (text)
            length = strnlen(reinterpret_cast<const char*>(text), size);
    }
    if (length == size) {
        HGLOBAL grown = GlobalReAlloc(note, size + 1, GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (!grown) {
            GlobalFree(note);
            return;
        }
        note = grown;
    }
    if (length == 0) {
        GlobalFree(note);
        return;
    }
    image.hNote = note;
    image.noteLength = static_cast<int32_t>(length + 1);
}

bool ReadNoteTextFile(DisplayImage& image, const char* path)
{
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD length = GetFileSize(file, &high);
    bool read = false;
    if (high == 0 && length != INVALID_FILE_SIZE && length <= kMaxNoteFileBytes) {
        HGLOBAL block = GlobalAlloc(GHND, size_t(length) + 1);
        if (block) {
            DWORD done = 0;
            {
                BlockLock lock(block);
                read = length == 0 || (ReadFile(file, lock.data(), length, &done, nullptr) && done == length);
            }
            if (read)
                AdoptNoteBlock(image, block);
            else
                GlobalFree(block);
        }
    }
    CloseHandle(file);
    return read;
}

bool ReadNoteSideFile(DisplayImage& image, const char* path)
{
    if (NoteLivesInImageFile(path))
        return image.hNote != 0;
    ReadNoteTextFile(image, NoteSideFilePath(path).c_str());
    return image.hNote != 0;
}

bool WriteNoteSideFile(const DisplayImage& image, const char* imagePath)
{
    if (image.noteLength <= 0 || !image.hNote)
        return true;
    size_t length = std::min<size_t>(size_t(image.noteLength), GlobalSize(image.hNote));
    BlockLock lock(image.hNote);
    return WriteFileReplacing(NoteSideFilePath(imagePath).c_str(), lock.data(), length);
}
