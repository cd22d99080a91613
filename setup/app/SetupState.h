// The installer's state for the whole run: where it comes from, where it
// goes, who installs, the pages visited, and what the pages draw with.
#pragma once

#include "CString.h"
#include "Gdi.h"
#include "wizard/PageHistory.h"
#include "wizard/SidePicture.h"

struct SetupState {
    CString setupFolder;     // the folder of setup.exe: source of every copied file
    CString installFolder;   // the folder the folder page last accepted
    CString recordedFolder;  // the installed copy's folder, the only one uninstall touches ("" when none)
    CString userName;
    CString organisation;
    PageHistory history;
    SidePicture picture;
    CFont headingFont;       // lives as long as the pages that show it
    DWORD totalSize = 0;
};

SetupState& TheSetup();
