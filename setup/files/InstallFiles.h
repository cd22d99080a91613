// The installer's file work: copying the suite into the install folder with
// one time stamp, measuring it, and removing it again.
#pragma once

#include <windows.h>

#include <vector>

#include "CString.h"

// Copies the listed files from the setup folder, showing progress in the
// page's bar and the current source in its static. A missing help file is
// skipped; any other failure says why in a message box owned by the page
// and answers false (files copied before it stay).
bool CopyInstallFiles(const CString& setupFolder, const CString& installFolder, HWND page);

// The size of the listed files the setup folder holds (low 32 bits each).
DWORD SumInstallSize(const CString& setupFolder);

// The install time stamp as the file system's universal time.
FILETIME InstallFileTime();

// Removes the installed files and the help index and settings files of the
// install folder, then the folder when nothing else is left in it, the
// suite's settings in the Windows folder (the installed copy's record among
// them) and the shortcuts. Answers the paths of the install folder's files
// that could not be removed (in use); while any is left, the settings, the
// record and the shortcuts stay, so that the next run offers Uninstall again.
std::vector<CString> UninstallFiles(const CString& installFolder);
void DeleteFileInFolder(const CString& folder, const char* name);

// The caption of the installer's message boxes.
extern const char kSetupMessageCaption[];
