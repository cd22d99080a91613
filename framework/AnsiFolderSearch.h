// Folder entries and files as the programs' ANSI calls reach them. Paths
// live in MAX_PATH buffers of the ANSI code page, so an entry whose name
// does not come back unchanged from that code page (shown as "?" or as a
// look-alike letter) or whose path does not fit could be listed but never
// opened, nor searched when it is a folder. The search passes such entries
// over, so that every listing shows only what can be opened.
#pragma once

#include <windows.h>

#include <string>

class AnsiFolderSearch {
public:
    // Searches the folder's entries (the folder given without "\*.*").
    explicit AnsiFolderSearch(const std::string& folder);
    ~AnsiFolderSearch();
    AnsiFolderSearch(const AnsiFolderSearch&) = delete;
    AnsiFolderSearch& operator=(const AnsiFolderSearch&) = delete;

    // False when the folder cannot be searched.
    bool IsOpen() const { return search_ != INVALID_HANDLE_VALUE; }
    // The next reachable entry other than "." and ".."; false at the end.
    bool Next(WIN32_FIND_DATAA& entry);

private:
    bool TakeEntry(const WIN32_FIND_DATAW& found, WIN32_FIND_DATAA& entry) const;

    std::string folder_;
    HANDLE search_;
    WIN32_FIND_DATAW first_;
    bool firstPending_;
};

// The find data of the file the path names, the path taken as it is (no
// wildcards); false when it cannot be reached.
bool ReadFileEntry(const std::string& path, WIN32_FIND_DATAA& entry);
