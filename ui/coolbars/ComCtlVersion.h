// The common-controls library version the toolbar layout and the frames go
// by: major * 100 + minor of the loaded comctl32.dll's file version (4.70
// gives 470). Tests set it to try the other versions' behaviour.
#pragma once

#include <windows.h>

// Reads it on first use (0 when the module has no version data).
int ComCtlVersion();
// Overrides it (0 reads the library again at the next use).
void SetComCtlVersion(int version);

// A loaded module's version resource: its fixed file information and the
// code page of its first translation (1200 when it names none).
class CVersionReader {
public:
    explicit CVersionReader(LPCSTR moduleName);
    ~CVersionReader();
    CVersionReader(const CVersionReader&) = delete;
    CVersionReader& operator=(const CVersionReader&) = delete;

    VS_FIXEDFILEINFO m_fixed;   // zero when the module has no version data
    BYTE* m_data = nullptr;
    WORD m_codePage = 1200;
};
