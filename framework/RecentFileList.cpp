#include "RecentFileList.h"

#include <algorithm>

namespace {

// Longest ini value read back for one entry; longer ones are dropped as
// unusable rather than kept cut.
const int kMaxEntryLength = 1024;

int LastSeparator(const CString& path)
{
    return std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
}

// Length of the root part that always stays: "C:\" or "\\server\share\".
int RootLength(const CString& path)
{
    if (path.GetLength() >= 2 && path[1] == ':')
        return path.GetLength() >= 3 && path[2] == '\\' ? 3 : 2;
    if (path.Left(2) == "\\\\") {
        int server = path.Find('\\', 2);
        int share = server < 0 ? -1 : path.Find('\\', server + 1);
        return share < 0 ? path.GetLength() : share + 1;
    }
    return 0;
}

} // namespace

CRecentFileList::CRecentFileList(UINT startId, LPCSTR section, LPCSTR entryFormat, int size,
                                 int maxDisplayLength)
    : m_nStart(startId),
      m_strSectionName(section),
      m_strEntryFormat(entryFormat),
      m_nSize(std::max(size, 0)),
      m_nMaxDisplayLength(maxDisplayLength),
      m_arrNames(static_cast<size_t>(std::max(size, 0)))
{
}

CString CRecentFileList::operator[](int index) const
{
    if (index < 0 || index >= m_nSize)
        return CString();
    return m_arrNames[static_cast<size_t>(index)];
}

void CRecentFileList::Add(LPCSTR pathName)
{
    CString path(pathName);
    if (path.IsEmpty() || m_nSize == 0)
        return;
    // The slot the new entry vacates: its old place, else the last one.
    int from = m_nSize - 1;
    for (int i = 0; i < m_nSize; ++i) {
        if (m_arrNames[static_cast<size_t>(i)].CompareNoCase(path) == 0) {
            from = i;
            break;
        }
    }
    for (int i = from; i > 0; --i)
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i - 1)];
    m_arrNames[0] = path;
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_nSize)
        return;
    for (int i = index; i < m_nSize - 1; ++i)
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i + 1)];
    m_arrNames[static_cast<size_t>(m_nSize - 1)].Empty();
}

void CRecentFileList::ReadList()
{
    if (m_strProfileName.IsEmpty())
        return;
    std::vector<CString> read;
    for (int i = 0; i < m_nSize; ++i) {
        CString key;
        key.Format(m_strEntryFormat, i + 1);
        char buffer[kMaxEntryLength + 2];
        DWORD length = GetPrivateProfileStringA(m_strSectionName, key, "", buffer, sizeof buffer,
                                                m_strProfileName);
        if (length == 0 || length > kMaxEntryLength)
            continue;
        CString path(buffer);
        bool repeated = std::any_of(read.begin(), read.end(),
                                    [&](const CString& p) { return p.CompareNoCase(path) == 0; });
        if (!repeated)
            read.push_back(path);
    }
    read.resize(static_cast<size_t>(m_nSize));
    m_arrNames = read;
}

void CRecentFileList::WriteList() const
{
    if (m_strProfileName.IsEmpty())
        return;
    for (int i = 0; i < m_nSize; ++i) {
        CString key;
        key.Format(m_strEntryFormat, i + 1);
        const CString& path = m_arrNames[static_cast<size_t>(i)];
        WritePrivateProfileStringA(m_strSectionName, key, path.IsEmpty() ? nullptr : (LPCSTR)path,
                                   m_strProfileName);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& name, int index, LPCSTR currentDir, BOOL atLeastName) const
{
    CString path = (*this)[index];
    name.Empty();
    if (path.IsEmpty())
        return FALSE;
    int separator = LastSeparator(path);
    CString folder = separator < 0 ? CString() : path.Left(separator);
    CString current(currentDir);
    current.TrimRight("\\/");
    if (separator >= 0 && !current.IsEmpty() && folder.CompareNoCase(current) == 0) {
        name = path.Mid(separator + 1);
        return TRUE;
    }
    name = KfAbbreviatePath(path, m_nMaxDisplayLength, atLeastName);
    return TRUE;
}

CString KfAbbreviatePath(const CString& path, int maxLength, BOOL atLeastName)
{
    if (maxLength <= 0 || path.GetLength() <= maxLength)
        return path;
    int separator = LastSeparator(path);
    CString fileName = path.Mid(separator + 1);
    int root = std::min(RootLength(path), std::max(separator + 1, 0));
    CString head = path.Left(root) + "...\\";
    // Take trailing components while they fit behind the head.
    CString tail = fileName;
    int cut = separator;
    while (cut > root) {
        int previous = LastSeparator(path.Left(cut));
        CString candidate = path.Mid(previous + 1, cut - previous) + tail;
        if (previous < root - 1 || head.GetLength() + candidate.GetLength() > maxLength)
            break;
        tail = candidate;
        cut = previous;
    }
    if (head.GetLength() + tail.GetLength() <= maxLength)
        return head + tail;
    if (atLeastName || fileName.GetLength() <= maxLength)
        return fileName;
    return fileName.Left(maxLength);
}

CString KfRecentMenuText(int index, const CString& displayName)
{
    CString escaped = displayName;
    escaped.Replace("&", "&&");
    CString text;
    text.Format("&%d ", index + 1);
    return text + escaped;
}
