// The folder search of the browser's scan and the converter's lists: only
// entries the ANSI calls can open come out, and a file is looked up by its
// exact name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/AnsiFolderSearch.h"

namespace {

std::wstring Wide(const std::string& text)
{
    wchar_t wide[1024];
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 1024);
    return wide;
}

// A fresh folder under the temporary folder, removed with all it holds.
class SearchFolder {
public:
    SearchFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path = std::string(temp) + "ansi_search_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~SearchFolder()
    {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made)
            if (!DeleteFileW(made->c_str()))
                RemoveDirectoryW(made->c_str());
        RemoveDirectoryA(path.c_str());
    }
    // Names relative to the folder; "\\?\" lets the wide calls pass MAX_PATH.
    void AddFile(const std::wstring& name, DWORD size = 0)
    {
        const std::wstring full = LongPath(name);
        HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make a file of " << name.size() << " characters";
        const std::string bytes(size, 'x');
        DWORD written = 0;
        WriteFile(file, bytes.data(), size, &written, nullptr);
        CloseHandle(file);
        made_.push_back(full);
    }
    void AddFolder(const std::wstring& name)
    {
        const std::wstring full = LongPath(name);
        ASSERT_TRUE(CreateDirectoryW(full.c_str(), nullptr));
        made_.push_back(full);
    }
    // The name that brings the entry's path to the given length.
    std::string NameForPathLength(size_t length, const char* extension) const
    {
        return std::string(length - path.size() - 1 - strlen(extension), 'n') + extension;
    }
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> names;
        AnsiFolderSearch search(path);
        WIN32_FIND_DATAA entry;
        while (search.Next(entry))
            names.push_back(entry.cFileName);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string path;

private:
    std::wstring LongPath(const std::wstring& name) const { return L"\\\\?\\" + Wide(path) + L"\\" + name; }
    std::vector<std::wstring> made_;
};

}  // namespace

TEST(AnsiFolderSearch, PassesOverNamesTheCodePageCannotHold)
{
    SearchFolder folder;
    folder.AddFile(L"plain.bmp");
    folder.AddFile(L"\x65e5\x672c.bmp");     // CJK: "?" in Western code pages
    folder.AddFolder(L"\x03a9mega");         // Greek Omega: best fit "O"
    folder.AddFolder(L"sub");
    std::vector<std::string> expected = {"plain.bmp", "sub"};
    // Names the code page does hold stay.
    char accented[16];
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"caf\x00e9.bmp", -1, accented, sizeof accented, nullptr,
                        GetACP() == CP_UTF8 ? nullptr : &lost);
    if (!lost) {
        folder.AddFile(L"caf\x00e9.bmp");
        expected.push_back(accented);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.Listed(), expected);
}

TEST(AnsiFolderSearch, ListsPathsThatFitMaxPath)
{
    SearchFolder folder;
    const std::string fits = folder.NameForPathLength(MAX_PATH - 1, ".bmp");
    const std::string tooLong = folder.NameForPathLength(MAX_PATH, ".gif");
    // A folder must leave room for its own search, "\*.*".
    const std::string searchable = folder.NameForPathLength(MAX_PATH - 5, "");
    const std::string unsearchable = std::string(searchable.size() + 1, 'f');
    folder.AddFile(Wide(fits));
    folder.AddFile(Wide(tooLong));
    folder.AddFolder(Wide(searchable));
    folder.AddFolder(Wide(unsearchable));
    std::vector<std::string> expected = {fits, searchable};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.Listed(), expected);
}

TEST(AnsiFolderSearch, FolderThatCannotBeSearched)
{
    AnsiFolderSearch missing("Q:\\no such folder here");
    EXPECT_FALSE(missing.IsOpen());
    WIN32_FIND_DATAA entry;
    EXPECT_FALSE(missing.Next(entry));
    AnsiFolderSearch tooLong(std::string(MAX_PATH, 'x'));
    EXPECT_FALSE(tooLong.IsOpen());
}

TEST(ReadFileEntry, TakesTheNameAsItIsWithoutWildcards)
{
    SearchFolder folder;
    folder.AddFile(L"a1.bmp", 1500);
    folder.AddFile(L"ab.bmp", 7);
    WIN32_FIND_DATAA entry;
    ASSERT_TRUE(ReadFileEntry(folder.path + "\\ab.bmp", entry));
    EXPECT_STREQ(entry.cFileName, "ab.bmp");
    EXPECT_EQ(entry.nFileSizeLow, 7u);
    EXPECT_EQ(entry.nFileSizeHigh, 0u);
    EXPECT_FALSE(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    // "?" and "*" name no file here, although a search would match a1.bmp.
    EXPECT_FALSE(ReadFileEntry(folder.path + "\\a?.bmp", entry));
    EXPECT_FALSE(ReadFileEntry(folder.path + "\\*.bmp", entry));
    EXPECT_FALSE(ReadFileEntry(folder.path + "\\gone.bmp", entry));
}
