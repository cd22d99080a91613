// ksetupcheck: what the installer left, read back as Windows reads it.
//
//   ksetupcheck times <file>...     each file's creation, access and write time
//                                   in local time, "YYYY-MM-DD HH:MM:SS" three
//                                   times on a line
//   ksetupcheck link <file.lnk>     the shortcut's target and working folder,
//                                   one a line, through IShellLinkA
//   ksetupcheck text <hwnd>         a control's text as WM_GETTEXT gives it (the
//                                   text of another program's edit control)
//   ksetupcheck hold <file> <secs>  opens the file without sharing and keeps it
//                                   open; "<file>.held" appears once it is held
//   ksetupcheck point <hwnd> <what> a screen point "x y" for a real click: what
//                                   is "close" (the close box), "caption" or the
//                                   id of a child control (its centre)
//   ksetupcheck active <hwnd>       succeeds when the window is the foreground
//                                   window
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void PrintLocal(const FILETIME& universal)
{
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&universal, &local);
    FileTimeToSystemTime(&local, &t);
    printf("%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

int Times(int count, char** paths)
{
    for (int i = 0; i < count; ++i) {
        HANDLE file = CreateFileA(paths[i], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        FILETIME created{}, accessed{}, written{};
        if (file == INVALID_HANDLE_VALUE || !GetFileTime(file, &created, &accessed, &written)) {
            fprintf(stderr, "cannot read the times of %s\n", paths[i]);
            return 1;
        }
        CloseHandle(file);
        PrintLocal(created);
        printf(" | ");
        PrintLocal(accessed);
        printf(" | ");
        PrintLocal(written);
        printf("\n");
    }
    return 0;
}

int Link(const char* path)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH] = {};
    char target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link))) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) &&
                SUCCEEDED(file->Load(wide, STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    if (!read) {
        fprintf(stderr, "cannot read the shortcut %s\n", path);
        return 1;
    }
    printf("%s\n%s\n", target, folder);
    return 0;
}

int Text(const char* window)
{
    HWND control = reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(window, nullptr, 0)));
    char text[1024] = {};
    if (!IsWindow(control))
        return 1;
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    printf("%s\n", text);
    return 0;
}

int Hold(const char* path, int seconds)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    char mark[MAX_PATH + 8];
    snprintf(mark, sizeof mark, "%s.held", path);
    HANDLE made = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (made != INVALID_HANDLE_VALUE)
        CloseHandle(made);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    CloseHandle(file);
    return 0;
}

LRESULT HitTest(HWND window, LONG x, LONG y)
{
    DWORD_PTR hit = HTNOWHERE;
    SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &hit);
    return static_cast<LRESULT>(hit);
}

// A point a little below the top of the first run, right to left along the
// window's top rows, of points the window itself says are the area given.
bool FindHitPoint(HWND window, LRESULT area, POINT* found)
{
    RECT frame{};
    if (!GetWindowRect(window, &frame))
        return false;
    for (LONG y = frame.top; y < frame.top + 48 && y < frame.bottom; ++y) {
        LONG right = frame.right - 1;
        while (right >= frame.left && HitTest(window, right, y) != area)
            --right;
        if (right < frame.left)
            continue;
        LONG left = right;
        while (left > frame.left && HitTest(window, left - 1, y) == area)
            --left;
        *found = {(left + right) / 2, y + 4};
        return true;
    }
    return false;
}

int Point(const char* window, const char* what)
{
    HWND target = reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(window, nullptr, 0)));
    POINT point{};
    bool found = false;
    if (strcmp(what, "close") == 0) {
        found = FindHitPoint(target, HTCLOSE, &point);
    } else if (strcmp(what, "caption") == 0) {
        RECT frame{};
        found = FindHitPoint(target, HTCAPTION, &point) && GetWindowRect(target, &frame);
        if (found)
            point.x = (frame.left + frame.right) / 2;   // clear of the caption's buttons
    } else {
        HWND control = GetDlgItem(target, atoi(what));
        RECT place{};
        found = control && GetWindowRect(control, &place);
        point = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    }
    if (!found) {
        fprintf(stderr, "no point '%s' in window %s\n", what, window);
        return 1;
    }
    printf("%ld %ld\n", static_cast<long>(point.x), static_cast<long>(point.y));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "times") == 0)
        return Times(argc - 2, argv + 2);
    if (argc == 3 && strcmp(argv[1], "link") == 0)
        return Link(argv[2]);
    if (argc == 3 && strcmp(argv[1], "text") == 0)
        return Text(argv[2]);
    if (argc == 4 && strcmp(argv[1], "hold") == 0)
        return Hold(argv[2], atoi(argv[3]));
    if (argc == 4 && strcmp(argv[1], "point") == 0)
        return Point(argv[2], argv[3]);
    if (argc == 3 && strcmp(argv[1], "active") == 0)
        return GetForegroundWindow() == reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(argv[2], nullptr, 0)))
                   ? 0
                   : 1;
    fprintf(stderr, "usage: ksetupcheck times <file>... | link <file.lnk> | text <hwnd> | hold <file> <seconds> | "
                    "point <hwnd> close|caption|<id> | active <hwnd>\n");
    return 2;
}
