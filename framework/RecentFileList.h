// The recent-file list: the last few documents opened or saved, newest first,
// kept in the program's ini file (one key per entry in its own section) and
// shown as numbered items in the File menu in place of a placeholder item.
// The list logic and its persistence are window-free; the menu update is
// Windows only.
#pragma once

#include "CString.h"

#include <vector>

class CCmdUI;

class CRecentFileList {
public:
    // startId: command id of the first entry's menu item; section and
    // entryFormat ("File%d", numbered from 1) name the ini keys; size: the
    // number of entries kept; maxDisplayLength: longer paths are shortened
    // in the menu.
    CRecentFileList(UINT startId, LPCSTR section, LPCSTR entryFormat, int size, int maxDisplayLength = 30);

    int GetSize() const { return m_nSize; }
    // The entry at index, empty outside the list or where no file is kept.
    CString operator[](int index) const;
    UINT GetStartId() const { return m_nStart; }

    // Puts the path first; an equal path (without regard to case) further
    // down moves up instead of appearing twice; the oldest entry drops off
    // when the list is full. An empty path is ignored.
    void Add(LPCSTR pathName);
    // Removes the entry; the later ones move up.
    void Remove(int index);

    // The ini file the list is read from and written to; nothing is read or
    // written without one.
    void SetProfileName(LPCSTR profileName) { m_strProfileName = profileName; }
    const CString& GetProfileName() const { return m_strProfileName; }
    // Reads the entries; empty keys and repeated paths are skipped, so the
    // list comes back compact.
    void ReadList();
    // Writes every entry; keys of empty entries are removed.
    void WriteList() const;

    // The text the menu shows for the entry: the file name alone when it lies
    // in currentDir, else the path, shortened with "..." to the display
    // length (the file name itself is kept whole when atLeastName is set).
    // FALSE for an empty entry.
    BOOL GetDisplayName(CString& name, int index, LPCSTR currentDir, BOOL atLeastName = TRUE) const;

#ifdef _WIN32
    // Replaces the placeholder item (or the entries shown last time) by the
    // numbered entries; with no entry the placeholder stays, disabled.
    void UpdateMenu(CCmdUI* cmdUI);
#endif

protected:
    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nSize;
    int m_nMaxDisplayLength;
    CString m_strProfileName;
    CString m_strOriginal;   // the placeholder item's text, kept for an empty list
    std::vector<CString> m_arrNames;
};

// A path shortened to at most maxLength characters: the drive or share part,
// "\...\", then as many trailing components as fit. When not even the file
// name fits, the name alone (atLeastName) or its first characters.
CString KfAbbreviatePath(const CString& path, int maxLength, BOOL atLeastName);

// The menu item text of entry index: "&<n> " and the display name with every
// "&" doubled so that it shows as written.
CString KfRecentMenuText(int index, const CString& displayName);
