// The shortcuts the Setup values ask for: "Kaptura99.lnk" in the StartUp
// folder (written at every call while wanted) and the desktop links of the
// three programs (written only when missing).
#define INITGUID
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>

#include "CaptureApp.h"
#include "Settings.h"

namespace {

// The user's shell folder value ("Desktop", "StartUp") from the registry.
bool ReadShellFolder(const char* value, char* path, DWORD size)
{
    static const char* const kKeys[] = {"Software", "Microsoft", "Windows", "CurrentVersion", "Explorer",
                                        "Shell Folders"};
    HKEY key = HKEY_CURRENT_USER;
    for (const char* name : kKeys) {
        HKEY next;
        LONG opened = RegOpenKeyExA(key, name, 0, KEY_READ, &next);
        if (key != HKEY_CURRENT_USER)
            RegCloseKey(key);
        if (opened != ERROR_SUCCESS)
            return false;
        key = next;
    }
    DWORD type = 0;
    path[0] = '\0';
    LONG read = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS && path[0];
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool SaveLink(IPersistFile* file, const char* path)
{
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return false;
    return file->Save(wide, TRUE) != E_FAIL;
}

// One desktop link: removed when not wanted, left alone when present.
bool UpdateDesktopLink(IShellLinkA* link, IPersistFile* file, const char* desktop, const char* name, bool wanted)
{
    char path[MAX_PATH + 32];
    snprintf(path, sizeof path, "%s\\%s.lnk", desktop, name);
    if (!wanted) {
        DeleteFileA(path);
        return true;
    }
    if (FileExists(path))
        return true;
    char target[MAX_PATH + 32];
    snprintf(target, sizeof target, "%s\\%s.exe", ProgramFolder, name);
    link->SetPath(target);
    link->SetDescription(name);
    return SaveLink(file, path);
}

int UpdateLinks(IShellLinkA* link, IPersistFile* file, int startUp, int desktopKaptura, int desktopBrowser,
                int desktopConverter)
{
    char desktop[MAX_PATH] = "", startUpFolder[MAX_PATH] = "";
    ReadShellFolder("Desktop", desktop, sizeof desktop);
    ReadShellFolder("StartUp", startUpFolder, sizeof startUpFolder);
    // No folder, no link: writing "\Kaptura99.lnk" at the drive's root
    // would be the wrong place. A link wanted where there is no folder is a
    // failure; one not wanted there is absent already.
    int result = 1;
    if (startUpFolder[0]) {
        char path[MAX_PATH + 32];
        snprintf(path, sizeof path, "%s\\Kaptura99.lnk", startUpFolder);
        if (startUp) {
            if (!SaveLink(file, path))
                result = 0;
        } else {
            DeleteFileA(path);
        }
    } else if (startUp) {
        result = 0;
    }
    if (!desktop[0])
        return desktopKaptura || desktopBrowser || desktopConverter ? 0 : result;
    if (!UpdateDesktopLink(link, file, desktop, "Kaptura99", desktopKaptura != 0) ||
        !UpdateDesktopLink(link, file, desktop, "Pixorama99", desktopBrowser != 0) ||
        !UpdateDesktopLink(link, file, desktop, "Morfix99", desktopConverter != 0))
        return 0;
    return result;
}

}  // namespace

int UpdateShortcuts(int startUp, int desktopKaptura, int desktopBrowser, int desktopConverter)
{
    HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    int result = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                   IID_IShellLinkA, reinterpret_cast<void**>(&link)))) {
        char program[MAX_PATH];
        GetModuleFileNameA(nullptr, program, sizeof program);
        link->SetPath(program);
        link->SetWorkingDirectory(ProgramFolder);
        link->SetDescription("Kaptura99");
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
            result = UpdateLinks(link, file, startUp, desktopKaptura, desktopBrowser, desktopConverter);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return result;
}
