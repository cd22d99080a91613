// The printer: the section's Printer key or the system default, its device
// settings from "KTPrint.ini" or the driver, and the print-setup dialog.
#include "PrintState.h"

#include "PagentResource.h"

#include <commdlg.h>
#include <winspool.h>

#include <cstring>
#include <strings.h>
#include <vector>

namespace pagent {

namespace {

void FreeDevMode()
{
    PrintState& state = State();
    if (state.devMode)
        ::GlobalFree(state.devMode);
    state.devMode = nullptr;
}

bool PrinterExists(const std::string& device)
{
    HANDLE printer = nullptr;
    if (device.empty() || !::OpenPrinterA(const_cast<char*>(device.c_str()), &printer, nullptr))
        return false;
    ::ClosePrinter(printer);
    return true;
}

// The driver's device-mode size for the chosen printer; 0 when unknown.
LONG DriverDevModeSize()
{
    PrintState& state = State();
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(state.printer.device.c_str()), &printer, nullptr))
        return 0;
    LONG size = ::DocumentPropertiesA(nullptr, printer, const_cast<char*>(state.printer.device.c_str()), nullptr,
                                      nullptr, 0);
    ::ClosePrinter(printer);
    return size > 0 ? size : 0;
}

}  // namespace

std::string DevModeFilePath()
{
    char folder[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return "";
    std::string path = folder;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path + "\\KTPrint.ini";
}

bool LoadDefaultDevMode()
{
    PrintState& state = State();
    FreeDevMode();
    HANDLE printer = nullptr;
    char* device = const_cast<char*>(state.printer.device.c_str());
    if (!::OpenPrinterA(device, &printer, nullptr))
        return false;
    LONG size = ::DocumentPropertiesA(nullptr, printer, device, nullptr, nullptr, 0);
    if (size > 0) {
        state.devMode = ::GlobalAlloc(GHND, size_t(size));
        auto* mode = state.devMode ? static_cast<DEVMODEA*>(::GlobalLock(state.devMode)) : nullptr;
        LONG done = mode ? ::DocumentPropertiesA(nullptr, printer, device, mode, nullptr, DM_OUT_BUFFER) : -1;
        if (mode)
            ::GlobalUnlock(state.devMode);
        if (done < 0)
            FreeDevMode();
    }
    ::ClosePrinter(printer);
    return state.devMode != nullptr;
}

bool ReadDevModeFile()
{
    PrintState& state = State();
    std::string path = DevModeFilePath();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD length = ::GetFileSize(file, nullptr);
    std::vector<uint8_t> bytes(length != INVALID_FILE_SIZE && length < 65536 ? length : 0);
    DWORD read = 0;
    bool ok = !bytes.empty() && ::ReadFile(file, bytes.data(), length, &read, nullptr) && read == length;
    ::CloseHandle(file);
    // A file of the wrong size or for another printer is not used: the
    // driver's defaults are taken instead.
    if (!ok || !DevModeFileFits(bytes.data(), bytes.size(), state.printer.device.c_str(), size_t(DriverDevModeSize())))
        return false;
    HGLOBAL block = ::GlobalAlloc(GHND, bytes.size());
    void* to = block ? ::GlobalLock(block) : nullptr;
    if (!to) {
        if (block)
            ::GlobalFree(block);
        return false;
    }
    memcpy(to, bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    FreeDevMode();
    state.devMode = block;
    return true;
}

void WriteDevModeFile()
{
    PrintState& state = State();
    if (!state.devMode)
        return;
    auto* mode = static_cast<DEVMODEA*>(::GlobalLock(state.devMode));
    if (!mode)
        return;
    size_t bytes = size_t(mode->dmSize) + mode->dmDriverExtra;
    if (bytes > ::GlobalSize(state.devMode))
        bytes = ::GlobalSize(state.devMode);
    std::string path = DevModeFilePath();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, mode, DWORD(bytes), &written, nullptr);
        ::CloseHandle(file);
    }
    ::GlobalUnlock(state.devMode);
}

void LoadPrinterSettings(const std::string& section, const std::string& settingsFile)
{
    PrintState& state = State();
    state.printer = PrinterNames();
    char text[kTextSize] = {};
    ::GetPrivateProfileStringA(section.c_str(), "Printer", "", text, sizeof text, settingsFile.c_str());
    if (text[0]) {
        PrinterNames named = ParsePrinterKey(text);
        if (PrinterExists(named.device)) {
            state.printer = named;
            if (!ReadDevModeFile())
                LoadDefaultDevMode();
            return;
        }
    }
    // No key, or its printer is gone: the system's default printer with its
    // driver's defaults.
    char device[kTextSize] = {};
    ::GetProfileStringA("windows", "device", "", device, sizeof device);
    PrinterNames fallback = ParseDefaultDevice(device);
    if (fallback.device.empty() || !PrinterExists(fallback.device)) {
        FreeDevMode();
        return;
    }
    state.printer = fallback;
    LoadDefaultDevMode();
}

void RunPrinterSetup()
{
    PrintState& state = State();
    PrinterNames& names = state.printer;
    HGLOBAL namesBlock = ::GlobalAlloc(GHND, 512);
    if (!namesBlock)
        return;
    // The device-names block: offsets, then the three names.
    if (auto* devNames = static_cast<DEVNAMES*>(::GlobalLock(namesBlock))) {
        char* base = reinterpret_cast<char*>(devNames);
        WORD driverAt = sizeof(DEVNAMES);
        WORD deviceAt = WORD(driverAt + names.driver.size() + 1);
        WORD portAt = WORD(deviceAt + names.device.size() + 1);
        devNames->wDriverOffset = driverAt;
        devNames->wDeviceOffset = deviceAt;
        devNames->wOutputOffset = portAt;
        devNames->wDefault = 0;
        memcpy(base + driverAt, names.driver.c_str(), names.driver.size() + 1);
        memcpy(base + deviceAt, names.device.c_str(), names.device.size() + 1);
        memcpy(base + portAt, names.port.c_str(), names.port.size() + 1);
        ::GlobalUnlock(namesBlock);
    }
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hDevMode = state.devMode;
    dialog.hDevNames = namesBlock;
    dialog.Flags = PD_PRINTSETUP;
    if (!::PrintDlgA(&dialog)) {
        if (dialog.hDevNames)
            ::GlobalFree(dialog.hDevNames);
        if (dialog.hDevNames != namesBlock)
            ::GlobalFree(namesBlock);
        // The dialog may have replaced the device settings block.
        if (dialog.hDevMode && dialog.hDevMode != state.devMode)
            ::GlobalFree(dialog.hDevMode);
        return;
    }
    bool deviceChanged = false;
    if (auto* devNames = dialog.hDevNames ? static_cast<DEVNAMES*>(::GlobalLock(dialog.hDevNames)) : nullptr) {
        const char* base = reinterpret_cast<const char*>(devNames);
        std::string device = base + devNames->wDeviceOffset;
        deviceChanged = strcasecmp(device.c_str(), names.device.c_str()) != 0;
        names.driver = std::string(base + devNames->wDriverOffset).substr(0, kDriverMax);
        names.device = device.substr(0, kDeviceMax);
        names.port = std::string(base + devNames->wOutputOffset).substr(0, kDriverMax);
        ::GlobalUnlock(dialog.hDevNames);
    }
    if (dialog.hDevNames)
        ::GlobalFree(dialog.hDevNames);
    if (dialog.hDevNames != namesBlock)
        ::GlobalFree(namesBlock);
    if (dialog.hDevMode) {
        if (dialog.hDevMode != state.devMode) {
            FreeDevMode();
            state.devMode = dialog.hDevMode;
        } else if (deviceChanged) {
            if (auto* mode = static_cast<DEVMODEA*>(::GlobalLock(state.devMode))) {
                mode->dmPrintQuality = DMRES_HIGH;
                ::GlobalUnlock(state.devMode);
            }
        }
    }
    ::WritePrivateProfileStringA(state.section.c_str(), "Printer", FormatPrinterKey(names).c_str(),
                                 state.settingsFile.c_str());
    WriteDevModeFile();
}

HDC CreateJobDC()
{
    PrintState& state = State();
    auto* mode = state.devMode ? static_cast<DEVMODEA*>(::GlobalLock(state.devMode)) : nullptr;
    HDC dc = ::CreateDCA(state.printer.driver.empty() ? nullptr : state.printer.driver.c_str(),
                         state.printer.device.c_str(), nullptr, mode);
    if (mode)
        ::GlobalUnlock(state.devMode);
    return dc;
}

bool TakesBitmapsOrRelease(HDC dc)
{
    if (::GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT)
        return true;
    ShowPrintMessage(IDS_NO_BITMAPS);
    ::DeleteDC(dc);
    return false;
}

}  // namespace pagent
