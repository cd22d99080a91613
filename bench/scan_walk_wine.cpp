// kscanbench: the yardsticks of the browser's scan and sort benchmark,
// run under Wine in the same prefix as the browser.
//
//   kscanbench walk <root>     a bare FindFirstFile/FindNextFile walk of the
//                              tree: prints "<files> <folders> <ms>"
//   kscanbench scan <selection dialog> <frame>
//                              confirms the browser's selection dialog and
//                              times its scan: prints "<ms from OK> <ms from
//                              the scanner dialog's appearance>"
//   kscanbench sort <rows>     the list's rows sorted by each column in
//                              turn, both ways: prints "<column> <ms>" lines
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FileRows.h"

namespace {

double Milliseconds(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Walk(const char* root)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    std::vector<std::string> pending{root};
    long files = 0, folders = 0;
    while (!pending.empty()) {
        const std::string path = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            const char* name = data.cFileName;
            if (name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])))
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ++folders;
                pending.push_back(path + "\\" + name);
            } else {
                ++files;
            }
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    printf("%ld %ld %.1f\n", files, folders, Milliseconds(start));
    return 0;
}

HWND ParseWindow(const char* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(text, nullptr, 0))); }

// The scan runs while its scanner dialog is up and the frame is disabled;
// it has ended when the frame takes input again (the dialog goes after).
int Scan(HWND selection, HWND frame)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PostMessageA(selection, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    bool started = false;
    for (int wait = 0; !started; ++wait) {
        Sleep(2);
        started = FindWindowA(nullptr, "Pixorama 99 Scanner") && !IsWindowEnabled(frame);
        if (wait > 5000 || !IsWindow(frame))
            return 1;
    }
    LARGE_INTEGER scanStart;
    QueryPerformanceCounter(&scanStart);
    // Only the window's state is read: a message to the program would wait
    // until it has finished closing the scanner dialog.
    while (!IsWindowEnabled(frame)) {
        Sleep(2);
        if (!IsWindow(frame))
            return 1;
    }
    printf("%.1f %.1f\n", Milliseconds(start), Milliseconds(scanStart));
    return 0;
}

int Sort(int count)
{
    FileRowTable rows;
    srand(11);
    for (int i = 0; i < count; ++i) {
        char location[64];
        snprintf(location, sizeof location, "P:\\d%d\\img%d.%s", i % 400, rand(), i % 3 ? "bmp" : "jpg");
        rows.Append(location, static_cast<uint64_t>(rand()) * 13, 130000000000000000ULL + static_cast<uint64_t>(rand()) * 10000000ULL,
                    static_cast<uintptr_t>(i + 1));
    }
    rows.Settle();
    for (int column = 0; column < kFileColumnCount; ++column) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        rows.Sort(column, true);
        rows.Sort(column, false);
        printf("%d %.1f\n", column, Milliseconds(start) / 2);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "walk") == 0)
        return Walk(argv[2]);
    if (argc == 4 && strcmp(argv[1], "scan") == 0)
        return Scan(ParseWindow(argv[2]), ParseWindow(argv[3]));
    if (argc == 3 && strcmp(argv[1], "sort") == 0)
        return Sort(atoi(argv[2]));
    fprintf(stderr, "usage: kscanbench walk <root> | sort <rows>\n");
    return 2;
}
