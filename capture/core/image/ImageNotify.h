// How long pixel loops tell the user what they are doing. The capture
// program points these at its main window (progress) and at its shared
// message box; unset, nothing is reported, which keeps the loops testable
// without windows.
#pragma once

// Called before each row, column or colour-table entry with (index, count).
typedef void (*ImageProgressHook)(int index, int count);
// Shows the text of a string id to the user.
typedef void (*ImageMessageHook)(int stringId);

extern ImageProgressHook ImageProgressReporter;
extern ImageMessageHook ImageMessageReporter;

void ReportImageProgress(int index, int count);
void ShowImageMessage(int stringId);

#ifdef _WIN32
#include <windows.h>
// From now on progress goes to window as WM_CAPTURE_PROGRESS (WM_USER+2,
// index, count), which the main window shows as a percentage; a null window
// stops it.
void SendImageProgressTo(HWND window);
#endif
