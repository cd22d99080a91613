#include "InstallFiles.h"

#include "InstallList.h"
#include "Shortcuts.h"

void DeleteFileInFolder(const CString& folder, const char* name)
{
    if (!folder.IsEmpty())
        ::DeleteFileA(folder + "\\" + name);
}

void UninstallFiles(const CString& installFolder)
{
    for (size_t i = 0; i < kInstallFileCount; ++i)
        DeleteFileInFolder(installFolder, kInstallFiles[i]);
    for (size_t i = 0; i < kInstallFolderExtraCount; ++i)
        DeleteFileInFolder(installFolder, kInstallFolderExtras[i]);
    if (!installFolder.IsEmpty())
        ::RemoveDirectoryA(installFolder);   // only when the user left nothing of his own
    char windows[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (length && length < MAX_PATH) {
        for (size_t i = 0; i < kWindowsFolderSettingCount; ++i)
            DeleteFileInFolder(windows, kWindowsFolderSettings[i]);
    }
    RemoveProgramShortcuts();
}
