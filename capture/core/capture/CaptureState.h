// The state of the one capture that may run at a time, shared by the
// dispatch, the capture engine and the capture kinds. The flags
// CaptureRunning and DecorationsSuspended live with the settings
// (Settings.h), which clear them at load.
#pragma once

#ifdef _WIN32
#include <windows.h>

struct CaptureState {
    int type = 0;                  // capture type now being captured, 1-17
    HWND startWindow = nullptr;    // the foreground window at dispatch
    RECT rectangle = {0, 0, 0, 0}; // screen pixels to copy
    HCURSOR pointerShape = nullptr;// last cursor the hook library reported
    POINT menuPoint = {0, 0};      // cursor position at the last menu notice
    LPARAM menuNotice = 0;         // lParam of the last menu notice
    bool stripPressed = false;     // a snapshot button is held down
    int pressedSlot = 0;           // which one (0-5)
};

extern CaptureState CurrentCapture;

// Set while a modal operation runs (the Open dialog, printing); no capture
// starts then.
extern int ModalBusy;
#endif
