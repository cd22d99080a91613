// What a later run knows of an installed copy: the user name, organisation
// and install folder, kept in the "Setup" section of "Kaptura99.ini" in the
// Windows folder (a file uninstall removes with the suite's settings).
#pragma once

#include "CString.h"

struct InstalledCopy {
    CString userName;
    CString organisation;
    CString folder;
};

// True when a copy is installed (its folder is recorded).
bool ReadInstalledCopy(InstalledCopy* copy);
void WriteInstalledCopy(const InstalledCopy& copy);
