#include "ComCtlVersion.h"

#include <cstring>

namespace {

int version = 0;

int ReadVersion()
{
    CVersionReader reader("comctl32.dll");
    return HIWORD(reader.m_fixed.dwFileVersionMS) * 100 + LOWORD(reader.m_fixed.dwFileVersionMS);
}

// Read once at start-up, as the layout's first use may come from a paint.
const int readAtStart = ComCtlVersion();

} // namespace

int ComCtlVersion()
{
    if (version == 0)
        version = ReadVersion();
    return version;
}

void SetComCtlVersion(int value) { version = value; }

CVersionReader::CVersionReader(LPCSTR moduleName)
{
    std::memset(&m_fixed, 0, sizeof m_fixed);
    HMODULE module = ::GetModuleHandleA(moduleName);
    char path[MAX_PATH] = "";
    if (!module || !::GetModuleFileNameA(module, path, sizeof path))
        return;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return;
    m_data = new BYTE[size];
    if (!::GetFileVersionInfoA(path, 0, size, m_data))
        return;
    void* value = nullptr;
    UINT length = 0;
    if (::VerQueryValueA(m_data, "\\", &value, &length) && length >= sizeof m_fixed)
        std::memcpy(&m_fixed, value, sizeof m_fixed);
    if (::VerQueryValueA(m_data, "\\VarFileInfo\\Translation", &value, &length) && length >= 4)
        std::memcpy(&m_codePage, static_cast<BYTE*>(value) + 2, sizeof m_codePage);
}

CVersionReader::~CVersionReader() { delete[] m_data; }
