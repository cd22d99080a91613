#include "InstallFolder.h"

#include <windows.h>

#include "files/InstallList.h"
#include "resource.h"

namespace {

bool IsFolder(const CString& path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasDriveLetter(const CString& folder)
{
    return folder.GetLength() >= 2 && folder[1] == ':' && ::IsCharAlphaA(folder[0]);
}

// "Q:" of "Q:\Kaptura99"; "" for a network or relative path.
CString DriveOf(const CString& folder) { return HasDriveLetter(folder) ? folder.Left(2) : CString(); }

// The folder the last one is made in; "" when the name has no folder part.
CString ParentOf(const CString& folder)
{
    int slash = folder.GetLength() - 1;
    while (slash >= 0 && folder[slash] != '\\' && folder[slash] != '/')
        --slash;
    if (slash < 0)
        return CString();
    if (slash == 2 && HasDriveLetter(folder))
        return folder.Left(3);   // "C:\"
    return folder.Left(slash);
}

// A CD-ROM drive, or a volume that says it takes no writing.
bool IsReadOnlyDrive(const CString& drive)
{
    CString root = drive + "\\";
    if (::GetDriveTypeA(root) == DRIVE_CDROM)
        return true;
    DWORD flags = 0;
    return ::GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           (flags & FILE_READ_ONLY_VOLUME);
}

FolderVerdict VerdictOfError(DWORD error)
{
    switch (error) {
    case ERROR_WRITE_PROTECT: return FolderVerdict::ReadOnlyDrive;
    case ERROR_ACCESS_DENIED: return FolderVerdict::Denied;
    case ERROR_PATH_NOT_FOUND: return FolderVerdict::NoParent;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return FolderVerdict::NotAFolder;
    default: return FolderVerdict::NotMade;
    }
}

CString TextWith(UINT id, const CString& detail)
{
    CString text;
    text.LoadString(id);
    text.Replace("%1", detail);
    return text;
}

}  // namespace

FolderVerdict CheckInstallFolder(const CString& folder)
{
    if (folder.IsEmpty())
        return FolderVerdict::Unnamed;
    if (!InstallFolderFits(static_cast<size_t>(folder.GetLength()), MAX_PATH))
        return FolderVerdict::TooLong;
    CString drive = DriveOf(folder);
    if (!drive.IsEmpty()) {
        if (::GetDriveTypeA(drive + "\\") == DRIVE_NO_ROOT_DIR)
            return FolderVerdict::NoSuchDrive;
        if (IsReadOnlyDrive(drive))
            return FolderVerdict::ReadOnlyDrive;
    }
    if (IsFolder(folder))
        return FolderVerdict::Usable;
    if (::GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES)
        return FolderVerdict::NotAFolder;
    CString parent = ParentOf(folder);
    if (!parent.IsEmpty() && !IsFolder(parent))
        return FolderVerdict::NoParent;
    return FolderVerdict::Usable;
}

FolderVerdict MakeInstallFolder(const CString& folder)
{
    if (IsFolder(folder) || ::CreateDirectoryA(folder, nullptr))
        return FolderVerdict::Usable;
    return VerdictOfError(::GetLastError());
}

CString FolderRefusalText(FolderVerdict verdict, const CString& folder)
{
    CString limit;
    switch (verdict) {
    case FolderVerdict::Usable: return CString();
    case FolderVerdict::Unnamed: return TextWith(IDS_NO_FOLDER_NAME, folder);
    case FolderVerdict::TooLong:
        limit.Format("%u", static_cast<unsigned>(LongestInstallFolder(MAX_PATH)));
        return TextWith(IDS_FOLDER_TOO_LONG, limit);
    case FolderVerdict::NoSuchDrive: return TextWith(IDS_NO_SUCH_DRIVE, DriveOf(folder));
    case FolderVerdict::ReadOnlyDrive: return TextWith(IDS_READ_ONLY_DRIVE, DriveOf(folder));
    case FolderVerdict::NoParent: return TextWith(IDS_NO_PARENT_FOLDER, ParentOf(folder));
    case FolderVerdict::NotAFolder: return TextWith(IDS_NOT_A_FOLDER, folder);
    case FolderVerdict::Denied: return TextWith(IDS_FOLDER_DENIED, folder);
    case FolderVerdict::NotMade: break;
    }
    return TextWith(IDS_FOLDER_NOT_MADE, folder);
}
