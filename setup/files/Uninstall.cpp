#include "InstallFiles.h"

#include "InstallList.h"
#include "Shortcuts.h"

namespace {

bool Exists(const CString& path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Deletes folder + "\" + name; a file that is there afterwards is added to
// `left`.
void RemoveInstalledFile(const CString& folder, const char* name, std::vector<CString>* left)
{
    CString path = folder + "\\" + name;
    if (!::DeleteFileA(path) && Exists(path))
        left->push_back(path);
}

}  // namespace

void DeleteFileInFolder(const CString& folder, const char* name)
{
    if (!folder.IsEmpty())
        ::DeleteFileA(folder + "\\" + name);
}

std::vector<CString> UninstallFiles(const CString& installFolder)
{
    std::vector<CString> left;
    if (installFolder.IsEmpty())
        return left;
    for (size_t i = 0; i < kInstallFileCount; ++i)
        RemoveInstalledFile(installFolder, kInstallFiles[i], &left);
    for (size_t i = 0; i < kInstallFolderExtraCount; ++i)
        RemoveInstalledFile(installFolder, kInstallFolderExtras[i], &left);
    if (!left.empty())
        return left;   // the record and the shortcuts stay for the next try
    ::RemoveDirectoryA(installFolder);   // only when the user left nothing of his own
    char windows[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (length && length < MAX_PATH) {
        for (size_t i = 0; i < kWindowsFolderSettingCount; ++i)
            DeleteFileInFolder(windows, kWindowsFolderSettings[i]);
    }
    RemoveProgramShortcuts();
    return left;
}
