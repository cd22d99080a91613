// Kapthook.dll: sees keys and clicks in every program through low-level
// keyboard and mouse hooks, and menus opening through a window-event hook,
// and reports them to the capture program's main window.
//
// Low-level hooks run on the thread that installed them, inside its message
// loop, and the system drops a hook that keeps input waiting too long. The
// hook procedures therefore only note what happened and post it to a hidden
// relay window; the relay then sends the report to the capture program, so
// that a whole capture can run inside that call without stalling the input
// of the desktop.
#include "Kapthook.h"

namespace {

// Reports queued by the hooks for the relay window.
enum RelayMessage : UINT {
    kRelayHotkey = WM_APP + 1,   // wParam: key and modifier bits; lParam: cursor
    kRelayRequest = WM_APP + 2   // wParam: request code; lParam: as sent
};

const char kRelayClassName[] = "KapthookRelay";

HINSTANCE moduleInstance;
HHOOK keyboardHook;
HHOOK mouseHook;
HWINEVENTHOOK menuHook;
HWND relayWindow;

HWND kapturaWindow;
RECT snapRect;
int leftButtonWaiting;
bool stripPressed;

// Modifier keys seen going down and not yet up, by virtual key.
bool keyHeld[256];

bool IsHeld(const UINT* keys, int count)
{
    for (int i = 0; i < count; ++i) {
        if (keyHeld[keys[i]] || (GetAsyncKeyState(int(keys[i])) & 0x8000))
            return true;
    }
    return false;
}

// The four modifier bits: each is set unless its key is held.
WPARAM ModifierBits()
{
    static const UINT esc[] = {VK_ESCAPE};
    static const UINT shift[] = {VK_SHIFT, VK_LSHIFT, VK_RSHIFT};
    static const UINT ctrl[] = {VK_CONTROL, VK_LCONTROL, VK_RCONTROL};
    static const UINT alt[] = {VK_MENU, VK_LMENU, VK_RMENU};
    WPARAM bits = 0;
    if (!IsHeld(esc, 1))
        bits |= kHotkeyBitEsc;
    if (!IsHeld(shift, 3))
        bits |= kHotkeyBitShift;
    if (!IsHeld(ctrl, 3))
        bits |= kHotkeyBitCtrl;
    if (!IsHeld(alt, 3))
        bits |= kHotkeyBitAlt;
    return bits;
}

// Left and right modifier keys are reported as the plain key.
UINT PlainKey(UINT key)
{
    switch (key) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return key;
    }
}

LPARAM CurrentCursor()
{
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info) || !(info.flags & CURSOR_SHOWING))
        return 0;
    return LPARAM(info.hCursor);
}

void Relay(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (relayWindow)
        PostMessageA(relayWindow, message, wParam, lParam);
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        UINT vk = key->vkCode & 0xFF;
        bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        keyHeld[vk] = down;
        if (down)
            Relay(kRelayHotkey, (PlainKey(vk) & kHotkeyKeyMask) | ModifierBits(), CurrentCursor());
    }
    return CallNextHookEx(keyboardHook, code, message, data);
}

// A press inside the snapshot strip and its release belong to the capture
// program alone: the window under the strip never sees them.
LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        const MSLLHOOKSTRUCT* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        if (message == WM_LBUTTONDOWN && !leftButtonWaiting && PtInRect(&snapRect, mouse->pt)) {
            stripPressed = true;
            Relay(kRelayRequest, kRequestStripPressed, 0);
            return 1;
        }
        if (message == WM_LBUTTONUP && stripPressed) {
            stripPressed = false;
            Relay(kRelayRequest, kRequestStripReleased, 0);
            return 1;
        }
    }
    return CallNextHookEx(mouseHook, code, message, data);
}

// A pop-up menu opens under the cursor; a menu dropped from a bar opens
// below it.
void CALLBACK MenuEventProc(HWINEVENTHOOK, DWORD, HWND menu, LONG, LONG, DWORD, DWORD)
{
    POINT cursor;
    GetCursorPos(&cursor);
    RECT bounds;
    LPARAM underCursor = menu && GetWindowRect(menu, &bounds) && PtInRect(&bounds, cursor) ? 1 : 0;
    Relay(kRelayRequest, kRequestMenuNotice, underCursor);
}

LRESULT CALLBACK RelayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRelayHotkey || message == kRelayRequest) {
        if (kapturaWindow && IsWindow(kapturaWindow))
            SendMessageA(kapturaWindow, message == kRelayHotkey ? WM_CAPTURE_HOTKEY : WM_CAPTURE_REQUEST,
                         wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateRelayWindow()
{
    WNDCLASSA type = {};
    if (!GetClassInfoA(moduleInstance, kRelayClassName, &type)) {
        type = WNDCLASSA{};
        type.lpfnWndProc = RelayWindowProc;
        type.hInstance = moduleInstance;
        type.lpszClassName = kRelayClassName;
        if (!RegisterClassA(&type))
            return false;
    }
    relayWindow = CreateWindowExA(0, kRelayClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  moduleInstance, nullptr);
    return relayWindow != nullptr;
}

void Install()
{
    if (relayWindow)
        return;  // already installed on this run
    if (!CreateRelayWindow())
        return;
    keyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, moduleInstance, 0);
    mouseHook = SetWindowsHookExA(WH_MOUSE_LL, MouseHookProc, moduleInstance, 0);
    menuHook = SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPSTART, nullptr,
                               MenuEventProc, 0, 0, WINEVENT_OUTOFCONTEXT);
}

void Remove()
{
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    if (menuHook)
        UnhookWinEvent(menuHook);
    if (relayWindow)
        DestroyWindow(relayWindow);
    keyboardHook = nullptr;
    mouseHook = nullptr;
    menuHook = nullptr;
    relayWindow = nullptr;
    stripPressed = false;
    for (bool& held : keyHeld)
        held = false;
}

}  // namespace

extern "C" {

void __cdecl InstallHooks(int install)
{
    if (install)
        Install();
    else
        Remove();
}

void __cdecl PassKapturaWnd(HWND window) { kapturaWindow = window; }

void __cdecl PassSnapRect(const RECT* rect)
{
    if (rect)
        snapRect = *rect;
    else
        SetRectEmpty(&snapRect);
}

void __cdecl PassLeftButtonStatus(int waiting) { leftButtonWaiting = waiting; }

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
