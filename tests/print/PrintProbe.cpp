// kprint: calls the print library's exports with patterned images, for the
// real-printing cases. A watcher thread reads the progress meter's lines and
// answers the library's message boxes (printing what they said), and can
// press the meter's Cancel.
//
//   kprint one <section> <ini> <bits> <w> <h> <file name> [note] [file time]
//   kprint all <section> <ini> <count> <bits> <w> <h> <name prefix> [cancel after page]
//   kprint onepage <section> <ini> <count> [w h name prefix]
//                                         image i's pattern shifted by i
//   kprint setup <section> <ini>          PrintXImageSetup
//   kprint printer-setup <section> <ini>  PrinterSetup, its dialog answered with OK
//   kprint twice <section> <ini> <section 2> <ini 2> <name>   two calls, then ResetPrinter and a third
//                                         with the second section (names <name>1, 2, 3)
//   kprint reset                          ResetPrinter
//   kprint bad <section> <ini> <case>     records the library must refuse
//
// The option sheets are driven by the script in KPRINT_SHEET (actions
// separated by ';', run one by one on the open sheet); without one the
// sheet's OK is pressed. Each action is handled by the library before the
// next is taken. Actions:
//   page:N  text:ID=VALUE  click:ID  press:ID (mouse down)  ok  cancel
//   shot:FILE                 the sheet's pixels as a BMP file
//   show:ID                   prints "show ID: <text> enabled|disabled" of a
//                             control of the current page
//   label                     prints "label: <the page count label's text>"
//   answer:ok|cancel          the answer to the next message box
//   drag:FROM,TO              an image of the all-images preview dragged
//                             from cell FROM to cell TO (-1: off the page)
//   lose:FROM                 a drag from cell FROM whose capture is lost
//
// The pattern: 4 x 4-pixel cells, cell (cx, cy) coloured with entry
// (cx + 3 cy + shift) % n of kColors (n = 2 at 1 bit, else 8), the same in every
// depth, so the checker needs only the cell's place.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "print/Pagent.h"
#include "print/PrintGrid.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

const RGBQUAD kColors[8] = {
    {0, 0, 255, 0}, {0, 200, 0, 0},   {255, 0, 0, 0},   {0, 255, 255, 0},
    {255, 0, 255, 0}, {255, 255, 0, 0}, {0, 0, 0, 0}, {0, 128, 255, 0}};
const RGBQUAD kMono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

int CellIndex(int x, int y, int bits, int shift)
{
    int n = bits == 1 ? 2 : 8;
    return (x / 4 + 3 * (y / 4) + shift) % n;
}

// A record with its own blocks; y counts from the top.
ImageRecord MakeRecord(int bits, int w, int h, const std::string& name, const std::string& note, int fileTime,
                       int shift = 0)
{
    ImageRecord r{};
    r.width = w;
    r.height = h;
    r.bitCount = uint16_t(bits);
    int entries = bits <= 8 ? 1 << bits : 0;
    size_t stride = ((size_t(w) * bits + 31) / 32) * 4;
    r.hInfo = GlobalAlloc(GHND, 40 + 4 * entries);
    r.hBits = GlobalAlloc(GHND, stride * h);
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(r.hInfo));
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = h;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = WORD(bits);
    for (int i = 0; i < entries; ++i)
        info->bmiColors[i] = bits == 1 ? kMono[i] : i < 8 ? kColors[i] : RGBQUAD{};
    GlobalUnlock(r.hInfo);
    auto* pixels = static_cast<uint8_t*>(GlobalLock(r.hBits));
    for (int y = 0; y < h; ++y) {
        uint8_t* row = pixels + size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            int index = CellIndex(x, y, bits, shift);
            switch (bits) {
            case 1: if (index) row[x / 8] |= uint8_t(0x80 >> (x % 8)); break;
            case 4: row[x / 2] |= uint8_t(x % 2 ? index : index << 4); break;
            case 8: row[x] = uint8_t(index); break;
            default: {
                uint8_t* p = row + size_t(x) * (bits / 8);
                p[0] = kColors[index].rgbBlue;
                p[1] = kColors[index].rgbGreen;
                p[2] = kColors[index].rgbRed;
                break;
            }
            }
        }
    }
    GlobalUnlock(r.hBits);
    if (!note.empty()) {
        r.hNote = GlobalAlloc(GHND, note.size() + 1);
        memcpy(GlobalLock(r.hNote), note.c_str(), note.size() + 1);
        GlobalUnlock(r.hNote);
        r.noteLength = int32_t(note.size());
    }
    r.fileTime = fileTime;
    r.fileName = _strdup(name.c_str());
    return r;
}

// ---- What the probe says ----

// Each line goes out whole and at once, whichever thread says it: what was
// said is in the case's log even when the probe is cut short. A write that
// fails drops the stream's buffer, so the line is written again; a line
// that cannot be written is named on stderr.
__attribute__((format(gnu_printf, 1, 2))) void Say(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (fputs(line, stdout) >= 0 && fflush(stdout) == 0)
            return;
        clearerr(stdout);
    }
    fprintf(stderr, "kprint: could not write \"%s\" (error %lu)\n", line, GetLastError());
}

// ---- The main thread's queue ----

// The watcher acts through messages posted to the main thread, which runs
// the library's windows. A marker posted behind an action tells when the
// action has been handled (or has opened a modal window, whose own loop
// takes the marker); a slow machine then takes as long as it needs.
const UINT kMarker = WM_APP + 0x3A1;
const DWORD kCatchUpMs = 60000;
DWORD g_mainThread = 0;
HANDLE g_markerTaken = nullptr;
LONG g_marker = 0;

LRESULT CALLBACK NoteMarker(int code, WPARAM removed, LPARAM message)
{
    const auto* msg = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removed == PM_REMOVE && !msg->hwnd && msg->message == kMarker &&
        LONG(msg->wParam) == g_marker)
        SetEvent(g_markerTaken);
    return CallNextHookEx(nullptr, code, removed, message);
}

bool WatchMainThread()
{
    g_mainThread = GetCurrentThreadId();
    g_markerTaken = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return g_markerTaken && SetWindowsHookExA(WH_GETMESSAGE, NoteMarker, nullptr, g_mainThread);
}

// Waits until the main thread has handled what was posted to it, and what
// that posted in turn (two markers, one behind the other).
void WaitForMainThread(const char* after)
{
    for (int round = 0; round < 2; ++round) {
        ResetEvent(g_markerTaken);
        LONG marker = InterlockedIncrement(&g_marker);
        if (!PostThreadMessageA(g_mainThread, kMarker, WPARAM(marker), 0) ||
            WaitForSingleObject(g_markerTaken, kCatchUpMs) != WAIT_OBJECT_0) {
            Say("stalled: the program took no message for %lu s after %s\n", kCatchUpMs / 1000, after);
            return;
        }
    }
}

// Whether a visible window of the sheet still waits for its paint.
BOOL CALLBACK FindUnpainted(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE))
        *reinterpret_cast<bool*>(found) = true;
    return !*reinterpret_cast<bool*>(found);
}

// What is read or photographed is what the sheet shows: the page count,
// for one, is worked out as the preview paints.
void WaitForPaints(HWND sheet)
{
    for (DWORD start = GetTickCount();; Sleep(15)) {
        bool found = false;
        if (FindUnpainted(sheet, LPARAM(&found)))
            EnumChildWindows(sheet, FindUnpainted, LPARAM(&found));
        if (!found)
            return;
        if (GetTickCount() - start > kCatchUpMs) {
            Say("stalled: the sheet was not painted in %lu s\n", kCatchUpMs / 1000);
            return;
        }
    }
}

// ---- The watcher ----

std::string g_meterCaption;
int g_cancelAtPage = 0;
volatile bool g_stop = false;

std::string TextOf(HWND window)
{
    char text[512] = {};
    DWORD_PTR done = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000, &done);
    return text;
}

// ---- The sheet's script ----

std::vector<std::string> g_script;
size_t g_step = 0;
int g_answer = IDOK;
int g_images = 0;   // images left in the all-images preview

HWND CurrentPage(HWND sheet)
{
    DWORD_PTR page = 0;
    SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_BLOCK, 2000, &page);
    return reinterpret_cast<HWND>(page);
}

void SaveShot(HWND window, const std::string& file)
{
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    DWORD stride = ((DWORD(w) * 3 + 3) & ~3u), size = stride * DWORD(h);
    BITMAPFILEHEADER head{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    if (FILE* out = fopen(file.c_str(), "wb")) {
        fwrite(&head, sizeof head, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, 1, size, out);
        fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// The centre of a cell of the all-images preview (cell -1: off the page),
// found as the preview lays out its page: the printer's sides, the
// orientation and columns the Print page shows.
POINT PreviewCell(HWND sheet, HWND preview, int cell)
{
    char name[256] = {};
    DWORD length = sizeof name;
    GetDefaultPrinterA(name, &length);
    HDC printer = CreateDCA("WINSPOOL", name, nullptr, nullptr);
    int pw = GetDeviceCaps(printer, HORZRES), ph = GetDeviceCaps(printer, VERTRES);
    DeleteDC(printer);
    int S = std::min(pw, ph), L = std::max(pw, ph);
    HWND page = CurrentPage(sheet);
    bool landscape = IsDlgButtonChecked(page, 1331) == BST_CHECKED;
    int columns = int(GetDlgItemInt(page, 1215, nullptr, FALSE));
    RECT client;
    GetClientRect(preview, &client);
    int side = client.right - 4, D = int(int64_t(side) * (L - S) / L);
    RECT area = client;
    if (landscape)
        area.top = D;
    else
        area.left = D / 2 + 1, area.right = client.right - (D / 2 + 1);
    InflateRect(&area, -3, -3);
    if (cell < 0)
        return landscape ? POINT{client.right / 2, 1} : POINT{1, client.bottom / 2};
    pagent::CellGrid grid = pagent::PlanCellGrid(g_images, columns, area.right - area.left, area.bottom - area.top);
    pagent::Box box = pagent::GridCell(grid, cell, area.left, area.top);
    return POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

void RunStep(HWND sheet, const std::string& step)
{
    size_t colon = step.find(':');
    std::string verb = step.substr(0, colon), arg = colon == std::string::npos ? "" : step.substr(colon + 1);
    WaitForPaints(sheet);
    HWND page = CurrentPage(sheet);
    DWORD_PTR done = 0;
    if (verb == "page") {
        PostMessageA(sheet, PSM_SETCURSEL, atoi(arg.c_str()), 0);
    } else if (verb == "text") {
        size_t eq = arg.find('=');
        SendMessageTimeoutA(GetDlgItem(page, atoi(arg.c_str())), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(arg.substr(eq + 1).c_str()), SMTO_BLOCK, 2000, &done);
    } else if (verb == "click") {
        PostMessageA(GetDlgItem(page, atoi(arg.c_str())), BM_CLICK, 0, 0);
    } else if (verb == "press") {
        PostMessageA(GetDlgItem(page, atoi(arg.c_str())), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    } else if (verb == "ok") {
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    } else if (verb == "cancel") {
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    } else if (verb == "shot") {
        SaveShot(sheet, arg);
    } else if (verb == "show") {
        int id = atoi(arg.c_str());
        HWND control = GetDlgItem(page, id);
        Say("show %d: %s %s\n", id, TextOf(control).c_str(), IsWindowEnabled(control) ? "enabled" : "disabled");
    } else if (verb == "label") {
        Say("label: %s\n", TextOf(GetDlgItem(sheet, 1001)).c_str());
    } else if (verb == "answer") {
        g_answer = arg == "cancel" ? IDCANCEL : IDOK;
    } else if (verb == "drag" || verb == "lose") {
        HWND preview = GetDlgItem(sheet, 1002);
        int from = atoi(arg.c_str());
        POINT a = PreviewCell(sheet, preview, from);
        PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
        WaitForMainThread("the button went down");
        if (verb == "lose") {
            SendMessageTimeoutA(preview, WM_CANCELMODE, 0, 0, SMTO_BLOCK, 2000, &done);
        } else {
            int to = atoi(arg.substr(arg.find(',') + 1).c_str());
            POINT b = PreviewCell(sheet, preview, to);
            PostMessageA(preview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
            PostMessageA(preview, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
            if (to < 0 && g_answer == IDOK && g_images > 1)
                --g_images;
        }
    }
    WaitForMainThread(step.c_str());
}

bool IsSheet(HWND window)
{
    return FindWindowExA(window, nullptr, "SysTabControl32", nullptr) != nullptr;
}

BOOL CALLBACK WatchWindow(HWND window, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0)
        return TRUE;
    std::string caption = TextOf(window);
    if (IsSheet(window)) {
        static HWND seen = nullptr;
        if (window != seen) {
            // A sheet just shown: its first action once it is up.
            seen = window;
            Say("sheet: %s\n", caption.c_str());
            WaitForMainThread("the sheet was shown");
        }
        if (g_script.empty() && g_step == 0)
            RunStep(window, "ok"), g_step = 1;
        else if (g_step < g_script.size())
            RunStep(window, g_script[g_step++]);
    } else if (caption == "Font") {
        Say("font dialog\n");
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        WaitForMainThread("the font dialog's OK");
    } else if (caption.find("Setup") != std::string::npos) {
        Say("setup dialog: %s\n", caption.c_str());
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        WaitForMainThread("the setup dialog's OK");
    } else if (GetDlgItem(window, 0xFFFF) && !FindWindowExA(window, nullptr, "Edit", nullptr)) {
        Say("message: %s\n", TextOf(GetDlgItem(window, 0xFFFF)).c_str());
        if (caption != "Print")
            Say("message caption: %s\n", caption.c_str());
        PostMessageA(window, WM_COMMAND, g_answer, 0);
        g_answer = IDOK;
        WaitForMainThread("the message's answer");
    } else if (GetDlgItem(window, 1303)) {   // the meter
        static std::string seen[3];
        for (int i = 0; i < 3; ++i) {
            std::string text = TextOf(GetDlgItem(window, 1301 + i));
            if (!text.empty() && text != seen[i]) {
                Say("meter%d: %s\n", i + 1, text.c_str());
                seen[i] = text;
            }
        }
        if (!caption.empty() && caption != g_meterCaption) {
            Say("meter caption: %s\n", caption.c_str());
            g_meterCaption = caption;
        }
    }
    return TRUE;
}

// Cancel on the meter once its page line reaches g_cancelAtPage, judged as
// the library sets the line (on the printing thread): a watcher reading the
// line between pages may see none of a quick image's later pages.
LRESULT CALLBACK CancelAtPage(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    int page = 0;
    if (code == HC_ACTION && g_cancelAtPage && call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == 1303 &&
        call->lParam && sscanf(reinterpret_cast<const char*>(call->lParam), "Page %d", &page) == 1 &&
        page >= g_cancelAtPage) {
        Say("cancel\n");
        PostMessageA(GetDlgItem(GetParent(call->hwnd), IDCANCEL), BM_CLICK, 0, 0);
        g_cancelAtPage = 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI Watcher(LPVOID)
{
    while (!g_stop) {
        EnumWindows(WatchWindow, 0);
        Sleep(15);
    }
    return 0;
}

int Usage()
{
    fprintf(stderr, "usage: see the head of PrintProbe.cpp\n");
    return 2;
}

HGLOBAL RecordBlock(const std::vector<ImageRecord>& records)
{
    HGLOBAL block = GlobalAlloc(GHND, records.size() * sizeof(ImageRecord));
    memcpy(GlobalLock(block), records.data(), records.size() * sizeof(ImageRecord));
    GlobalUnlock(block);
    return block;
}

int BadRecords(const char* section, const char* ini, const std::string& which)
{
    ImageRecord r = MakeRecord(24, 40, 30, "C:\\bad.bmp", "", 0);
    if (which == "depth") {
        for (int bits : {0, 2, 16, 7})
            r.bitCount = uint16_t(bits), PrintOneXImage(&r, section, ini, 0, 0);
    } else if (which == "short-pixels") {
        r.width = 4000;   // the block holds 40 x 30
        PrintOneXImage(&r, section, ini, 0, 0);
    } else if (which == "short-header") {
        ImageRecord p = MakeRecord(8, 40, 30, "C:\\bad.bmp", "", 0);
        GlobalFree(p.hInfo);
        p.hInfo = GlobalAlloc(GHND, 44);
        PrintOneXImage(&p, section, ini, 0, 0);
        p.hInfo = nullptr;
        PrintOneXImage(&p, section, ini, 0, 0);
    } else if (which == "sizes") {
        for (int w : {0, -5, 0x7FFFFFFF})
            r.width = w, PrintOneXImage(&r, section, ini, 0, 0);
        r.width = 40;
        r.hBits = nullptr;
        PrintOneXImage(&r, section, ini, 0, 0);
    } else if (which == "block") {
        // A count larger than the block, a count of 0, no block at all.
        HGLOBAL block = RecordBlock({r});
        PrintAllXImage(block, 5, section, ini, 0);
        PrintAllXImage(block, 0, section, ini, 0);
        PrintAllXImage(nullptr, 3, section, ini, 0);
        PrintOneXImage(nullptr, section, ini, 0, 0);
        GlobalFree(block);
    } else {
        return Usage();
    }
    Say("returned\n");
    return 0;
}

// Ends the watcher's pass and waits for it, answering meanwhile what it
// sends to this thread's windows.
void StopWatcher(HANDLE watcher)
{
    g_stop = true;
    while (MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    CloseHandle(watcher);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string command = argv[1];
    if (const char* script = getenv("KPRINT_SHEET")) {
        std::string all = script;
        for (size_t at = 0; at <= all.size();) {
            size_t end = all.find(';', at);
            if (end == std::string::npos)
                end = all.size();
            if (end > at)
                g_script.push_back(all.substr(at, end - at));
            at = end + 1;
        }
    }
    if (!WatchMainThread()) {
        fprintf(stderr, "kprint: cannot watch the main thread's messages\n");
        return 1;
    }
    HANDLE watcher = CreateThread(nullptr, 0, Watcher, nullptr, 0, nullptr);
    int status = 0;
    if (command == "one" && argc >= 8) {
        ImageRecord r = MakeRecord(atoi(argv[4]), atoi(argv[5]), atoi(argv[6]), argv[7], argc > 8 ? argv[8] : "",
                                   argc > 9 ? atoi(argv[9]) : 0);
        ImageRecord before = r;
        PrintOneXImage(&r, argv[2], argv[3], 1, 0);
        Say("record %s\n", memcmp(&before, &r, sizeof r) == 0 ? "unchanged" : "changed");
    } else if (command == "all" && argc >= 9) {
        int count = atoi(argv[4]);
        g_cancelAtPage = argc > 9 ? atoi(argv[9]) : 0;
        if (g_cancelAtPage && !SetWindowsHookExA(WH_CALLWNDPROC, CancelAtPage, nullptr, GetCurrentThreadId())) {
            fprintf(stderr, "kprint: cannot watch the meter's page line\n");
            return 1;
        }
        std::vector<ImageRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(MakeRecord(atoi(argv[5]), atoi(argv[6]), atoi(argv[7]),
                                         std::string(argv[8]) + std::to_string(i + 1) + ".bmp", "", 0));
        HGLOBAL block = RecordBlock(records);
        PrintAllXImage(block, count, argv[2], argv[3], 0);
        bool same = memcmp(GlobalLock(block), records.data(), records.size() * sizeof(ImageRecord)) == 0;
        GlobalUnlock(block);
        Say("records %s\n", same ? "unchanged" : "changed");
        GlobalFree(block);
    } else if (command == "onepage" && argc >= 5) {
        std::vector<ImageRecord> records;
        int w = argc > 6 ? atoi(argv[5]) : 8, h = argc > 6 ? atoi(argv[6]) : 8;
        std::string prefix = argc > 7 ? argv[7] : "C:\\x";
        for (int i = 0; i < atoi(argv[4]); ++i)
            records.push_back(MakeRecord(8, w, h, prefix + std::to_string(i + 1) + ".bmp", "", 0, i));
        HGLOBAL block = RecordBlock(records);
        g_images = int(records.size());
        PrintAllXImageOnePage(block, int(records.size()), argv[2], argv[3], 0);
        GlobalFree(block);
        Say("returned\n");
    } else if (command == "setup" && argc >= 4) {
        PrintXImageSetup(argv[2], argv[3]);
        Say("returned\n");
    } else if (command == "printer-setup" && argc >= 4) {
        PrinterSetup(argv[2], argv[3]);
        Say("returned\n");
    } else if (command == "twice" && argc >= 7) {
        const char* kSections[3][2] = {{argv[2], argv[3]}, {argv[4], argv[5]}, {argv[4], argv[5]}};
        for (int i = 0; i < 3; ++i) {
            if (i == 2)
                ResetPrinter();
            ImageRecord r = MakeRecord(24, 32, 24, std::string(argv[6]) + std::to_string(i + 1) + ".bmp", "", 0);
            PrintOneXImage(&r, kSections[i][0], kSections[i][1], 0, 0);
        }
        Say("returned\n");
    } else if (command == "reset") {
        ResetPrinter();
    } else if (command == "bad" && argc >= 5) {
        status = BadRecords(argv[2], argv[3], argv[4]);
    } else {
        status = Usage();
    }
    StopWatcher(watcher);
    return status;
}
