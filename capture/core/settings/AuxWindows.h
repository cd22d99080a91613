// The auxiliary window classes registered with the settings, and the cover
// window that shows a frozen picture of the screen during mouse selections.
#pragma once

#ifdef _WIN32
#include <windows.h>

// The class the full-screen view's windows are created with (a global class
// without cursor, brush or icon); empty until RegisterHelperWindowClasses.
extern char FullScreenViewClassName[64];

// The hidden full-screen popup of class "CoverWindow"; null outside
// RegisterHelperWindowClasses .. ReleaseCaptureResources.
extern HWND CoverWindow;

// The classes whose procedures belong to the dialogs that use them. Until a
// procedure is set, their windows behave as plain windows.
enum HelperClass {
    kBlackWhiteSwatchClass,  // "BWClass"
    kKeyCapClass,            // "KeyClass"
    kPaletteSwatchClass,     // "PLClass"
    kHelperClassCount
};
void SetHelperWindowProcedure(HelperClass which, WNDPROC procedure);

// Registers the classes and creates the hidden cover window. Returns 1, or 0
// as soon as one registration fails. Calling it again keeps what exists.
int RegisterHelperWindowClasses();

// The picture the cover window paints on background erase (the frozen
// screen); the caller keeps owning the bitmap. Null paints plain white.
void SetCoverPicture(HBITMAP picture);
LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Set by the title-bar drawing: deletes the snapshot-button and clock objects.
extern void (*CaptionObjectsReleaser)();

// At exit: removes the hooks, releases the caption objects, destroys the
// cover window.
void ReleaseCaptureResources();
#endif
