#include "InstallList.h"

#include <cstdio>
#include <cstring>

const char* const kInstallFiles[] = {
    "Kaptura99.exe", "Kapthook.dll", "Pictova.dll",   "Pagent.dll",     "Kaptura99.hlp", "Kaptura99.cnt",
    "Logo.png",      "Readme.txt",   "Uninstall.txt", "Pixorama99.exe", "Morfix99.exe",
};
const size_t kInstallFileCount = sizeof kInstallFiles / sizeof kInstallFiles[0];

bool IsOptionalInstallFile(const char* name)
{
    return strcmp(name, "Kaptura99.hlp") == 0 || strcmp(name, "Kaptura99.cnt") == 0;
}

const char kProgramGroupName[] = "Kaptura99";

const ShortcutEntry kShortcuts[] = {
    {"Kaptura99.lnk", kDesktop, "Kaptura99.exe", "Kaptura 99"},
    {"Kaptura99.lnk", kStartMenu, "Kaptura99.exe", "Kaptura 99"},
    {"Kaptura99.lnk", kStartUp, "Kaptura99.exe", "Kaptura 99"},
    {"Kaptura99.lnk", kProgramGroup, "Kaptura99.exe", "Kaptura 99"},
    {"Readme.lnk", kProgramGroup, "Readme.txt", "Readme.txt"},
    {"Uninstall.lnk", kProgramGroup, "Uninstall.txt", "Uninstall.txt"},
    {"Online User's Guide.lnk", kProgramGroup, "Kaptura99.hlp", "Kaptura99.hlp"},
    {"Pixorama99.lnk", kProgramGroup, "Pixorama99.exe", "Pixorama99"},
    {"Morfix99.lnk", kProgramGroup, "Morfix99.exe", "Morfix99"},
};
const size_t kShortcutCount = sizeof kShortcuts / sizeof kShortcuts[0];

const char* const kInstallFolderExtras[] = {
    "Kaptura99.fts", "Kaptura99.gid", "Kaptur~1.fts", "Kaptur~1.gid", "Kaptura99.ini",
};
const size_t kInstallFolderExtraCount = sizeof kInstallFolderExtras / sizeof kInstallFolderExtras[0];

const char* const kWindowsFolderSettings[] = {"Kaptura99.ini", "KTPrint.ini", "Pixorama.ini", "Morfixvert.ini"};
const size_t kWindowsFolderSettingCount = sizeof kWindowsFolderSettings / sizeof kWindowsFolderSettings[0];

const char* const kDesktopLinksToRemove[] = {"Kaptura99.lnk", "Pixorama99.lnk", "Morfix99.lnk"};
const size_t kDesktopLinksToRemoveCount = sizeof kDesktopLinksToRemove / sizeof kDesktopLinksToRemove[0];

const char* const kGroupLinksToRemove[] = {
    "Kaptura99.lnk", "Readme.lnk", "Uninstall.lnk", "Online User's Guide.lnk", "Pixorama99.lnk", "Morfix99.lnk",
};
const size_t kGroupLinksToRemoveCount = sizeof kGroupLinksToRemove / sizeof kGroupLinksToRemove[0];

size_t LongestInstallFileName()
{
    size_t longest = 0;
    for (size_t i = 0; i < kInstallFileCount; ++i) {
        size_t length = strlen(kInstallFiles[i]);
        if (length > longest)
            longest = length;
    }
    return longest;
}

// A path must stay below maxPath characters (its terminator needs the last
// place).
size_t LongestInstallFolder(size_t maxPath)
{
    size_t taken = 1 + LongestInstallFileName() + 1;   // "\", the name, the terminator
    return maxPath > taken ? maxPath - taken : 0;
}

bool InstallFolderFits(size_t folderLength, size_t maxPath)
{
    return folderLength > 0 && folderLength <= LongestInstallFolder(maxPath);
}

void FormatMegabytes(uint32_t bytes, char* out, size_t outSize)
{
    snprintf(out, outSize, "%0.2fMB", bytes / 1048576.0);
}
