// Stand-in definitions of what the image document calls of the parts not
// built yet (the small dialogs, the Save As dialog with its preview, the
// folder-tree bar's delete). Each does the least that keeps the document's
// commands safe: the Save As dialog is the system's plain one. Delete each
// definition when its own part lands.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <string>

#include "AppServices.h"
#include "DocumentFileNames.h"
#include "DocumentOperationCalls.h"
#include "Settings.h"
#include "resource.h"

bool RunSaveAsDialog(const char* initialFolder)
{
    CString filter;
    filter.LoadString(IDS_SAVE_FILTER);
    std::string filters(static_cast<LPCSTR>(filter));
    for (char& c : filters)
        if (c == '|')
            c = '\0';
    filters += '\0';
    char path[MAX_PATH];
    lstrcpynA(path, FileNamePart(FileNameSave).c_str(), sizeof path);
    std::string folder = initialFolder ? initialFolder : FolderPart(FileNameSave);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ::GetForegroundWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = Format[kFormatSaveAs] >= 1 && Format[kFormatSaveAs] <= 11 ? Format[kFormatSaveAs] : 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&dialog))
        return false;
    static const char* const kExtensions[] = {".bmp", ".clp", ".dib", ".gif", ".gif", ".jpg",
                                              ".pcx", ".png", ".rle", ".tif", ".wpg"};
    std::string chosen = path;
    // A typed extension names the format; without one the chosen filter's
    // extension is added.
    int type = FormatIndexFromExtension(chosen);
    if (type == 0) {
        type = static_cast<int>(dialog.nFilterIndex);
        if (type >= 1 && type <= 11 && ExtensionDot(chosen) == std::string::npos)
            chosen += kExtensions[type - 1];
    }
    lstrcpynA(FileNameSave, chosen.c_str(), sizeof FileNameSave);
    Format[kFormatSaveAs] = type;
    return true;
}

bool RunCaptureFileSaveAsDialog() { return false; }

bool DeleteImageFileThroughExplorer(const char* path)
{
    std::string question = std::string("Delete ") + path + "?";
    if (::MessageBoxA(MainFrameWindow(), question.c_str(), ApplicationTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    return ::DeleteFileA(path) != 0;
}
