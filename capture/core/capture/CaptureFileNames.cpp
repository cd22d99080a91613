#include "CaptureFileNames.h"

#include <cstdio>
#include <cstring>

const char* FileNamePart(const char* path)
{
    const char* name = path;
    for (const char* at = path; *at; ++at)
        if (*at == '\\' || *at == '/')
            name = at + 1;
    return name;
}

char* FileNamePart(char* path)
{
    return path + (FileNamePart(static_cast<const char*>(path)) - path);
}

void IncrementFileNameNumber(char* path)
{
    char* name = FileNamePart(path);
    char* dot = strrchr(name, '.');
    if (!dot || dot == name)
        return;
    for (char* digit = dot - 1; digit >= name && *digit >= '0' && *digit <= '9'; --digit) {
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
}

bool MakeTimeStampFileName(char* path, size_t size, const struct tm& local)
{
    char* name = FileNamePart(path);
    const char* dot = strrchr(name, '.');
    const char* extension = dot ? dot : "";
    const size_t folderLength = static_cast<size_t>(name - path);
    char stamped[64];
    int length = snprintf(stamped, sizeof stamped, "%02d%02d%02d%02d", local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec);
    if (length < 0 || static_cast<size_t>(length) >= sizeof stamped)
        return false;
    const size_t extensionLength = strlen(extension);
    if (folderLength + static_cast<size_t>(length) + extensionLength + 1 > size)
        return false;
    // The extension may overlap where the stamp goes: move it first.
    memmove(name + length, extension, extensionLength + 1);
    memcpy(name, stamped, static_cast<size_t>(length));
    return true;
}
