// kdriver: drives the suite's programs from end-to-end tests with window
// messages. One command per call; the exit code is 0 on success, and any
// answer is printed on standard output.
//
//   kdriver wait-window <class|-> <title|->  [seconds]   print the handle when it appears
//   kdriver send <hwnd> <message> <wparam> <lparam>      SendMessage, print the result
//   kdriver post <hwnd> <message> <wparam> <lparam>      PostMessage
//   kdriver command <hwnd> <id>                          WM_COMMAND with a menu id
//   kdriver title <hwnd>                                 print the window text
//   kdriver children <hwnd>                              print class and text of each child
//   kdriver close <hwnd>                                 WM_CLOSE and wait for the window to go
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND ParseWindow(const char* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoul(text, nullptr, 0))); }

LPARAM ParseNumber(const char* text) { return static_cast<LPARAM>(strtol(text, nullptr, 0)); }

const char* OrNull(const char* text) { return strcmp(text, "-") == 0 ? nullptr : text; }

int WaitWindow(const char* className, const char* title, double seconds) {
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    do {
        if (HWND window = FindWindowA(OrNull(className), OrNull(title))) {
            printf("0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
            return 0;
        }
        Sleep(100);
    } while (static_cast<LONG>(deadline - GetTickCount()) > 0);
    fprintf(stderr, "no such window\n");
    return 1;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char className[128], text[512];
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    printf("0x%lx\t%s\t%s\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(child)), className, text);
    return TRUE;
}

int Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i) Sleep(100);
    return IsWindow(window) ? 1 : 0;
}

int Usage() {
    fprintf(stderr, "usage: kdriver wait-window|send|post|command|title|children|close ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const char* verb = argv[1];
    if (strcmp(verb, "wait-window") == 0 && argc >= 4)
        return WaitWindow(argv[2], argv[3], argc > 4 ? atof(argv[4]) : 10.0);
    HWND window = ParseWindow(argv[2]);
    if (!IsWindow(window)) {
        fprintf(stderr, "not a window: %s\n", argv[2]);
        return 1;
    }
    if (strcmp(verb, "send") == 0 && argc == 6) {
        LRESULT result = SendMessageA(window, static_cast<UINT>(ParseNumber(argv[3])), ParseNumber(argv[4]), ParseNumber(argv[5]));
        printf("%ld\n", static_cast<long>(result));
        return 0;
    }
    if (strcmp(verb, "post") == 0 && argc == 6)
        return PostMessageA(window, static_cast<UINT>(ParseNumber(argv[3])), ParseNumber(argv[4]), ParseNumber(argv[5])) ? 0 : 1;
    if (strcmp(verb, "command") == 0 && argc == 4) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ParseNumber(argv[3]), 0), 0);
        return 0;
    }
    if (strcmp(verb, "title") == 0) {
        char text[512];
        GetWindowTextA(window, text, sizeof text);
        printf("%s\n", text);
        return 0;
    }
    if (strcmp(verb, "children") == 0) {
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (strcmp(verb, "close") == 0) return Close(window);
    return Usage();
}
