// The suite's shortcuts on the desktop, in the Start menu, in StartUp and in
// its program group, made through the shell's link object.
#pragma once

#include <windows.h>

#include "CString.h"
#include "InstallList.h"

// Makes the nine shortcuts to the install folder's files. False when the
// link object is unavailable, a save fails with E_FAIL, or the program
// group cannot be created ("failed to create a new folder", owned by owner).
bool CreateProgramShortcuts(const CString& installFolder, HWND owner);
void RemoveProgramShortcuts();

// The folder the user's shell keeps for the kind ("" when the registry
// lacks it); the program group is Programs + "\Kaptura99".
CString ShellFolderPath(ShellFolder folder);
