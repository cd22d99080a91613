// The standard 16 colours and the procedures of the two swatch window
// classes that show them: "BWClass" (a plain swatch, the Black and White
// dialog's) and "PLClass" (a swatch that can be selected, with a focus
// rectangle). A swatch's colour is the table colour of its control id - 100.
#pragma once

#include <windows.h>

enum { kStandardColorCount = 16, kSwatchFirstId = 100 };
// In the order of the BlackWhite flags: black, dark red, dark green, dark
// yellow, dark blue, dark magenta, dark cyan, gray, silver, red, green,
// yellow, blue, magenta, cyan, white.
extern const COLORREF StandardColors[kStandardColorCount];

// Gives the two classes (registered with the settings) their procedures.
void InstallSwatchProcedures();
LRESULT CALLBACK ColorSwatchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PaletteSwatchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The index of the PLClass swatch selected last, -1 before any.
int SelectedPaletteSwatch();
