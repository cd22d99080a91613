// kprobe: what the capture end-to-end cases need besides the driver: a
// window that shows a known picture, real mouse input, the clipboard seen
// from another program, and the memory a process uses.
//
//   kprobe pattern <x> <y> <width> <height> [seconds]   a topmost window painting the test pattern
//   kprobe button <x> <y> <width> <height> [seconds]    a topmost window holding one push button
//   kprobe menus <x> <y> <width> <height> [seconds]     a captioned window "Menus" with a menu bar
//                                                        ("File", "Edit"), the pattern in its client area;
//                                                        prints the window, then the screen rectangle of
//                                                        each menu-bar item, a line each
//   kprobe drag <x1> <y1> <x2> <y2>                      press at 1, move in steps, release at 2
//   kprobe trace [pen=<colour>] <x1> <y1> <x2> <y2> ...  press at 1, move through the points, release;
//                                                        with a pen colour (COLORREF), each point is left
//                                                        only once the screen shows that colour there
//   kprobe click <x> <y>                                  press and release there
//   kprobe move <x> <y>                                   put the cursor there
//   kprobe clipboard-save <file.bmp>                     the clipboard's device-independent bitmap as a file
//   kprobe clipboard-put <file.bmp>                      a BMP file's bitmap onto the clipboard
//   kprobe clipboard-formats                             the formats on the clipboard, one a line
//   kprobe clipboard-hold <seconds>                      keeps the clipboard open that long
//   kprobe memory <pid>                                   private (committed) bytes of the process
//   kprobe window-at <x> <y>                              class and rectangle of the window there
//   kprobe window-rect <hwnd>                             screen rectangle of a window
//   kprobe hotkey-latency <frame> <runs> [bare]           median ms from a Ctrl+1 hot key to its new
//                                                         image window (the capture runs inside the send);
//                                                         with bare, each run is followed by a bare copy
//                                                         of the screen, and both medians and the ratio
//                                                         are printed
//
// The pattern's pixel at (x, y) of the window is red = (7x + y) & 255,
// green = 5y & 255, blue = (x ^ y) & 255: every pixel differs from its
// neighbours, so a shifted or cut capture cannot pass for the right one.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kPatternClass[] = "KaptureProbePattern";

int Usage();

COLORREF PatternColor(int x, int y)
{
    return RGB((7 * x + y) & 255, (5 * y) & 255, (x ^ y) & 255);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        const int width = client.right, height = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF color = PatternColor(x, y);
                pixels[y * width + x] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
            }
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return HostProc(window, message, wParam, lParam);
}

// Ends the probe when its time is up or it is closed.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER || message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Keeps a probe window up for the given seconds (HostProc ends it then).
int LiveFor(HWND window, double seconds)
{
    SetTimer(window, 1, static_cast<UINT>(seconds * 1000), nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

int Pattern(int x, int y, int width, int height, double seconds)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PatternProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kPatternClass;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPatternClass, "Pattern", WS_POPUP | WS_VISIBLE,
                                  x, y, width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    printf("0x%" PRIxPTR "\n", reinterpret_cast<uintptr_t>(window));
    fflush(stdout);
    return LiveFor(window, seconds);
}

// A plain window holding a push button at (20, 20) of the size given.
int Button(int x, int y, int width, int height, double seconds)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KaptureProbeButtons";
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "Buttons",
                                  WS_POPUP | WS_VISIBLE, x, y, width + 40, height + 40, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    CreateWindowA("BUTTON", "Push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, width, height, window, nullptr,
                  windowClass.hInstance, nullptr);
    printf("0x%" PRIxPTR "\n", reinterpret_cast<uintptr_t>(window));
    fflush(stdout);
    return LiveFor(window, seconds);
}

// A window with a caption and a menu bar: "File" drops a menu whose last
// item opens the cascading "Recent" menu, "Edit" a menu of two items.
HMENU ProbeMenuBar()
{
    HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 110, "First");
    AppendMenuA(recent, MF_STRING, 111, "Second");
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 100, "New");
    AppendMenuA(file, MF_STRING, 101, "Open");
    AppendMenuA(file, MF_STRING, 102, "Exit");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 200, "Copy");
    AppendMenuA(edit, MF_STRING, 201, "Paste");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
    return bar;
}

int Menus(int x, int y, int width, int height, double seconds)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PatternProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KaptureProbeMenus";
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                                  width, height, nullptr, ProbeMenuBar(), windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    UpdateWindow(window);
    SetForegroundWindow(window);
    printf("0x%" PRIxPTR "\n", reinterpret_cast<uintptr_t>(window));
    for (int item = 0; item < GetMenuItemCount(GetMenu(window)); ++item) {
        RECT rect = {};
        GetMenuItemRect(window, GetMenu(window), static_cast<UINT>(item), &rect);
        printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    }
    fflush(stdout);
    return LiveFor(window, seconds);
}

// ---- Mouse ---------------------------------------------------------------------

void SendMouse(int x, int y, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    input.mi.dx = static_cast<LONG>((x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Sleep(40);
}

// The cursor put exactly where wanted (absolute input may land a pixel off).
void MoveExactly(int x, int y)
{
    SendMouse(x, y, 0);
    SetCursorPos(x, y);
    Sleep(40);
}

int Drag(int x1, int y1, int x2, int y2)
{
    MoveExactly(x1, y1);
    SendMouse(x1, y1, MOUSEEVENTF_LEFTDOWN);
    Sleep(300);
    const int steps = 8;
    for (int step = 1; step <= steps; ++step)
        MoveExactly(x1 + (x2 - x1) * step / steps, y1 + (y2 - y1) * step / steps);
    Sleep(200);
    SendMouse(x2, y2, MOUSEEVENTF_LEFTUP);
    return 0;
}

// Waits until the screen pixel at (x, y) has the colour: a freehand trace
// marks each point it takes, and moves that come faster than the program
// takes them reach it as one (only the last is seen), so a corner passed
// before it was taken would be cut off.
bool WaitForScreenColour(int x, int y, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    const DWORD start = GetTickCount();
    bool seen = false;
    while (!(seen = GetPixel(screen, x, y) == colour) && GetTickCount() - start < 30000)
        Sleep(20);
    ReleaseDC(nullptr, screen);
    if (!seen)
        fprintf(stderr, "kprobe: the trace never marked (%d, %d)\n", x, y);
    return seen;
}

int Trace(int count, char** coordinates)
{
    bool penGiven = false;
    COLORREF pen = 0;
    if (count > 0 && strncmp(coordinates[0], "pen=", 4) == 0) {
        penGiven = true;
        pen = static_cast<COLORREF>(strtoul(coordinates[0] + 4, nullptr, 0));
        --count;
        ++coordinates;
    }
    if (count < 4 || count % 2)
        return Usage();
    const int x1 = atoi(coordinates[0]), y1 = atoi(coordinates[1]);
    MoveExactly(x1, y1);
    SendMouse(x1, y1, MOUSEEVENTF_LEFTDOWN);
    // At a hand's pace: the program records where the pointer is when it
    // takes each move, so on a loaded machine moves sent all at once would
    // leave the start of the outline behind.
    Sleep(600);
    int x = x1, y = y1;
    for (int i = 2; i < count; i += 2) {
        const int toX = atoi(coordinates[i]), toY = atoi(coordinates[i + 1]);
        const int steps = 6;
        for (int step = 1; step <= steps; ++step) {
            MoveExactly(x + (toX - x) * step / steps, y + (toY - y) * step / steps);
            Sleep(20);
        }
        if (penGiven && !WaitForScreenColour(toX, toY, pen)) {
            SendMouse(toX, toY, MOUSEEVENTF_LEFTUP);
            return 1;
        }
        x = toX;
        y = toY;
    }
    Sleep(200);
    SendMouse(x, y, MOUSEEVENTF_LEFTUP);
    return 0;
}

int Click(int x, int y)
{
    MoveExactly(x, y);
    SendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
    SendMouse(x, y, MOUSEEVENTF_LEFTUP);
    return 0;
}

// ---- Clipboard -------------------------------------------------------------------

bool OpenClipboardSoon()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(100);
    }
    return false;
}

int ClipboardSave(const char* path)
{
    if (!OpenClipboardSoon())
        return 1;
    int result = 1;
    HANDLE block = GetClipboardData(CF_DIB);
    const BYTE* dib = block ? static_cast<const BYTE*>(GlobalLock(block)) : nullptr;
    if (dib) {
        const SIZE_T size = GlobalSize(block);
        const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
        DWORD colors = header->biClrUsed;
        if (!colors && header->biBitCount <= 8)
            colors = 1u << header->biBitCount;
        DWORD masks = header->biCompression == BI_BITFIELDS ? 12 : 0;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfSize = static_cast<DWORD>(sizeof file + size);
        file.bfOffBits = static_cast<DWORD>(sizeof file + header->biSize + masks + colors * 4);
        if (FILE* out = fopen(path, "wb")) {
            fwrite(&file, sizeof file, 1, out);
            fwrite(dib, 1, size, out);
            fclose(out);
            result = 0;
        }
        GlobalUnlock(block);
    } else {
        fprintf(stderr, "no bitmap on the clipboard\n");
    }
    CloseClipboard();
    return result;
}

int ClipboardPut(const char* path)
{
    FILE* in = fopen(path, "rb");
    if (!in)
        return 1;
    std::vector<BYTE> bytes;
    BYTE chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, in)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(in);
    if (bytes.size() <= sizeof(BITMAPFILEHEADER))
        return 1;
    const size_t dibSize = bytes.size() - sizeof(BITMAPFILEHEADER);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dibSize);
    if (!block)
        return 1;
    memcpy(GlobalLock(block), bytes.data() + sizeof(BITMAPFILEHEADER), dibSize);
    GlobalUnlock(block);
    if (!OpenClipboardSoon()) {
        GlobalFree(block);
        return 1;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_DIB, block) != nullptr;
    CloseClipboard();
    if (!placed)
        GlobalFree(block);
    return placed ? 0 : 1;
}

// Keeps the clipboard open, so that no other program can open it; says
// "held" once it is.
int ClipboardHold(double seconds)
{
    if (!OpenClipboardSoon())
        return 1;
    printf("held\n");
    fflush(stdout);
    Sleep(static_cast<DWORD>(seconds * 1000));
    CloseClipboard();
    return 0;
}

int ClipboardFormats()
{
    if (!OpenClipboardSoon())
        return 1;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
        printf("%u\n", format);
    CloseClipboard();
    return 0;
}

int Memory(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return 1;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    const bool read = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                           sizeof counters) != 0;
    CloseHandle(process);
    if (!read)
        return 1;
    // Wine leaves the private count at 0; the page-file count is the same
    // figure on Windows.
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    printf("%llu\n", static_cast<unsigned long long>(bytes));
    return 0;
}

int WindowAt(int x, int y)
{
    HWND window = WindowFromPoint(POINT{x, y});
    if (!window)
        return 1;
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    RECT rect = {};
    GetWindowRect(window, &rect);
    printf("%s %ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}

int WindowRect(HWND window)
{
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return 1;
    printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}

int MdiChildCount(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    int count = 0;
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The limit of a screen capture: the whole screen into a memory bitmap and
// its pixels out as 24 bits a pixel, as bare as the system allows.
double BareScreenCopy()
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    HGLOBAL pixels = GlobalAlloc(GMEM_MOVEABLE, stride * static_cast<size_t>(height));
    int rows = 0;
    if (pixels) {
        rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), GlobalLock(pixels), &info, DIB_RGB_COLORS);
        GlobalUnlock(pixels);
        GlobalFree(pixels);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    QueryPerformanceCounter(&end);
    return rows == height ? Milliseconds(start, end) : -1;
}

// Ctrl+1 captures, each followed by the bare copy of the same screen, so
// both see the same load. A capture's time ends when the send returns: the
// new image window has been made and shown by then.
int HotkeyLatency(HWND frame, int runs, bool withBareCopy)
{
    // Ctrl+1 as the hook library reports it: Esc, Shift and Alt not held.
    const WPARAM ctrlOne = (1u << 28) | (1u << 24) | (1u << 16) | '1';
    std::vector<double> captures, copies;
    for (int run = 0; run < runs; ++run) {
        const int before = MdiChildCount(frame);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(frame, WM_USER + 3, ctrlOne, 0, SMTO_NORMAL, 10000, &result);
        QueryPerformanceCounter(&end);
        if (MdiChildCount(frame) != before + 1) {
            fprintf(stderr, "run %d opened no window\n", run);
            return 1;
        }
        captures.push_back(Milliseconds(start, end));
        Sleep(100);
        if (withBareCopy) {
            const double copy = BareScreenCopy();
            if (copy < 0) {
                fprintf(stderr, "run %d: the bare copy failed\n", run);
                return 1;
            }
            copies.push_back(copy);
            Sleep(100);
        }
    }
    std::vector<double> sorted = captures;
    std::sort(sorted.begin(), sorted.end());
    printf("runs %d  median %.1f ms  min %.1f ms  max %.1f ms\n", runs, Median(captures), sorted.front(),
           sorted.back());
    if (withBareCopy) {
        const double capture = Median(captures), copy = Median(copies);
        printf("bare screen copy (BitBlt + GetDIBits to 24 bits): median %.1f ms\n", copy);
        printf("capture / bare copy: %.2f\n", capture / copy);
    }
    return 0;
}

int Usage()
{
    fprintf(stderr, "usage: kprobe pattern|button|menus|drag|trace|click|move|clipboard-save|clipboard-put|clipboard-formats|clipboard-hold|memory|window-at|hotkey-latency ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const char* verb = argv[1];
    if (strcmp(verb, "pattern") == 0 && argc >= 6)
        return Pattern(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), argc > 6 ? atof(argv[6]) : 60);
    if (strcmp(verb, "button") == 0 && argc >= 6)
        return Button(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), argc > 6 ? atof(argv[6]) : 60);
    if (strcmp(verb, "menus") == 0 && argc >= 6)
        return Menus(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), argc > 6 ? atof(argv[6]) : 60);
    if (strcmp(verb, "trace") == 0)
        return Trace(argc - 2, argv + 2);
    if (strcmp(verb, "drag") == 0 && argc == 6)
        return Drag(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    if (strcmp(verb, "click") == 0 && argc == 4)
        return Click(atoi(argv[2]), atoi(argv[3]));
    if (strcmp(verb, "move") == 0 && argc == 4) {
        MoveExactly(atoi(argv[2]), atoi(argv[3]));
        return 0;
    }
    if (strcmp(verb, "clipboard-save") == 0 && argc == 3)
        return ClipboardSave(argv[2]);
    if (strcmp(verb, "clipboard-put") == 0 && argc == 3)
        return ClipboardPut(argv[2]);
    if (strcmp(verb, "clipboard-formats") == 0)
        return ClipboardFormats();
    if (strcmp(verb, "clipboard-hold") == 0 && argc == 3)
        return ClipboardHold(atof(argv[2]));
    if (strcmp(verb, "hotkey-latency") == 0 && (argc == 4 || (argc == 5 && strcmp(argv[4], "bare") == 0)))
        return HotkeyLatency(reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(argv[2], nullptr, 0))),
                             atoi(argv[3]), argc == 5);
    if (strcmp(verb, "window-at") == 0 && argc == 4)
        return WindowAt(atoi(argv[2]), atoi(argv[3]));
    if (strcmp(verb, "window-rect") == 0 && argc == 3)
        return WindowRect(reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(argv[2], nullptr, 0))));
    if (strcmp(verb, "memory") == 0 && argc == 3)
        return Memory(static_cast<DWORD>(strtoul(argv[2], nullptr, 0)));
    return Usage();
}
