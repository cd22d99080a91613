#include "WindowPlacementText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

const int kFieldCount = 10;

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// Reads one decimal integer in int range and the blanks after it.
bool ReadInt(const char*& p, long& value)
{
    while (IsBlank(*p))
        ++p;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    p = end;
    while (IsBlank(*p))
        ++p;
    return true;
}

} // namespace

BOOL KfParsePlacement(LPCSTR text, KfPlacement& placement)
{
    if (!text)
        return FALSE;
    long fields[kFieldCount];
    const char* p = text;
    for (int i = 0; i < kFieldCount; ++i) {
        if (!ReadInt(p, fields[i]))
            return FALSE;
        char expected = i + 1 < kFieldCount ? ',' : '\0';
        if (*p != expected)
            return FALSE;
        if (expected)
            ++p;
    }
    if (fields[0] < 0 || fields[1] < 0)
        return FALSE;
    placement.flags = static_cast<UINT>(fields[0]);
    placement.showCmd = static_cast<UINT>(fields[1]);
    placement.minX = static_cast<int>(fields[2]);
    placement.minY = static_cast<int>(fields[3]);
    placement.maxX = static_cast<int>(fields[4]);
    placement.maxY = static_cast<int>(fields[5]);
    placement.left = static_cast<int>(fields[6]);
    placement.top = static_cast<int>(fields[7]);
    placement.right = static_cast<int>(fields[8]);
    placement.bottom = static_cast<int>(fields[9]);
    return TRUE;
}

CString KfFormatPlacement(const KfPlacement& p)
{
    CString text;
    text.Format("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCmd, p.minX, p.minY, p.maxX, p.maxY, p.left,
                p.top, p.right, p.bottom);
    return text;
}

BOOL KfPlacementFitsScreen(const KfPlacement& p, int screenLeft, int screenTop, int screenRight, int screenBottom,
                           int minSize)
{
    // 64-bit arithmetic: the fields may be anything an ini file holds.
    long long width = static_cast<long long>(p.right) - p.left;
    long long height = static_cast<long long>(p.bottom) - p.top;
    if (width < minSize || height < minSize)
        return FALSE;
    long long overlapX = std::min<long long>(p.right, screenRight) - std::max<long long>(p.left, screenLeft);
    long long overlapY = std::min<long long>(p.bottom, screenBottom) - std::max<long long>(p.top, screenTop);
    return overlapX >= minSize && overlapY >= minSize ? TRUE : FALSE;
}
