#include "Win32Folders.h"

#include <windows.h>

#include "ConvertTables.h"

bool Win32FolderSource::List(const std::string& folder, std::vector<FolderEntry>& entries)
{
    entries.clear();
    if (folder.size() + 4 >= MAX_PATH)
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        FolderEntry entry;
        entry.name = found.cFileName;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
