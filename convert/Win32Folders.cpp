#include "Win32Folders.h"

#include <windows.h>

#include "AnsiFolderSearch.h"

bool Win32FolderSource::List(const std::string& folder, std::vector<FolderEntry>& entries)
{
    entries.clear();
    AnsiFolderSearch search(folder);
    if (!search.IsOpen())
        return false;
    WIN32_FIND_DATAA found;
    while (search.Next(found)) {
        FolderEntry entry;
        entry.name = found.cFileName;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(entry);
    }
    return true;
}
