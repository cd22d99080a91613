// Small routines of the capture program's application that every part uses.
#pragma once

#ifdef _WIN32
#include <windows.h>

// The text of string id in a message box (OK, exclamation icon) titled with
// the application title; returns when the user closes it.
void ShowStringMessage(int stringId);
// Dispatches every message waiting in the queue, then returns. Long loops
// call it between steps so that the screen repaints.
void PumpMessages();
// The main frame's window, or null before it exists.
HWND MainFrameWindow();
// The help file beside the program ("Kaptura99.hlp").
extern char HelpFilePath[MAX_PATH];
#endif
