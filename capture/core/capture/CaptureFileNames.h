// The automatic file names of the capture's file destination: the numbered
// name ("KAPT0000.BMP", then KAPT0001.BMP, ...) and the day-and-time name.
// Both look at the file name only (after the last folder separator), so a
// dotted folder never takes the place of the extension.
#pragma once

#include <cstddef>
#include <ctime>

// The file-name part of path: after its last '\' or '/', the whole path
// when it has neither.
const char* FileNamePart(const char* path);
char* FileNamePart(char* path);

// Moves the number that ends the file name (just before its last '.') on by
// one: a 9 becomes 0 and the carry moves left through the digits before it,
// stopping at the first non-digit, so 0009 becomes 0010 and 9999 wraps to
// 0000 without growing. A name without an extension, or whose character
// before the extension is not a digit, is left as it is.
void IncrementFileNameNumber(char* path);

// Replaces the file name of path (a buffer of size bytes) with the day of
// the month, hour, minute and second of local as "DDHHMMSS", followed by the
// old file name's extension (from its last '.'; none when it has none).
// False, and path unchanged, when the result would not fit.
bool MakeTimeStampFileName(char* path, size_t size, const struct tm& local);
