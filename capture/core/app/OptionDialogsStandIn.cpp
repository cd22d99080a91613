// Stand-in definitions of the option dialogs until their own files land:
// the option dialogs change nothing and About shows the title. Delete this
// file when the option dialogs are built.
#include "OptionDialogCalls.h"

#include <windows.h>

#include "AppServices.h"
#include "Settings.h"

void RunClockDialog() {}
void RunSnapshotButtonsDialog() {}
void RunAboutDialog()
{
    MessageBoxA(MainFrameWindow(), "Kaptura 99 V5.0", ApplicationTitle, MB_OK | MB_ICONINFORMATION);
}
bool RunSetupDialog(int[8]) { return false; }
