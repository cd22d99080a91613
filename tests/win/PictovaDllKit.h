// Helpers for the tests that drive the real Pictova.dll: its exports as
// typed functions, a fixture that loads the library, temporary file paths
// and block contents.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/DibHelpers.h"

namespace pictovakit {

using ImportFn = ImageRecord*(__cdecl*)(const char*);
using ExportFn = void(__cdecl*)(ImageRecord*, const char*, int);
using MessageFn = int(__cdecl*)(int, char*);

// Exports are plain cdecl functions; GetProcAddress hands them out untyped.
template <class Fn> Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

inline std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// The first bytes of a block.
inline std::vector<uint8_t> BlockBytes(HGLOBAL block, size_t bytes) {
    BlockLock lock(block);
    return std::vector<uint8_t>(lock.data(), lock.data() + bytes);
}

// Pictova.dll loaded for the test, as the programs load it, from beside
// the test program.
class PictovaDllTest : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA("Pictova.dll");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

}  // namespace pictovakit
