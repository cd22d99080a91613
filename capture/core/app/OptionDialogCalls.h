// What the application runs of the option dialogs and the Open dialogs.
#pragma once

// The Capture Setup sheet, the Clock, Snapshot Buttons and About dialogs.
void RunCaptureSetupSheet();
void RunClockDialog();
void RunSnapshotButtonsDialog();
void RunAboutDialog();
// The Hotkey Setup dialog on row (0-7); the row confirmed last with OK.
void RunHotkeySetupDialog(int row);
int LastConfirmedHotkeyRow();
// The Setup dialog over the eight RunMode values it shows; true on OK with
// the values changed in place.
bool RunSetupDialog(int values[8]);
// The Open dialogs: 1 on OK with the chosen file name (without its folder,
// the folder made current) in name, 0 otherwise.
int RunExplorerOpenDialog(char* name, int size);
int RunOpenDialog(char* name, int size);
