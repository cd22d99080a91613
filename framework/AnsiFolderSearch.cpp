#include "AnsiFolderSearch.h"

#include <cstring>
#include <cwchar>

namespace {

const char kSearchPattern[] = "*.*";

bool IsDotEntry(const wchar_t* name) { return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])); }

// The name in the ANSI code page, when it comes back from there unchanged.
bool ToAnsiExactly(const wchar_t* wide, char* ansi, int ansiSize)
{
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, ansiSize, nullptr, nullptr) <= 0)
        return false;
    wchar_t back[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, ansi, -1, back, MAX_PATH) > 0 && wcscmp(back, wide) == 0;
}

// What a wide search entry and a file's attribute data both tell.
template <class Facts>
void CopyFileFacts(const Facts& from, WIN32_FIND_DATAA& to)
{
    to.dwFileAttributes = from.dwFileAttributes;
    to.ftCreationTime = from.ftCreationTime;
    to.ftLastAccessTime = from.ftLastAccessTime;
    to.ftLastWriteTime = from.ftLastWriteTime;
    to.nFileSizeHigh = from.nFileSizeHigh;
    to.nFileSizeLow = from.nFileSizeLow;
}

std::string WithSeparator(const std::string& folder)
{
    return folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
}

}  // namespace

AnsiFolderSearch::AnsiFolderSearch(const std::string& folder)
    : folder_(WithSeparator(folder)), search_(INVALID_HANDLE_VALUE), first_(), firstPending_(false)
{
    const std::string pattern = folder_ + kSearchPattern;
    wchar_t widePattern[MAX_PATH];
    if (pattern.size() >= MAX_PATH ||
        MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, widePattern, MAX_PATH) <= 0)
        return;
    search_ = FindFirstFileW(widePattern, &first_);
    firstPending_ = search_ != INVALID_HANDLE_VALUE;
}

AnsiFolderSearch::~AnsiFolderSearch()
{
    if (search_ != INVALID_HANDLE_VALUE)
        FindClose(search_);
}

bool AnsiFolderSearch::Next(WIN32_FIND_DATAA& entry)
{
    if (search_ == INVALID_HANDLE_VALUE)
        return false;
    for (;;) {
        WIN32_FIND_DATAW found;
        if (firstPending_) {
            found = first_;
            firstPending_ = false;
        } else if (!FindNextFileW(search_, &found)) {
            return false;
        }
        if (!IsDotEntry(found.cFileName) && TakeEntry(found, entry))
            return true;
    }
}

// A file's path must fit a MAX_PATH buffer; a folder's must leave room for
// its own search ("\*.*").
bool AnsiFolderSearch::TakeEntry(const WIN32_FIND_DATAW& found, WIN32_FIND_DATAA& entry) const
{
    if (!ToAnsiExactly(found.cFileName, entry.cFileName, sizeof entry.cFileName))
        return false;
    size_t pathLength = folder_.size() + strlen(entry.cFileName);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        pathLength += 1 + sizeof kSearchPattern - 1;
    if (pathLength >= MAX_PATH)
        return false;
    if (!ToAnsiExactly(found.cAlternateFileName, entry.cAlternateFileName, sizeof entry.cAlternateFileName))
        entry.cAlternateFileName[0] = 0;
    CopyFileFacts(found, entry);
    entry.dwReserved0 = found.dwReserved0;
    entry.dwReserved1 = found.dwReserved1;
    return true;
}

bool ReadFileEntry(const std::string& path, WIN32_FIND_DATAA& entry)
{
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (path.find_first_of("?*") != std::string::npos ||
        !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info))
        return false;
    const size_t cut = path.find_last_of("\\/:");
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (name.empty() || name.size() >= sizeof entry.cFileName)
        return false;
    entry = WIN32_FIND_DATAA();
    strcpy(entry.cFileName, name.c_str());
    CopyFileFacts(info, entry);
    return true;
}
