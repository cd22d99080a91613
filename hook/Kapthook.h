// Kapthook.dll: system-wide keyboard and mouse hooks for the capture
// program. It reports to the window given by PassKapturaWnd:
//   WM_CAPTURE_HOTKEY  wParam = virtual key (bits 0-15) | modifier bits,
//                      lParam = the cursor shown at that moment (or 0);
//   WM_CAPTURE_REQUEST wParam 14 when the left button goes down inside the
//                      snapshot strip, 13 when it comes up after such a press,
//                      15 when a menu opens (lParam 1 when the menu window
//                      lies under the cursor, else 0).
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#define WM_CAPTURE_REQUEST (WM_USER + 1)
#define WM_CAPTURE_PROGRESS (WM_USER + 2)
#define WM_CAPTURE_HOTKEY (WM_USER + 3)
#define WM_CAPTURE_TRAY (WM_USER + 4)

// Capture request codes the library sends.
enum {
    kRequestStripReleased = 13,
    kRequestStripPressed = 14,
    kRequestMenuNotice = 15
};

// Modifier bits of WM_CAPTURE_HOTKEY: each is clear while its key is held.
enum {
    kHotkeyBitEsc = 1 << 28,
    kHotkeyBitShift = 1 << 24,
    kHotkeyBitCtrl = 1 << 20,
    kHotkeyBitAlt = 1 << 16,
    kHotkeyKeyMask = 0xFFFF
};

#ifdef _WIN32
#ifdef __cplusplus
extern "C" {
#endif
void __cdecl InstallHooks(int install);
void __cdecl PassKapturaWnd(HWND window);
void __cdecl PassSnapRect(const RECT* rect);
void __cdecl PassLeftButtonStatus(int waiting);
#ifdef __cplusplus
}
#endif
#endif
