#include "BrowserState.h"

#include "../../capture/core/settings/SettingsPlatform.h"
#include "../../framework/WinApp.h"
#include "../../framework/Wnd.h"
#include "../model/BrowserSettings.h"

BrowserState Browser = {};
const char kFullScreenClass[] = "PixoramaFullScreen";

namespace {

const char kSection[] = "Pixorama";

CString ReadValue(const char* key)
{
    char text[260] = "";
    GetPrivateProfileStringA(kSection, key, "", text, sizeof text, Browser.settingsPath);
    return CString(text);
}

void WriteValue(const char* key, const std::string& value)
{
    WritePrivateProfileStringA(kSection, key, value.c_str(), Browser.settingsPath);
}

void ReadScreenMetrics()
{
    HDC screen = GetDC(nullptr);
    Browser.screenWidth = GetDeviceCaps(screen, HORZRES);
    Browser.screenHeight = GetDeviceCaps(screen, VERTRES);
    const int planes = GetDeviceCaps(screen, PLANES);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    Browser.screenDepth = planes * bits;
    // The image object draws by the capture core's screen metrics.
    StoreScreenMetrics(GetVersion(), Browser.screenWidth, Browser.screenHeight, planes, bits,
                       GetSystemMetrics(SM_CYCAPTION));
}

void RegisterFullScreenClass()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = kFullScreenClass;
    RegisterClassA(&wc);
}

}  // namespace

void InitPaths()
{
    char folder[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    Browser.settingsPath = CString(length && length < MAX_PATH ? folder : "") + "\\Pixorama.ini";
    char program[MAX_PATH] = "";
    const DWORD programLength = GetModuleFileNameA(nullptr, program, MAX_PATH);
    char* slash = programLength && programLength < MAX_PATH ? strrchr(program, '\\') : nullptr;
    if (slash)
        slash[1] = 0;
    else
        program[0] = 0;
    Browser.helpPath = CString(program) + "Kaptura99.hlp";
}

void LoadSettings()
{
    ParseFlagList(ReadValue("ExplorerFormats"), Browser.formatFlags, kBrowserFormatCount);
    ParseFlagList(ReadValue("ExplorerDrives"), Browser.driveFlags, kBrowserDriveCount);
    Browser.background = ParseBackground(ReadValue("Session"));
    ReadScreenMetrics();
    RegisterFullScreenClass();
}

void SaveSelection()
{
    WriteValue("ExplorerFormats", FormatFlagList(Browser.formatFlags, kBrowserFormatCount));
    WriteValue("ExplorerDrives", FormatFlagList(Browser.driveFlags, kBrowserDriveCount));
}

void SaveBackground() { WriteValue("Session", FormatBackground(Browser.background)); }

int BrowserMessage(const char* text, UINT type)
{
    CWnd* main = AfxGetMainWnd();
    return MessageBoxA(main ? main->GetSafeHwnd() : nullptr, text, "Pixorama 99", type);
}

void ShowStringMessage(int stringId)
{
    char text[512] = "";
    LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(stringId), text, sizeof text);
    BrowserMessage(text);
}
