// What the installer puts where: the suite's files, the shortcuts to them,
// and the fixed time stamp every copied file carries. Window-free.
#pragma once

#include <cstddef>
#include <cstdint>

extern const char* const kInstallFiles[];
extern const size_t kInstallFileCount;   // 11

// The help files are not shipped with every distribution: a setup folder
// without them installs the rest.
bool IsOptionalInstallFile(const char* name);

// 11 June 1998, 01:00:00, as an MS-DOS date and time (local time).
const uint16_t kInstallDosDate = 0x24CB;
const uint16_t kInstallDosTime = 0x0800;

// The shell folders the shortcuts go to (string values of the user's
// Explorer "Shell Folders" key), and the program group under Programs.
enum ShellFolder { kDesktop, kStartMenu, kStartUp, kProgramGroup };
extern const char kProgramGroupName[];   // "Kaptura99"

struct ShortcutEntry {
    const char* linkName;      // "Kaptura99.lnk"
    ShellFolder folder;
    const char* target;        // a file of the install folder
    const char* description;
};
extern const ShortcutEntry kShortcuts[];
extern const size_t kShortcutCount;   // 9

// The files uninstall removes besides the listed ones: the help system's
// index files and the settings, in the install folder and in the Windows
// folder.
extern const char* const kInstallFolderExtras[];
extern const size_t kInstallFolderExtraCount;
extern const char* const kWindowsFolderSettings[];
extern const size_t kWindowsFolderSettingCount;

// Links removed by uninstall, per folder (older installs also put the
// browser's and converter's links on the desktop).
extern const char* const kDesktopLinksToRemove[];
extern const size_t kDesktopLinksToRemoveCount;
extern const char* const kGroupLinksToRemove[];
extern const size_t kGroupLinksToRemoveCount;

// The longest listed file name: an install folder is usable only when
// folder + "\" + this name stays a valid path.
size_t LongestInstallFileName();
// The longest install folder name that leaves room for every file's path.
size_t LongestInstallFolder(size_t maxPath);
bool InstallFolderFits(size_t folderLength, size_t maxPath);

// "12.34MB" of a byte count.
void FormatMegabytes(uint32_t bytes, char* out, size_t outSize);
