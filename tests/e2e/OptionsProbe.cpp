// koptprobe: what the option dialogs' end-to-end cases ask from outside the
// program.
//
//   koptprobe latency <hwnd> <seconds>   sends WM_NULL every 10 ms for that long and
//                                        prints the slowest answer in milliseconds
//                                        (9999 when one never came within 5 s)
//   koptprobe foreground                 the window in front and its title
//   koptprobe syscolor <index>           red, green and blue of a system colour
//   koptprobe link-target <file.lnk>     the target path of a shell link, read back
//                                        through IShellLinkA
#define INITGUID
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Latency(HWND window, double seconds)
{
    LARGE_INTEGER frequency, start, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    double slowest = 0;
    for (;;) {
        QueryPerformanceCounter(&before);
        if ((before.QuadPart - start.QuadPart) / double(frequency.QuadPart) > seconds)
            break;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) {
            printf("9999\n");
            return 1;
        }
        QueryPerformanceCounter(&after);
        const double ms = (after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
        if (ms > slowest)
            slowest = ms;
        Sleep(10);
    }
    printf("%d\n", int(slowest + 0.5));
    return 0;
}

int LinkTarget(const char* path)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    int result = 1;
    WCHAR wide[MAX_PATH];
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) && SUCCEEDED(file->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = "";
        if (SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
            printf("%s\n", target);
            result = 0;
        }
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "latency") == 0)
        return Latency(reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(argv[2], nullptr, 0))), atof(argv[3]));
    if (argc == 2 && strcmp(argv[1], "foreground") == 0) {
        HWND window = GetForegroundWindow();
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        printf("0x%llx %s\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), title);
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "syscolor") == 0) {
        const COLORREF color = GetSysColor(atoi(argv[2]));
        printf("%d %d %d\n", GetRValue(color), GetGValue(color), GetBValue(color));
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "link-target") == 0)
        return LinkTarget(argv[2]);
    fprintf(stderr, "usage: koptprobe latency <hwnd> <seconds> | foreground | syscolor <index> | link-target <file.lnk>\n");
    return 2;
}
