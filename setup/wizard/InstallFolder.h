// The install folder the folder page takes: checked as typed without making
// anything on disk, and made only once the page is accepted. Each refusal
// names what is wrong.
#pragma once

#include "CString.h"

enum class FolderVerdict {
    Usable,
    Unnamed,          // nothing typed
    TooLong,          // the files' paths would pass MAX_PATH
    NoSuchDrive,
    ReadOnlyDrive,
    NoParent,         // only the last folder of the path is made
    NotAFolder,       // a file of that name is there
    Denied,
    NotMade,          // any other failure to make it
};

// The verdict on a folder name (without trailing slashes); Usable when the
// folder is there or can be made.
FolderVerdict CheckInstallFolder(const CString& folder);

// Makes the folder when it is missing; Usable when it is there afterwards.
FolderVerdict MakeInstallFolder(const CString& folder);

// What the user is told of a refusal, from the program's string table.
CString FolderRefusalText(FolderVerdict verdict, const CString& folder);
