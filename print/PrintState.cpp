#include "PrintState.h"

#include "PagentResource.h"

#include <strings.h>

namespace pagent {

PrintState& State()
{
    static PrintState state;
    return state;
}

std::string LoadLibraryString(UINT id)
{
    char text[512] = {};
    int length = ::LoadStringA(g_libraryModule, id, text, sizeof text);
    return length > 0 ? std::string(text, size_t(length)) : std::string();
}

void ShowPrintMessage(UINT id)
{
    std::string caption = LoadLibraryString(IDS_PRINT_CAPTION);
    ::MessageBoxA(nullptr, LoadLibraryString(id).c_str(), caption.empty() ? "Print" : caption.c_str(),
                  MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the caller's own loop.
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void ForgetCachedSection()
{
    State().sectionCached = false;
}

void LoadPrintSettings()
{
    PrintState& state = State();
    state.settings = LoadPrintSettingsFrom(state.section.c_str(), state.settingsFile.c_str());
    for (int i = 0; i < 12; ++i)
        state.names.months[i] = LoadLibraryString(IDS_MONTH_FIRST + i);
    for (int i = 0; i < 7; ++i)
        state.names.weekdays[i] = LoadLibraryString(IDS_WEEKDAY_FIRST + i);
    state.printTime = time(nullptr);
}

bool BeginPrintCall(const char* section, const char* settingsFile)
{
    PrintState& state = State();
    std::string wanted = section ? section : "";
    if (wanted.size() > kSectionMax)
        wanted.resize(kSectionMax);
    if (state.sectionCached && strcasecmp(state.section.c_str(), wanted.c_str()) == 0)
        return true;
    state.section.clear();
    state.sectionCached = false;
    // The Printer key is read from the section given now.
    state.settingsFile = settingsFile ? settingsFile : "";
    if (state.settingsFile.size() >= kTextSize)
        state.settingsFile.resize(kTextSize - 1);
    LoadPrinterSettings(wanted, state.settingsFile);
    if (state.printer.device.empty() || !state.devMode) {
        ShowPrintMessage(IDS_NO_PRINTER);
        return false;
    }
    state.section = wanted;
    state.sectionCached = true;
    LoadPrintSettings();
    return true;
}

}  // namespace pagent
