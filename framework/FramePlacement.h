// A frame's position, size and show state kept in the program's profile as
// one value (see WindowPlacementText.h), so that it reopens where it was.
#pragma once

#include "Wnd.h"

// Writes the window's placement under section and key.
BOOL KfSaveWindowPlacement(CWnd* wnd, LPCSTR section, LPCSTR key);
// Puts the window where the profile says, shown with the stored show state
// (a minimised one comes back normal). FALSE, and nothing changed, when the
// value is missing, malformed or off the screen.
BOOL KfRestoreWindowPlacement(CWnd* wnd, LPCSTR section, LPCSTR key);
