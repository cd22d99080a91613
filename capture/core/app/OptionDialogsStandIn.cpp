// Stand-in definitions of the option dialogs until their own files land:
// the option dialogs change nothing, About shows the title, and the Open
// dialogs are the system's plain file dialog. Delete this file when the
// option dialogs are built.
#include "OptionDialogCalls.h"

#include <windows.h>

#include <cstring>

#include "AppServices.h"
#include "Settings.h"

namespace {

int hotkeyRow = 0;

int RunPlainOpenDialog(char* name, int size)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainFrameWindow();
    dialog.lpstrFilter = "Image Files\0*.bmp;*.dib;*.rle;*.clp;*.kpt;*.gif;*.jpg;*.pcx;*.png;*.tif;*.wpg;*.ico;*.cur\0"
                         "All Files\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&dialog))
        return 0;
    // The chosen folder becomes the current one; the caller gets the name.
    const char* slash = strrchr(path, '\\');
    if (slash) {
        char folder[MAX_PATH];
        lstrcpynA(folder, path, static_cast<int>(slash - path) + 1);
        SetCurrentDirectoryA(folder);
    }
    lstrcpynA(name, slash ? slash + 1 : path, size);
    return 1;
}

}  // namespace

void RunCaptureSetupSheet() {}
void RunHotkeySetupDialog(int row) { hotkeyRow = row; }
int LastConfirmedHotkeyRow() { return hotkeyRow; }
int RunExplorerOpenDialog(char* name, int size) { return RunPlainOpenDialog(name, size); }
int RunOpenDialog(char* name, int size) { return RunPlainOpenDialog(name, size); }
