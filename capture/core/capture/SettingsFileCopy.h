// Load Settings and Save Settings copy a whole settings file. The target is
// written through a temporary file and replaced only by a complete copy, so
// an unreadable source or a full disk never leaves it cut short.
#pragma once

#include <cstddef>

enum SettingsCopyResult {
    kSettingsCopied,
    kSettingsCopyNoMemory,     // no block for the file's bytes
    kSettingsCopyReadFailed,   // the source cannot be opened or read
    kSettingsCopyWriteFailed   // the target cannot be written
};

SettingsCopyResult CopySettingsFileBytes(const char* from, const char* to);

// A Save Settings name without an extension gets ".ini"; the extension is
// looked for in the file name only, not in the folders above it.
void AddIniExtension(char* path, size_t size);
