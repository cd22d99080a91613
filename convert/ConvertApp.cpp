#include "ConvertApp.h"

#include "ConvertDialog.h"
#include "ConvertTables.h"

namespace {

const char kSettingsName[] = "Morfixvert";

XConvertApp theApp;

// The capture program's help file in this program's folder.
CString HelpFilePath()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString("Kaptura99.hlp");
    char* slash = strrchr(path, '\\');
    if (slash)
        slash[1] = 0;
    else
        path[0] = 0;
    return CString(path) + "Kaptura99.hlp";
}

}  // namespace

BOOL XConvertApp::InitInstance()
{
    Enable3dControls();
    // Drives without a disk answer the folder walk with an error, not a
    // system box per drive.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    settingsPath_ = CString(length && length < MAX_PATH ? windows : "") + "\\" + kSettingsName + ".ini";
    helpPath_ = HelpFilePath();
    m_pszHelpFilePath = helpPath_;

    char value[260] = {};
    GetPrivateProfileStringA(kSettingsName, kSettingsName, "", value, sizeof value, settingsPath_);
    XDialogConvert dialog(ParseConvertSettings(value));
    m_pMainWnd = &dialog;
    INT_PTR result = dialog.DoModal();
    m_pMainWnd = nullptr;
    if (result == IDCANCEL)
        WritePrivateProfileStringA(kSettingsName, kSettingsName,
                                   FormatConvertSettings(dialog.Settings()).c_str(), settingsPath_);
    return FALSE;
}
