// kdriver: drives the suite's programs from end-to-end tests with window
// messages. One command per call; the exit code is 0 on success, and any
// answer is printed on standard output. "kdriver serve" answers one command
// after another from standard input (see Serve), which spares a case the
// start of a Windows process for each step.
//
//   kdriver wait-window <class|-> <title|->  [seconds]   print the handle when it appears
//   kdriver find-prop <property> [seconds]               top-level window carrying the property
//   kdriver send <hwnd> <message> <wparam> <lparam>      SendMessage, print the result
//   kdriver post <hwnd> <message> <wparam> <lparam>      PostMessage
//   kdriver post-pair <hwnd> <m1> <w1> <l1> <m2> <w2> <l2>  two messages posted back to back, so
//                                                        that the second waits in the queue while
//                                                        the first is handled
//   kdriver command <hwnd> <id>                          WM_COMMAND with a menu id (sent)
//   kdriver timed-command <hwnd> <id>                    the same, then the seconds the send took
//   kdriver post-command <hwnd> <id>                     the same, posted (for commands that prompt)
//   kdriver hotkey <hwnd> <key> [modifiers]              WM_USER+3 as the hook library sends it;
//                                                        modifiers: letters e s c a (Esc, Shift,
//                                                        Ctrl, Alt), key: a character or 0x..
//   kdriver drag <x1> <y1> <x2> <y2>                     the real mouse: press at the first screen
//                                                        point, move to the second, release
//   kdriver title <hwnd>                                 print the window text
//   kdriver text <hwnd>                                  print what the window says it holds
//                                                        (WM_GETTEXT: an edit control's text)
//   kdriver children <hwnd>                              print class and text of each child
//   kdriver mdi-children <hwnd>                          print the titles of the MDI child windows
//   kdriver cut-off <hwnd>                               print class and text of each visible child
//                                                        that reaches past the window's client area
//   kdriver text-fit <hwnd> [face] [points]              print id, class, text and the room needed and had
//                                                        of each visible static or button (any kind) whose
//                                                        text, measured with its own font, does not fit it
//                                                        (where its font cannot be read: the face given,
//                                                        "MS Shell Dlg" 8 points unless told); a path
//                                                        shortened in its middle fits when "...\" and
//                                                        its last part do
//   kdriver focus <hwnd>                                 print the window with the keyboard focus on the
//                                                        window's thread (0x0: none)
//   kdriver visible <hwnd>                               print 1 when visible, 0 when hidden
//   kdriver iconic <hwnd>                                print 1 when minimised, else 0
//   kdriver wait-visible <hwnd> <0|1> [seconds]          until the window is shown (1) or hidden (0)
//   kdriver status-text <hwnd> <pane>                    text of a pane of the window's status bar
//   kdriver toolbar-state <hwnd> <id>                    a toolbar button's "enabled"/"disabled"
//                                                        and ",checked"
//   kdriver wait-dialog <pid|-> <title|-> [seconds]      a dialog box (class #32770) of that process
//   kdriver watch-dialog <ready-file> <pid|-> <title|-> [seconds]  wait-dialog that makes the file once
//                                                        it is looking: start the program after that,
//                                                        and a dialog of a moment is not missed
//   kdriver dialog-text <hwnd>                           the texts of a dialog's static controls
//   kdriver answer <hwnd> <id>                           press a dialog's button by its id
//   kdriver close <hwnd>                                 WM_CLOSE and wait for the window to go
//   kdriver wait-gone <hwnd> [seconds]                   until the window no longer exists
//   kdriver window-pid <hwnd>                            the id of the window's process
//   kdriver set-text <hwnd> <id> <text>                  set the text of a dialog's control
//   kdriver set-window-text <hwnd> <text>                set a window's own text (an edit control's)
//   kdriver item <hwnd> <id>                             print the handle of a dialog's control
//   kdriver enabled <hwnd>                               print 1 when enabled, 0 when disabled
//   kdriver height <hwnd>                                print the window's height in pixels
//   kdriver combo-select <hwnd> <id> <index>             choose a drop-down entry as the user does
//                                                        (selection, then CBN_SELCHANGE sent)
//   kdriver tree-select <tree> <path>                    select the item at a path of item texts
//                                                        ("My Computer\M:\in"), expanding each
//                                                        item on the way
//   kdriver tree-items <tree> <path>                     print the texts of the children of the
//                                                        item at a path, expanding it first
//   kdriver tree-button <tree> <path>                    print the screen point of the item's
//                                                        expand button, for a real click
//   kdriver tree-marked <tree>                           print each selected, drop-highlighted or
//                                                        expanded item: its path, a tab, its states
//   kdriver list-rows <list>                             print each row of a list view, the
//                                                        columns separated by tabs
//   kdriver list-view <list>                             top row, rows a page holds, row count
//   kdriver list-select <list> all|none|<text>...        select every row, none, or the named rows
//   kdriver column-click <list> <column>                 the real mouse clicks a list's column head
//   kdriver menu-popups <hwnd>                           the screen rectangle (left top right bottom)
//                                                        of each open popup menu of the window's process
//   kdriver menubar-rect <frame> <index>                 the screen rectangle of a button of the menu
//                                                        bar in the frame's rebar; index -1: the bar's own
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include <fcntl.h>
#include <io.h>

namespace {

// Window handles and message values are pointer-sized: read and written at full width.
HWND ParseWindow(const char* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(text, nullptr, 0))); }

LPARAM ParseNumber(const char* text) { return static_cast<LPARAM>(strtoll(text, nullptr, 0)); }

const char* OrNull(const char* text) { return strcmp(text, "-") == 0 ? nullptr : text; }

void PrintWindow(HWND window) { printf("0x%" PRIxPTR "\n", reinterpret_cast<uintptr_t>(window)); }

// Every failed call says why on standard error and ends with status 1.
int Fail(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    vfprintf(stderr, format, arguments);
    va_end(arguments);
    fputc('\n', stderr);
    return 1;
}

// A Windows call that failed, with the error it left.
int FailCall(const char* what) { return Fail("%s failed (error %lu)", what, GetLastError()); }

// Polls found() every 100 ms until it gives a window or the time is up.
template <class Finder>
int WaitFor(double seconds, Finder found)
{
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    do {
        if (HWND window = found()) {
            PrintWindow(window);
            return 0;
        }
        Sleep(100);
    } while (static_cast<LONG>(deadline - GetTickCount()) > 0);
    return Fail("no such window within %g s", seconds);
}

int WaitWindow(const char* className, const char* title, double seconds)
{
    return WaitFor(seconds, [&] { return FindWindowA(OrNull(className), OrNull(title)); });
}

struct PropertySearch {
    const char* property;
    HWND found;
};

BOOL CALLBACK CheckProperty(HWND window, LPARAM data)
{
    PropertySearch* search = reinterpret_cast<PropertySearch*>(data);
    if (GetPropA(window, search->property)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int FindProperty(const char* property, double seconds)
{
    return WaitFor(seconds, [&] {
        PropertySearch search = {property, nullptr};
        EnumWindows(CheckProperty, reinterpret_cast<LPARAM>(&search));
        return search.found;
    });
}

struct DialogSearch {
    DWORD process;   // 0: any
    const char* title;
    HWND found;
};

BOOL CALLBACK CheckDialog(HWND window, LPARAM data)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(data);
    char className[64], text[256];
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window) &&
        (!search->process || search->process == process) && (!search->title || strcmp(search->title, text) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A dialog box of the process (or any) with the title (or any). With a
// `ready` file, the file is made once the first look is done: a caller
// waits for it before it starts the program, and then a window that lives
// a moment only (a splash) cannot be missed.
int WaitDialog(const char* process, const char* title, double seconds, const char* ready = nullptr)
{
    return WaitFor(seconds, [&] {
        DialogSearch search = {OrNull(process) ? static_cast<DWORD>(strtoul(process, nullptr, 0)) : 0,
                               OrNull(title), nullptr};
        EnumWindows(CheckDialog, reinterpret_cast<LPARAM>(&search));
        if (ready) {
            HANDLE file = CreateFileA(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
            ready = nullptr;
        }
        return search.found;
    });
}

BOOL CALLBACK PrintChild(HWND child, LPARAM)
{
    char className[128], text[512];
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    printf("0x%" PRIxPTR "\t%s\t%s\n", reinterpret_cast<uintptr_t>(child), className, text);
    return TRUE;
}

// A visible direct child not wholly inside its parent's client area: the
// part outside it is cut off for the user.
BOOL CALLBACK PrintCutOffChild(HWND child, LPARAM)
{
    HWND parent = GetParent(child);
    if (!IsWindowVisible(child) || !parent)
        return TRUE;
    RECT client, area;
    GetClientRect(parent, &client);
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    if (area.left >= client.left && area.top >= client.top && area.right <= client.right &&
        area.bottom <= client.bottom)
        return TRUE;
    return PrintChild(child, 0);
}

// ---- Texts that do not fit their controls -----------------------------------
// Each visible static, button, check box, radio button and group box is
// measured with its own font against its own client area, as the control
// draws it: word-wrapped statics by height, single-line texts by width.

// The face the suite's dialogs are laid out in, and its size in points.
const char* dialogFace = "MS Shell Dlg";
int dialogPoints = 8;

// A copy of the control's font in this process. A font handle does not
// cross processes everywhere (Wine answers WM_GETFONT from another process
// with none, and a box whose thread is busy working answers nothing): then
// the dialogs' face, made as the dialog manager makes it.
HFONT FontOfControl(HWND control)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer);
    HFONT font = reinterpret_cast<HFONT>(answer);
    LOGFONTA face{};
    if (font && GetObjectA(font, sizeof face, &face) == sizeof face)
        return CreateFontIndirectA(&face);
    HDC screen = GetDC(nullptr);
    face.lfHeight = -MulDiv(dialogPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(face.lfFaceName, dialogFace, sizeof face.lfFaceName);
    return CreateFontIndirectA(&face);
}

struct TextRoom {
    RECT area;        // where the control draws its text
    UINT format;      // DrawText flags it draws with
    bool measured;    // a kind of control whose text is checked
    bool pathTail;    // a path shortened in its middle: only "...\name" must fit
};

TextRoom StaticRoom(LONG style, const RECT& client)
{
    TextRoom room{client, DT_EXPANDTABS, true, false};
    if (style & SS_NOPREFIX)
        room.format |= DT_NOPREFIX;
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
        // A text with an ellipsis style is shortened on purpose; a path keeps
        // its last part whole, so that part must fit.
        if ((style & SS_ELLIPSISMASK) == SS_PATHELLIPSIS) {
            room.pathTail = true;
            room.format |= DT_SINGLELINE;
        } else if (style & SS_ELLIPSISMASK) {
            room.measured = false;
        } else {
            room.format |= DT_WORDBREAK;
        }
        break;
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
        room.format |= DT_SINGLELINE;
        break;
    default:
        room.measured = false;   // icons, frames, bitmaps, owner-drawn
    }
    return room;
}

TextRoom ButtonRoom(LONG style, const RECT& client)
{
    TextRoom room{client, (style & BS_MULTILINE) ? UINT(DT_WORDBREAK) : UINT(DT_SINGLELINE), true, false};
    const int edge = GetSystemMetrics(SM_CXEDGE);
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        InflateRect(&room.area, -edge, -edge);   // the raised edge
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        // The glyph and the gap before the text; the text's own focus rectangle.
        room.area.left += GetSystemMetrics(SM_CXMENUCHECK) + edge;
        room.area.right -= 1;
        break;
    case BS_GROUPBOX:
        InflateRect(&room.area, -4 * edge, 0);   // the frame's corners on either side of the title
        room.format = DT_SINGLELINE;
        break;
    default:
        room.measured = false;   // owner-drawn and user buttons
    }
    return room;
}

// Prints the control when its text needs more room than it has.
BOOL CALLBACK PrintUnfitText(HWND child, LPARAM)
{
    char className[128], text[1024];
    if (!IsWindowVisible(child) || !GetClassNameA(child, className, sizeof className) ||
        GetWindowTextA(child, text, sizeof text) <= 0)
        return TRUE;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    RECT client;
    GetClientRect(child, &client);
    TextRoom room{};
    if (_stricmp(className, "Static") == 0)
        room = StaticRoom(style, client);
    else if (_stricmp(className, "Button") == 0)
        room = ButtonRoom(style, client);
    if (!room.measured)
        return TRUE;
    const char* measured = text;
    char tail[sizeof text] = "...";
    if (room.pathTail && strrchr(text, '\\')) {
        lstrcpynA(tail + 3, strrchr(text, '\\'), sizeof tail - 3);
        measured = tail;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = FontOfControl(child);
    HGDIOBJ old = SelectObject(dc, font);
    const LONG width = room.area.right - room.area.left, height = room.area.bottom - room.area.top;
    RECT needed = {0, 0, width, 0};
    DrawTextA(dc, measured, -1, &needed, room.format | DT_CALCRECT);
    // A text shorter than the box is drawn inside it whatever the box's height.
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const LONG neededHeight = (room.format & DT_SINGLELINE) ? 0 : needed.bottom - needed.top;
    const bool fits = needed.right - needed.left <= width &&
                      (neededHeight <= height || neededHeight <= metrics.tmHeight);
    SelectObject(dc, old);
    if (font)
        DeleteObject(font);
    DeleteDC(dc);
    if (!fits)
        printf("%d\t%s\t%s\tneeds %ldx%ld, has %ldx%ld\n", GetDlgCtrlID(child), className, text,
               needed.right - needed.left, neededHeight, width, height);
    return TRUE;
}

// The window that has the keyboard focus on the thread of `window`, or 0x0.
int PrintFocus(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        fprintf(stderr, "no thread information\n");
        return 1;
    }
    PrintWindow(info.hwndFocus);
    return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM)
{
    char className[128], text[1024];
    GetClassNameA(child, className, sizeof className);
    if (_stricmp(className, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
        printf("%s\n", text);
    return TRUE;
}

int MdiChildren(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    if (!client)
        return Fail("no MDI client");
    for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[512];
        GetWindowTextA(child, text, sizeof text);
        printf("%s\n", text);
    }
    return 0;
}

// The modifier bits of a hot key: set for each key not held.
WPARAM HotkeyBits(const char* modifiers)
{
    WPARAM bits = (1u << 28) | (1u << 24) | (1u << 20) | (1u << 16);
    for (const char* letter = modifiers; *letter; ++letter) {
        switch (tolower(static_cast<unsigned char>(*letter))) {
        case 'e': bits &= ~(1u << 28); break;
        case 's': bits &= ~(1u << 24); break;
        case 'c': bits &= ~(1u << 20); break;
        case 'a': bits &= ~(1u << 16); break;
        default: break;
        }
    }
    return bits;
}

int Hotkey(HWND window, const char* key, const char* modifiers)
{
    WPARAM code = strlen(key) == 1 ? static_cast<WPARAM>(toupper(static_cast<unsigned char>(key[0])))
                                   : static_cast<WPARAM>(strtoul(key, nullptr, 0));
    DWORD_PTR result = 0;
    // Sent as the hook library does; a prompt the key opens must not hang us.
    SendMessageTimeoutA(window, WM_USER + 3, HotkeyBits(modifiers) | (code & 0xFFFF), 0, SMTO_NORMAL, 5000,
                        &result);
    return 0;
}

// Status-bar texts live in the other process: read them through a buffer
// allocated there.
int StatusText(HWND frame, int pane)
{
    HWND bar = FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr);
    if (!bar)
        return Fail("no status bar");
    DWORD processId = 0;
    GetWindowThreadProcessId(bar, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return FailCall("OpenProcess of the status bar's process");
    const SIZE_T size = 1024;
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    char text[size] = {};
    if (remote) {
        SendMessageA(bar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(remote));
        SIZE_T done = 0;
        ReadProcessMemory(process, remote, text, size - 1, &done);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    if (!remote)
        return Fail("no memory in the status bar's process");
    printf("%s\n", text);
    return 0;
}

// The toolbar of the frame that has a button `id`: a toolbar of its own or
// one in its rebar (beside the menu bar).
HWND FindToolbarWithButton(HWND frame, UINT id)
{
    HWND rebar = FindWindowExA(frame, nullptr, REBARCLASSNAMEA, nullptr);
    for (HWND parent : {frame, rebar}) {
        for (HWND bar = parent ? FindWindowExA(parent, nullptr, TOOLBARCLASSNAMEA, nullptr) : nullptr; bar;
             bar = FindWindowExA(parent, bar, TOOLBARCLASSNAMEA, nullptr)) {
            if (SendMessageA(bar, TB_COMMANDTOINDEX, id, 0) >= 0)
                return bar;
        }
    }
    return nullptr;
}

// Menus of another process cannot be read under Wine; the toolbar's buttons
// show the same command states.
int ToolbarState(HWND frame, UINT id)
{
    HWND bar = FindToolbarWithButton(frame, id);
    if (!bar)
        return Fail("no toolbar with button %u", id);
    LRESULT state = SendMessageA(bar, TB_GETSTATE, id, 0);
    printf("%s%s\n", state & TBSTATE_ENABLED ? "enabled" : "disabled", state & TBSTATE_CHECKED ? ",checked" : "");
    return 0;
}

void PrintRect(const RECT& rect) { printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom); }

BOOL CALLBACK PrintPopup(HWND window, LPARAM processId)
{
    char className[16] = "";
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, className, sizeof className);
    if (owner == static_cast<DWORD>(processId) && strcmp(className, "#32768") == 0 && IsWindowVisible(window)) {
        RECT rect;
        GetWindowRect(window, &rect);
        PrintRect(rect);
    }
    return TRUE;
}

int MenuPopups(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    EnumWindows(PrintPopup, static_cast<LPARAM>(processId));
    return 0;
}

// The menu bar is the rebar's toolbar whose first button has command 0 (its
// buttons are numbered by menu position); its button rectangles live in the
// other process.
int MenuBarRect(HWND frame, int index)
{
    HWND rebar = FindWindowExA(frame, nullptr, REBARCLASSNAMEA, nullptr);
    HWND bar = rebar ? FindWindowExA(rebar, nullptr, TOOLBARCLASSNAMEA, nullptr) : nullptr;
    while (bar && SendMessageA(bar, TB_COMMANDTOINDEX, 0, 0) != 0)
        bar = FindWindowExA(rebar, bar, TOOLBARCLASSNAMEA, nullptr);
    if (!bar)
        return Fail("no menu bar");
    RECT rect{};
    if (index < 0) {
        GetWindowRect(bar, &rect);
        PrintRect(rect);
        return 0;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(bar, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return FailCall("OpenProcess of the menu bar's process");
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    bool found = remote && SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote));
    SIZE_T done = 0;
    if (found)
        found = ReadProcessMemory(process, remote, &rect, sizeof rect, &done) && done == sizeof rect;
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!found)
        return Fail("no menu bar button %d", index);
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    PrintRect(rect);
    return 0;
}

int WaitVisible(HWND window, bool shown, double seconds)
{
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    while (!IsWindowVisible(window) != !shown) {
        if (static_cast<LONG>(deadline - GetTickCount()) <= 0)
            return Fail("the window is still %s after %g s", shown ? "hidden" : "shown", seconds);
        Sleep(100);
    }
    return 0;
}

int WaitGone(HWND window, double seconds)
{
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    while (IsWindow(window)) {
        if (static_cast<LONG>(deadline - GetTickCount()) <= 0)
            return Fail("the window is still there after %g s", seconds);
        Sleep(100);
    }
    return 0;
}

// A posted message; a window that went meanwhile is named as such.
int Post(HWND window, LPARAM message, LPARAM wParam, LPARAM lParam)
{
    if (PostMessageA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam), lParam))
        return 0;
    if (!IsWindow(window))
        return Fail("the window went before the message was posted");
    return FailCall("PostMessage");
}

int Close(HWND window)
{
    if (int failed = Post(window, WM_CLOSE, 0, 0))
        return failed;
    return WaitGone(window, 10);
}

void MouseInput(DWORD flags, int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(50);
}

int Drag(int x1, int y1, int x2, int y2)
{
    MouseInput(0, x1, y1);
    MouseInput(MOUSEEVENTF_LEFTDOWN, x1, y1);
    for (int step = 1; step <= 4; ++step)
        MouseInput(0, x1 + (x2 - x1) * step / 4, y1 + (y2 - y1) * step / 4);
    MouseInput(MOUSEEVENTF_LEFTUP, x2, y2);
    return 0;
}

// Tree and list items live in the other process: their texts are read and
// their states set through a block allocated there.
class RemoteBlock {
public:
    RemoteBlock(HWND window, SIZE_T size) : size_(size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            address_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBlock()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    bool ok() const { return address_ != nullptr; }
    char* at(SIZE_T offset) const { return address_ + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T bytes)
    {
        SIZE_T done = 0;
        return offset + bytes <= size_ && WriteProcessMemory(process_, address_ + offset, data, bytes, &done);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T bytes)
    {
        SIZE_T done = 0;
        return offset + bytes <= size_ && ReadProcessMemory(process_, address_ + offset, data, bytes, &done);
    }

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
    SIZE_T size_;
};

const SIZE_T kTextOffset = 256;
const int kTextMax = 1024;

bool TreeItemText(HWND tree, RemoteBlock& block, HTREEITEM item, char* text)
{
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = block.at(kTextOffset);
    info.cchTextMax = kTextMax;
    text[0] = 0;
    if (!block.Write(0, &info, sizeof info) || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.at(0))))
        return false;
    block.Read(kTextOffset, text, kTextMax);
    text[kTextMax - 1] = 0;
    return true;
}

HTREEITEM FindTreeChild(HWND tree, RemoteBlock& block, HTREEITEM parent, const char* name)
{
    HTREEITEM child = parent ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)))
                             : reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    char text[kTextMax];
    for (; child; child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        if (TreeItemText(tree, block, child, text) && _stricmp(text, name) == 0)
            return child;
    return nullptr;
}

// The item at a path of item texts, each item on the way expanded.
HTREEITEM FindTreePath(HWND tree, RemoteBlock& block, const char* path)
{
    HTREEITEM item = nullptr;
    char parts[1024];
    snprintf(parts, sizeof parts, "%s", path);
    for (char* name = strtok(parts, "\\"); name; name = strtok(nullptr, "\\")) {
        // Opened first, as a user would before clicking a child (the
        // program may list the folder afresh on expansion).
        if (item)
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        HTREEITEM child = FindTreeChild(tree, block, item, name);
        if (!child) {
            Fail("no tree item %s", name);
            return nullptr;
        }
        item = child;
    }
    return item;
}

int TreeSelect(HWND tree, const char* path)
{
    RemoteBlock block(tree, kTextOffset + kTextMax);
    if (!block.ok())
        return Fail("no memory in the tree's process");
    HTREEITEM item = FindTreePath(tree, block, path);
    if (!item)
        return 1;
    return SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) ? 0
                                                                                          : Fail("the tree refused to select %s", path);
}

// The screen point of an item's expand button ("+" / "-"), found by hit
// tests left of its text, for a real click.
int TreeButton(HWND tree, const char* path)
{
    RemoteBlock block(tree, kTextOffset + kTextMax);
    if (!block.ok())
        return Fail("no memory in the tree's process");
    HTREEITEM item = FindTreePath(tree, block, path);
    if (!item)
        return 1;
    RECT box;
    memcpy(&box, &item, sizeof item);   // TVM_GETITEMRECT takes the item in the rectangle
    if (!block.Write(0, &box, sizeof box) ||
        !SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.at(0))) ||
        !block.Read(0, &box, sizeof box))
        return Fail("no rectangle for tree item %s", path);
    const int y = (box.top + box.bottom) / 2;
    for (int x = box.left; x >= 0; --x) {
        TVHITTESTINFO hit = {};
        hit.pt = {x, y};
        if (!block.Write(0, &hit, sizeof hit))
            return Fail("cannot write to the tree's process");
        SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(block.at(0)));
        block.Read(0, &hit, sizeof hit);
        if ((hit.flags & TVHT_ONITEMBUTTON) && hit.hItem == item) {
            POINT point = {x, y};
            ClientToScreen(tree, &point);
            printf("%ld %ld\n", static_cast<long>(point.x), static_cast<long>(point.y));
            return 0;
        }
    }
    return Fail("no button beside the item");
}

// Prints the texts of the children of the item at a path, one a line.
int TreeItems(HWND tree, const char* path)
{
    RemoteBlock block(tree, kTextOffset + kTextMax);
    if (!block.ok())
        return Fail("no memory in the tree's process");
    HTREEITEM item = nullptr;
    char parts[1024];
    snprintf(parts, sizeof parts, "%s", path);
    for (char* name = strtok(parts, "\\"); name; name = strtok(nullptr, "\\")) {
        if (item)
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        if (!(item = FindTreeChild(tree, block, item, name)))
            return Fail("no tree item %s", name);
    }
    char text[kTextMax];
    for (HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
         child; child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        if (TreeItemText(tree, block, child, text))
            printf("%s\n", text);
    return 0;
}

// Prints, for every item of the tree that is selected, drop-highlighted or
// expanded, its path of item texts and those states ("selected",
// "drop-highlighted", "expanded", comma-separated) after a tab. Nothing is
// expanded on the way: the tree is read as it stands.
void PrintMarkedTreeItems(HWND tree, RemoteBlock& block, HTREEITEM first, const std::string& parentPath)
{
    char text[kTextMax];
    for (HTREEITEM item = first; item;
         item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        const std::string path = parentPath + (parentPath.empty() ? "" : "\\") +
                                 (TreeItemText(tree, block, item, text) ? text : "");
        const UINT state = static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                                          TVIS_SELECTED | TVIS_DROPHILITED | TVIS_EXPANDED));
        std::string marks;
        if (state & TVIS_SELECTED)
            marks += "selected";
        if (state & TVIS_DROPHILITED)
            marks += marks.empty() ? "drop-highlighted" : ",drop-highlighted";
        if (state & TVIS_EXPANDED)
            marks += marks.empty() ? "expanded" : ",expanded";
        if (!marks.empty())
            printf("%s\t%s\n", path.c_str(), marks.c_str());
        PrintMarkedTreeItems(tree, block,
                             reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
                             path);
    }
}

int TreeMarked(HWND tree)
{
    RemoteBlock block(tree, kTextOffset + kTextMax);
    if (!block.ok())
        return Fail("no memory in the tree's process");
    PrintMarkedTreeItems(tree, block, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), "");
    return 0;
}

bool ListItemText(HWND list, RemoteBlock& block, int row, int column, char* text)
{
    LVITEMA info = {};
    info.iSubItem = column;
    info.pszText = block.at(kTextOffset);
    info.cchTextMax = kTextMax;
    text[0] = 0;
    if (!block.Write(0, &info, sizeof info))
        return false;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.at(0)));
    block.Read(kTextOffset, text, kTextMax);
    text[kTextMax - 1] = 0;
    return true;
}

int ListRows(HWND list)
{
    RemoteBlock block(list, kTextOffset + kTextMax);
    if (!block.ok())
        return Fail("no memory in the list's process");
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    if (columns < 1)
        columns = 1;
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char text[kTextMax];
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            ListItemText(list, block, row, column, text);
            printf("%s%s", column ? "\t" : "", text);
        }
        printf("\n");
    }
    return 0;
}

bool SetListState(HWND list, RemoteBlock& block, int row, bool selected)
{
    LVITEMA info = {};
    info.state = selected ? LVIS_SELECTED : 0;
    info.stateMask = LVIS_SELECTED;
    return block.Write(0, &info, sizeof info) &&
           SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.at(0)));
}

int ListSelect(HWND list, int count, char** names)
{
    RemoteBlock block(list, kTextOffset + kTextMax);
    if (!block.ok())
        return Fail("no memory in the list's process");
    if (count == 1 && (strcmp(names[0], "all") == 0 || strcmp(names[0], "none") == 0))
        return SetListState(list, block, -1, strcmp(names[0], "all") == 0) ? 0 : Fail("the list refused the selection");
    SetListState(list, block, -1, false);
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int found = 0;
    char text[kTextMax];
    for (int row = 0; row < rows; ++row) {
        ListItemText(list, block, row, 0, text);
        for (int i = 0; i < count; ++i)
            if (_stricmp(text, names[i]) == 0) {
                SetListState(list, block, row, true);
                ++found;
            }
    }
    return found == count ? 0 : Fail("%d of the %d named rows found", found, count);
}

int ColumnClick(HWND list, int column)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RemoteBlock block(header, sizeof(RECT));
    RECT rect = {};
    if (!header || !block.ok() || !SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(block.at(0))) ||
        !block.Read(0, &rect, sizeof rect))
        return Fail("no column head %d", column);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MapWindowPoints(header, nullptr, &centre, 1);
    MouseInput(0, centre.x, centre.y);
    MouseInput(MOUSEEVENTF_LEFTDOWN, centre.x, centre.y);
    MouseInput(MOUSEEVENTF_LEFTUP, centre.x, centre.y);
    return 0;
}

int ComboSelect(HWND dialog, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    if (!combo)
        return Fail("no drop-down list %d", id);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return 0;
}

int Usage()
{
    fprintf(stderr, "usage: kdriver wait-window|find-prop|wait-dialog|send|post|command|post-command|hotkey|"
                    "title|text|children|cut-off|text-fit|focus|mdi-children|visible|wait-visible|status-text|toolbar-state|dialog-text|"
                    "answer|close|wait-gone|window-pid|set-text|post-pair|drag|iconic|item|enabled|height|combo-select|"
                    "tree-select|tree-items|tree-button|tree-marked|list-rows|list-view|list-select|menu-popups|menubar-rect|watch-dialog ...\n");
    return 2;
}

double Seconds(int argc, char** argv, int index) { return argc > index ? atof(argv[index]) : 10.0; }

int RunVerb(int argc, char** argv);

// A request comes as the scripts wrote it, in UTF-8; the verbs take the
// ANSI text a command line would have given them.
std::string FromUnixText(const char* text)
{
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (wide <= 0)
        return text;
    std::wstring unicode(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &unicode[0], wide);
    int bytes = WideCharToMultiByte(CP_ACP, 0, unicode.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, unicode.c_str(), -1, &ansi[0], bytes, nullptr, nullptr);
    ansi.resize(strlen(ansi.c_str()));
    return ansi;
}

// Requests come one a line: an id, then the arguments, each field ended by
// 0x1f. The answer is what the verb prints, then 0x1e, the id and the exit
// status on a line of their own, so that a reader that gave up half way can
// tell an old answer from its own.
int Serve()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    static char line[65536];
    while (fgets(line, sizeof line, stdin)) {
        std::vector<std::string> texts;
        for (char* field = line; char* end = strchr(field, '\x1f'); field = end + 1) {
            *end = '\0';
            texts.push_back(FromUnixText(field));
        }
        if (texts.empty())
            continue;
        std::vector<char*> fields;
        for (std::string& text : texts)
            fields.push_back(&text[0]);
        const char* id = fields[0];
        fields[0] = const_cast<char*>("kdriver");
        dialogFace = "MS Shell Dlg";
        dialogPoints = 8;
        int status = RunVerb(static_cast<int>(fields.size()), fields.data());
        fflush(stderr);
        printf("\n\x1e%s %d\n", id, status);
        fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "serve") == 0)
        return Serve();
    return RunVerb(argc, argv);
}

namespace {

int RunVerb(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const char* verb = argv[1];
    if (strcmp(verb, "wait-window") == 0 && argc >= 4)
        return WaitWindow(argv[2], argv[3], Seconds(argc, argv, 4));
    if (strcmp(verb, "find-prop") == 0)
        return FindProperty(argv[2], Seconds(argc, argv, 3));
    if (strcmp(verb, "wait-dialog") == 0 && argc >= 4)
        return WaitDialog(argv[2], argv[3], Seconds(argc, argv, 4));
    if (strcmp(verb, "watch-dialog") == 0 && argc >= 5)
        return WaitDialog(argv[3], argv[4], Seconds(argc, argv, 5), argv[2]);
    if (strcmp(verb, "drag") == 0 && argc == 6)
        return Drag(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    HWND window = ParseWindow(argv[2]);
    if (strcmp(verb, "wait-gone") == 0)
        return WaitGone(window, Seconds(argc, argv, 3));
    if (!IsWindow(window))
        return Fail("not a window: %s", argv[2]);
    if (strcmp(verb, "send") == 0 && argc == 6) {
        LRESULT result = SendMessageA(window, static_cast<UINT>(ParseNumber(argv[3])), ParseNumber(argv[4]), ParseNumber(argv[5]));
        printf("%lld\n", static_cast<long long>(result));
        return 0;
    }
    if (strcmp(verb, "post") == 0 && argc == 6)
        return Post(window, ParseNumber(argv[3]), ParseNumber(argv[4]), ParseNumber(argv[5]));
    if (strcmp(verb, "post-pair") == 0 && argc == 9)
        return Post(window, ParseNumber(argv[3]), ParseNumber(argv[4]), ParseNumber(argv[5])) ||
               Post(window, ParseNumber(argv[6]), ParseNumber(argv[7]), ParseNumber(argv[8]));
    if (strcmp(verb, "command") == 0 && argc == 4) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ParseNumber(argv[3]), 0), 0);
        return 0;
    }
    if (strcmp(verb, "timed-command") == 0 && argc == 4) {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ParseNumber(argv[3]), 0), 0);
        QueryPerformanceCounter(&end);
        printf("%.3f\n", static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
        return 0;
    }
    if (strcmp(verb, "post-command") == 0 && argc == 4)
        return Post(window, WM_COMMAND, MAKEWPARAM(ParseNumber(argv[3]), 0), 0);
    if (strcmp(verb, "hotkey") == 0 && argc >= 4)
        return Hotkey(window, argv[3], argc > 4 ? argv[4] : "");
    if (strcmp(verb, "title") == 0) {
        char text[512];
        GetWindowTextA(window, text, sizeof text);
        printf("%s\n", text);
        return 0;
    }
    if (strcmp(verb, "text") == 0) {
        char text[512] = {};
        DWORD_PTR done = 0;
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &done);
        printf("%s\n", text);
        return 0;
    }
    if (strcmp(verb, "children") == 0) {
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (strcmp(verb, "cut-off") == 0) {
        EnumChildWindows(window, PrintCutOffChild, 0);
        return 0;
    }
    if (strcmp(verb, "focus") == 0)
        return PrintFocus(window);
    if (strcmp(verb, "text-fit") == 0) {
        if (argc > 3)
            dialogFace = argv[3];
        if (argc > 4)
            dialogPoints = atoi(argv[4]);
        EnumChildWindows(window, PrintUnfitText, 0);
        return 0;
    }
    if (strcmp(verb, "mdi-children") == 0)
        return MdiChildren(window);
    if (strcmp(verb, "visible") == 0) {
        printf("%d\n", IsWindowVisible(window) ? 1 : 0);
        return 0;
    }
    if (strcmp(verb, "iconic") == 0) {
        printf("%d\n", IsIconic(window) ? 1 : 0);
        return 0;
    }
    if (strcmp(verb, "wait-visible") == 0 && argc >= 4)
        return WaitVisible(window, atoi(argv[3]) != 0, Seconds(argc, argv, 4));
    if (strcmp(verb, "status-text") == 0 && argc == 4)
        return StatusText(window, atoi(argv[3]));
    if (strcmp(verb, "menu-popups") == 0)
        return MenuPopups(window);
    if (strcmp(verb, "menubar-rect") == 0 && argc == 4)
        return MenuBarRect(window, atoi(argv[3]));
    if (strcmp(verb, "toolbar-state") == 0 && argc == 4)
        return ToolbarState(window, static_cast<UINT>(ParseNumber(argv[3])));
    if (strcmp(verb, "dialog-text") == 0) {
        EnumChildWindows(window, PrintStatic, 0);
        return 0;
    }
    if (strcmp(verb, "answer") == 0 && argc == 4)
        return Post(window, WM_COMMAND, MAKEWPARAM(ParseNumber(argv[3]), BN_CLICKED), 0);
    if (strcmp(verb, "window-pid") == 0) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        printf("%lu\n", static_cast<unsigned long>(process));
        return 0;
    }
    if (strcmp(verb, "close") == 0)
        return Close(window);
    if (strcmp(verb, "set-window-text") == 0 && argc == 4)
        return SetWindowTextA(window, argv[3]) ? 0 : FailCall("SetWindowText");
    if (strcmp(verb, "set-text") == 0 && argc == 5)
        return SetDlgItemTextA(window, static_cast<int>(ParseNumber(argv[3])), argv[4]) ? 0 : FailCall("SetDlgItemText");
    if (strcmp(verb, "item") == 0 && argc == 4) {
        HWND item = GetDlgItem(window, static_cast<int>(ParseNumber(argv[3])));
        if (!item)
            return Fail("no item %s in window %s (error %lu)", argv[3], argv[2], GetLastError());
        PrintWindow(item);
        return 0;
    }
    if (strcmp(verb, "enabled") == 0) {
        printf("%d\n", IsWindowEnabled(window) ? 1 : 0);
        return 0;
    }
    if (strcmp(verb, "height") == 0) {
        RECT rect;
        GetWindowRect(window, &rect);
        printf("%ld\n", static_cast<long>(rect.bottom - rect.top));
        return 0;
    }
    if (strcmp(verb, "combo-select") == 0 && argc == 5)
        return ComboSelect(window, static_cast<int>(ParseNumber(argv[3])), static_cast<int>(ParseNumber(argv[4])));
    if (strcmp(verb, "tree-select") == 0 && argc == 4)
        return TreeSelect(window, argv[3]);
    if (strcmp(verb, "tree-items") == 0 && argc == 4)
        return TreeItems(window, argv[3]);
    if (strcmp(verb, "tree-button") == 0 && argc == 4)
        return TreeButton(window, argv[3]);
    if (strcmp(verb, "tree-marked") == 0)
        return TreeMarked(window);
    if (strcmp(verb, "list-rows") == 0)
        return ListRows(window);
    if (strcmp(verb, "list-view") == 0) {
        printf("%d %d %d\n", static_cast<int>(SendMessageA(window, LVM_GETTOPINDEX, 0, 0)),
               static_cast<int>(SendMessageA(window, LVM_GETCOUNTPERPAGE, 0, 0)),
               static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0)));
        return 0;
    }
    if (strcmp(verb, "list-select") == 0 && argc >= 4)
        return ListSelect(window, argc - 3, argv + 3);
    if (strcmp(verb, "column-click") == 0 && argc == 4)
        return ColumnClick(window, static_cast<int>(ParseNumber(argv[3])));
    return Usage();
}

}  // namespace
