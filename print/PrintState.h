// The print state of the process: the cached settings section, the chosen
// printer with its device settings, the record being printed and the
// options of the section. One user-interface thread; the exports run one at
// a time.
#pragma once

#include <windows.h>

#include <ctime>
#include <string>
#include <vector>

#include "Pagent.h"
#include "PrintDateTime.h"
#include "PrintSettings.h"

// The library's own module (its resources and window classes).
extern HINSTANCE g_libraryModule;

namespace pagent {

class PrintMeterDialog;

struct PrintState {
    std::string section;              // of the running call; empty: nothing loaded
    bool sectionCached = false;       // false: the next call loads again
    std::string settingsFile;
    PrinterNames printer;
    HGLOBAL devMode = nullptr;        // the printer's raw device-mode block
    ImageRecord current{};            // the image the jobs print
    int sheetMode = 1;
    HGLOBAL callerBlock = nullptr;    // the one-by-one run
    int recordCount = 0;
    int previewIndex = 0;
    std::vector<ImageRecord*> pageList;
    int alignBox = 4;                 // the sheets' alignment box, 0-17
    HWND openPreview = nullptr;       // the preview of the open sheet
    HGLOBAL ownNote = nullptr;        // a note edited in the sheet
    time_t printTime = 0;
    bool abort = false;
    bool busy = false;                // an export is running
    int screenBits = 0, screenWidth = 0, screenHeight = 0;
    PrintSettings settings;
    CalendarNames names;
    PrintMeterDialog* meter = nullptr;
};

PrintState& State();

// The common first step of every export: loads printer and settings unless
// the same section (without regard to case) is cached. False, after message
// 32001, when there is no printer.
bool BeginPrintCall(const char* section, const char* settingsFile);
// Re-reads the options of the cached section; the print time becomes now.
void LoadPrintSettings();
// Forgets the cached section. A running call goes on with the section
// and options it loaded; the next call loads them again.
void ForgetCachedSection();

// A warning box titled "Print" with the library's text of that id.
void ShowPrintMessage(UINT id);
// Takes every pending message of the thread and dispatches it.
void PumpMessages();
// A string of the library's string table.
std::string LoadLibraryString(UINT id);

// Printer selection (PrinterChoice.cpp).
// Chooses the printer of the section's Printer key, else the system default.
void LoadPrinterSettings(const std::string& section, const std::string& settingsFile);
bool LoadDefaultDevMode();
bool ReadDevModeFile();
void WriteDevModeFile();
void RunPrinterSetup();
// A printer device context for the chosen printer with the held device
// settings; 0 when it cannot be made.
HDC CreateJobDC();
// True when the printer of dc can take bitmaps; otherwise the user is told
// and dc is deleted.
bool TakesBitmapsOrRelease(HDC dc);
// The device-settings file's path: the Windows folder and "\KTPrint.ini".
std::string DevModeFilePath();

}  // namespace pagent
