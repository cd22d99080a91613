#include "InstalledCopy.h"

#include <windows.h>

namespace {

const char kSection[] = "Setup";

CString RecordPath()
{
    char windows[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    return length && length < MAX_PATH ? CString(windows) + "\\Kaptura99.ini" : CString();
}

CString ReadValue(const CString& path, const char* key)
{
    char value[MAX_PATH + 1] = {};
    ::GetPrivateProfileStringA(kSection, key, "", value, sizeof value, path);
    return CString(value);
}

}  // namespace

bool ReadInstalledCopy(InstalledCopy* copy)
{
    CString path = RecordPath();
    if (path.IsEmpty())
        return false;
    copy->userName = ReadValue(path, "UserName");
    copy->organisation = ReadValue(path, "Organization");
    copy->folder = ReadValue(path, "FolderPath");
    return !copy->folder.IsEmpty();
}

void WriteInstalledCopy(const InstalledCopy& copy)
{
    CString path = RecordPath();
    if (path.IsEmpty())
        return;
    ::WritePrivateProfileStringA(kSection, "UserName", copy.userName, path);
    ::WritePrivateProfileStringA(kSection, "Organization", copy.organisation, path);
    ::WritePrivateProfileStringA(kSection, "FolderPath", copy.folder, path);
}
