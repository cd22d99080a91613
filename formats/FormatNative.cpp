// Native stand-ins for what the library takes from the screen and from its
// string table. The icon path needs the screen: natively it reports the
// icon as unsupported.
#ifndef _WIN32
#include <cstring>

#include "FormatFrame.h"

void MeasureScreen() {}

void ImportIconFile(const char*, bool, ImageRecord& record) { record.error = kErrBmp; }

int __cdecl GetErrorMessage(int id, char* buffer) {
    struct Text { int id; const char* text; };
    static const Text kTexts[] = {
#define ERROR_TEXT(id, text) {id, text},
#include "ErrorTexts.inc"
#undef ERROR_TEXT
    };
    if (buffer) buffer[0] = 0;
    for (const Text& entry : kTexts) {
        if (entry.id != id || !buffer) continue;
        size_t length = strlen(entry.text);
        if (length > 259) length = 259;
        memcpy(buffer, entry.text, length);
        buffer[length] = 0;
        return static_cast<int>(length);
    }
    return 0;
}

void __cdecl DisplayFormatErrorMsg(int) {}
#endif
