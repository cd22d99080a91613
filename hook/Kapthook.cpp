// Kapthook.dll: sees keys and clicks in every program through low-level
// keyboard and mouse hooks, and menus opening through a window-event hook,
// and reports them to the capture program's main window.
//
// Low-level hooks run on the thread that installed them, inside its message
// loop, and every key and click of the desktop waits for them; the system
// skips, and may remove, a hook that does not answer in time. The capture
// program's thread can be busy for seconds (a long pixel loop, a print job),
// so the hooks live on a thread of their own here that does nothing else.
// Their procedures only note what happened and post it to a hidden relay
// window on the installing thread; the relay then sends the report to the
// capture program, so that a whole capture can run inside that call.
#include "Kapthook.h"

namespace {

// Reports queued by the hooks for the relay window.
enum RelayMessage : UINT {
    kRelayHotkey = WM_APP + 1,   // wParam: key and modifier bits; lParam: cursor
    kRelayRequest = WM_APP + 2   // wParam: request code; lParam: as sent
};

const char kRelayClassName[] = "KapthookRelay";

HINSTANCE moduleInstance;
HWND relayWindow;     // on the installing thread
HANDLE hookThread;
DWORD hookThreadId;

// Set by the installing thread, read by the hook thread.
HWND kapturaWindow;
CRITICAL_SECTION snapRectLock;
RECT snapRect;
volatile LONG leftButtonWaiting;

// The hook thread's own.
HHOOK keyboardHook;
HHOOK mouseHook;
HWINEVENTHOOK menuOpenHook;
HWINEVENTHOOK windowCreateHook;
bool stripPressed;
// Keys seen going down and not yet up, by virtual key.
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
        // A key held down repeats its key-down; only the first one of a
        // press is a hot key, or a key held past the end of a capture
        // would start another.
        bool repeat = down && keyHeld[vk];
        keyHeld[vk] = down;
        if (down && !repeat)
            Relay(kRelayHotkey, (PlainKey(vk) & kHotkeyKeyMask) | ModifierBits(), CurrentCursor());
    }
    return CallNextHookEx(keyboardHook, code, message, data);
}

bool InsideSnapRect(POINT point)
{
    EnterCriticalSection(&snapRectLock);
    bool inside = PtInRect(&snapRect, point) != FALSE;
    LeaveCriticalSection(&snapRectLock);
    return inside;
}

// A press inside the snapshot strip and its release belong to the capture
// program alone: the window under the strip never sees them.
LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        const MSLLHOOKSTRUCT* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        if (message == WM_LBUTTONDOWN && !leftButtonWaiting && InsideSnapRect(mouse->pt)) {
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
void NoticeMenu(HWND menu)
{
    POINT cursor;
    GetCursorPos(&cursor);
    RECT bounds;
    LPARAM underCursor = menu && GetWindowRect(menu, &bounds) && PtInRect(&bounds, cursor) ? 1 : 0;
    Relay(kRelayRequest, kRequestMenuNotice, underCursor);
}

const char kMenuWindowClass[] = "#32768";

bool IsMenuWindow(HWND window)
{
    char name[sizeof kMenuWindowClass + 1] = "";
    return window && GetClassNameA(window, name, sizeof name) && lstrcmpA(name, kMenuWindowClass) == 0;
}

bool OtherMenuShown(HWND menu)
{
    for (HWND other = FindWindowExA(nullptr, nullptr, kMenuWindowClass, nullptr); other;
         other = FindWindowExA(nullptr, other, kMenuWindowClass, nullptr)) {
        if (other != menu && IsWindowVisible(other))
            return true;
    }
    return false;
}

// Some systems announce every menu that opens (EVENT_SYSTEM_MENUPOPUPSTART),
// others only the creation of its window; both reach a hook of another
// program. Only the first menu of a menu's run is noticed: a cascading menu
// opens while its parent shows and must not move the menu point, while a
// menu that takes the place of another (the pointer sliding along a menu
// bar) is noticed again, the other being gone by then.
void CALLBACK MenuEventProc(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (event == EVENT_OBJECT_CREATE && object != OBJID_WINDOW)
        return;
    if (IsMenuWindow(window) && !OtherMenuShown(window))
        NoticeMenu(window);
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

// The hook thread: installs the hooks, tells the installer, and pumps the
// messages through which the system calls them until told to quit.
DWORD WINAPI HookThread(void* started)
{
    keyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHookProc, moduleInstance, 0);
    mouseHook = SetWindowsHookExA(WH_MOUSE_LL, MouseHookProc, moduleInstance, 0);
    menuOpenHook = SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPSTART, nullptr,
                                   MenuEventProc, 0, 0, WINEVENT_OUTOFCONTEXT);
    windowCreateHook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, MenuEventProc, 0, 0,
                                       WINEVENT_OUTOFCONTEXT);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the quit can come
    SetEvent(static_cast<HANDLE>(started));
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    if (menuOpenHook)
        UnhookWinEvent(menuOpenHook);
    if (windowCreateHook)
        UnhookWinEvent(windowCreateHook);
    keyboardHook = nullptr;
    mouseHook = nullptr;
    menuOpenHook = nullptr;
    windowCreateHook = nullptr;
    return 0;
}

void StopHookThread()
{
    if (!hookThread)
        return;
    PostThreadMessageA(hookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(hookThread, 5000);
    CloseHandle(hookThread);
    hookThread = nullptr;
    hookThreadId = 0;
}

void Install()
{
    if (relayWindow)
        return;  // already installed on this run
    if (!CreateRelayWindow())
        return;
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (started)
        hookThread = CreateThread(nullptr, 0, HookThread, started, 0, &hookThreadId);
    if (hookThread)
        WaitForSingleObject(started, INFINITE);  // the thread only sets its hooks first
    if (started)
        CloseHandle(started);
    if (!hookThread) {
        DestroyWindow(relayWindow);  // a later install tries again
        relayWindow = nullptr;
    }
}

void Remove()
{
    StopHookThread();
    if (relayWindow)
        DestroyWindow(relayWindow);
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
    EnterCriticalSection(&snapRectLock);
    if (rect)
        snapRect = *rect;
    else
        SetRectEmpty(&snapRect);
    LeaveCriticalSection(&snapRectLock);
}

void __cdecl PassLeftButtonStatus(int waiting) { InterlockedExchange(&leftButtonWaiting, waiting ? 1 : 0); }

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        moduleInstance = instance;
        InitializeCriticalSection(&snapRectLock);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
