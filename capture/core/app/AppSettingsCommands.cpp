// Load Settings, Save Settings and the writer of every settings key.
#include "CaptureApp.h"

#include <cstring>

#include "AppServices.h"
#include "Settings.h"
#include "SettingsFileCopy.h"
#include "resource.h"

namespace {

// The "INI Files|*.ini|" filter with its bars turned into terminators.
void LoadIniFilter(char* filter, int size)
{
    if (!LoadStringA(AfxGetResourceHandle(), IDS_INI_FILTER, filter, size - 1))
        lstrcpynA(filter, "INI Files|*.ini|", size - 1);
    for (char* c = filter; *c; ++c)
        if (*c == '|')
            *c = '\0';
}

bool AskIniFile(bool save, char* path, int size)
{
    char filter[128] = {};
    LoadIniFilter(filter, sizeof filter);
    path[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainFrameWindow();
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = size;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    return (save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) != FALSE;
}

}  // namespace

bool CopySettingsFile(const char* from, const char* to)
{
    SettingsCopyResult result = CopySettingsFileBytes(from, to);
    if (result == kSettingsCopyNoMemory)
        ShowStringMessage(IDS_INSUFFICIENT_MEMORY);
    return result == kSettingsCopied;
}

void XCaptureApp::OnOptionsLoadSettings()
{
    char path[MAX_PATH];
    if (!AskIniFile(false, path, sizeof path))
        return;
    // Nothing is reloaded from a copy that did not happen.
    if (!CopySettingsFile(path, SettingsPath))
        return;
    LoadRunModeAndSession();
    LoadAllSettings();
}

void XCaptureApp::OnOptionsSaveSettings()
{
    char path[MAX_PATH];
    if (!AskIniFile(true, path, sizeof path - 4))
        return;
    AddIniExtension(path, sizeof path);
    CopySettingsFile(SettingsPath, path);
}

void WriteAllSettings()
{
    WriteCapturePageSettings();
    WriteBlackWhiteSettings();
    WriteFrameSettings();
    WriteClockSettings();
    WriteHotkeySettings();
    WriteSnapshotButtonSettings();
    WriteSessionValues();
    SaveSessionSettings();
}
