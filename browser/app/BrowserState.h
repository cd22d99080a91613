// What the whole browser shares for the length of a run: the format and
// drive choices, the scan counters, the full-screen background, the screen
// metrics, the settings and help paths, and the running scan's cancel flag.
#pragma once

#include <windows.h>

#include "../../framework/CString.h"
#include "../model/BrowserFormats.h"

struct BrowserState {
    int formatFlags[kBrowserFormatCount];
    int driveFlags[kBrowserDriveCount];   // C: first
    ScanCounters counters;
    COLORREF background;
    int screenWidth;
    int screenHeight;
    int screenDepth;
    bool scanCancelled;
    bool scanRunning;
    bool closeAfterScan;    // the frame was asked to close during the scan
    CString settingsPath;   // <Windows folder>\Pixorama.ini
    CString helpPath;       // Kaptura99.hlp beside the program
};

extern BrowserState Browser;
extern const char kFullScreenClass[];

// The settings and help paths.
void InitPaths();
// The three stored values, the screen metrics and the full-screen window
// class.
void LoadSettings();
void SaveSelection();
void SaveBackground();
// A message box titled "Pixorama 99", owned by the main window.
int BrowserMessage(const char* text, UINT type = MB_OK);
// The string's text in a plain message box owned by the main window.
void ShowStringMessage(int stringId);
