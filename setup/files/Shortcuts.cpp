#include "Shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include "InstallFiles.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

CString ReadShellFolderValue(const char* valueName)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return CString();
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    LONG read = ::RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(key);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return CString();
    value[sizeof value - 1] = 0;
    return CString(value);
}

// The component library for the life of the object.
class ComScope {
public:
    ComScope() : started_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComScope()
    {
        if (started_)
            ::CoUninitialize();
    }

private:
    bool started_;
};

// Saves the link as folder + "\" + name. Only E_FAIL counts as a failure:
// a folder the registry lacks (or a path too long for the shell) is skipped.
bool SaveLink(IPersistFile* file, const CString& folder, const char* name)
{
    if (folder.IsEmpty())
        return true;
    CString path = folder + "\\" + name;
    WCHAR wide[MAX_PATH] = {};
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return true;
    return file->Save(wide, TRUE) != E_FAIL;
}

bool EnsureFolder(const CString& folder)
{
    DWORD attributes = ::GetFileAttributesA(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    return ::CreateDirectoryA(folder, nullptr) != FALSE;
}

bool MakeLinks(IShellLinkA* link, IPersistFile* file, const CString& installFolder, HWND owner)
{
    CString group = ShellFolderPath(kProgramGroup);
    bool groupMade = false;
    for (size_t i = 0; i < kShortcutCount; ++i) {
        const ShortcutEntry& entry = kShortcuts[i];
        CString folder = ShellFolderPath(entry.folder);
        if (entry.folder == kProgramGroup && !groupMade) {
            if (group.IsEmpty() || !EnsureFolder(group)) {
                ::MessageBoxA(owner, "failed to create a new folder", kSetupMessageCaption, MB_OK);
                return false;
            }
            groupMade = true;
        }
        link->SetPath(installFolder + "\\" + entry.target);
        link->SetWorkingDirectory(installFolder);
        link->SetDescription(entry.description);
        if (!SaveLink(file, folder, entry.linkName))
            return false;
    }
    return true;
}

}  // namespace

CString ShellFolderPath(ShellFolder folder)
{
    switch (folder) {
    case kDesktop: return ReadShellFolderValue("Desktop");
    case kStartMenu: return ReadShellFolderValue("Start Menu");
    case kStartUp: return ReadShellFolderValue("StartUp");
    case kProgramGroup: {
        CString programs = ReadShellFolderValue("Programs");
        return programs.IsEmpty() ? programs : programs + "\\" + kProgramGroupName;
    }
    }
    return CString();
}

bool CreateProgramShortcuts(const CString& installFolder, HWND owner)
{
    ComScope com;
    IShellLinkA* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IShellLinkA, reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool made = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (made) {
        made = MakeLinks(link, file, installFolder, owner);
        file->Release();
    }
    link->Release();
    return made;
}

void RemoveProgramShortcuts()
{
    CString desktop = ShellFolderPath(kDesktop);
    for (size_t i = 0; i < kDesktopLinksToRemoveCount; ++i)
        DeleteFileInFolder(desktop, kDesktopLinksToRemove[i]);
    DeleteFileInFolder(ShellFolderPath(kStartUp), "Kaptura99.lnk");
    DeleteFileInFolder(ShellFolderPath(kStartMenu), "Kaptura99.lnk");
    CString group = ShellFolderPath(kProgramGroup);
    for (size_t i = 0; i < kGroupLinksToRemoveCount; ++i)
        DeleteFileInFolder(group, kGroupLinksToRemove[i]);
    if (!group.IsEmpty())
        ::RemoveDirectoryA(group);
}
