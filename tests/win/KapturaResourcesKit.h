// The capture program's resources for Windows tests: the resource-only DLL
// built from the same object the program links, beside the test program,
// loaded once for the test program's life.
#pragma once

#include <windows.h>

#include <string>

inline std::string BesideTestProgram(const char* name)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

inline HMODULE KapturaResources()
{
    static HMODULE module = LoadLibraryA(BesideTestProgram("KapturaResources.dll").c_str());
    return module;
}
