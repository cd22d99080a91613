// Preview speed of the explorer-style Open dialog under Wine: the time from
// the selection of a 1920 x 1080 JPEG in the dialog's file list to its
// preview painted and its size line set, median of the runs, against the
// 150 ms limit; beside it the time of reading the same file alone.
//   file_preview_bench <folder> <big.jpg> <small.bmp> [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "capture/core/document/ImageFileIO.h"
#include "capture/core/image/WorkImage.h"
#include "capture/core/settings/Settings.h"
#include "capture/options/filedialogs/FileOpenDialogs.h"
#include "framework/WinApp.h"

char HelpFilePath[MAX_PATH] = "";
void ShowStringMessage(int) {}
void PumpMessages() {}
HWND MainFrameWindow() { return nullptr; }

namespace {

const double kLimitMs = 150;
const int kPreviewSizeLine = 1130;

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

struct ClassSearch {
    const char* name;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ClassSearch*>(data);
    char name[64];
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, search->name) != 0)
        return TRUE;
    search->found = child;
    return FALSE;
}

// The first window of a class among parent's descendants.
HWND FindOwn(HWND parent, const char* className)
{
    ClassSearch search{className, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialog()
{
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(box, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

// Selects the list row named name as a click would; returns when the
// dialog has handled it (its preview painted and its size line set).
bool SelectRow(HWND list, const char* name)
{
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    const int row = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), (LPARAM)&find));
    if (row < 0)
        return false;
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), (LPARAM)&state);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&state);
    return true;
}

std::string Text(HWND window)
{
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: file_preview_bench <folder> <big.jpg> <small.bmp> [runs]\n");
        return 2;
    }
    const std::string folder = argv[1], big = argv[2], small = argv[3];
    const int runs = argc > 4 ? atoi(argv[4]) : 11;
    CWinApp app("file_preview_bench");
    HMODULE resources = LoadLibraryA("KapturaResources.dll");
    if (resources)
        AfxSetResourceHandle(resources);
    LoadScreenMetrics();
    CreateWorkImage();
    lstrcpynA(PathNameOpen, folder.c_str(), sizeof PathNameOpen);
    FileNameOpen[0] = 0;
    Format[kFormatOpenFilter] = 14;
    Format[kFormatOpenPreview] = 1;

    // Reading the file alone, the floor of the preview's time.
    std::vector<double> reads;
    for (int i = 0; i < runs; ++i) {
        DisplayImage image;
        const auto start = Clock::now();
        LoadImageFile(&image, (folder + "\\" + big).c_str());
        reads.push_back(Ms(start));
        image.FreeBlocks();
    }

    std::vector<double> previews;
    std::string lastSize;
    std::thread user([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 200 && !(dialog = FindDialog()); ++i)
            Sleep(50);
        HWND list = nullptr;
        for (int i = 0; dialog && i < 100 && !(list = FindOwn(dialog, "SysListView32")); ++i)
            Sleep(50);
        HWND extra = dialog ? FindOwn(dialog, "#32770") : nullptr;
        HWND sizeLine = extra ? GetDlgItem(extra, kPreviewSizeLine) : nullptr;
        if (list && sizeLine) {
            Sleep(300);
            for (int i = 0; i < runs; ++i) {
                SelectRow(list, small.c_str());
                const auto start = Clock::now();
                if (!SelectRow(list, big.c_str()))
                    break;
                previews.push_back(Ms(start));
                lastSize = Text(sizeLine);
            }
        }
        if (dialog)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    char name[MAX_PATH];
    RunExplorerOpenDialog(name, sizeof name);
    user.join();
    if (previews.size() != static_cast<size_t>(runs) || lastSize != "1920w x 1080h") {
        printf("FAIL: the dialog did not preview %s (%zu runs, size line '%s')\n", big.c_str(), previews.size(),
               lastSize.c_str());
        return 1;
    }
    const double median = Median(previews);
    printf("Open dialog preview of a 1920 x 1080 JPEG: median %.1f ms of %d (limit %.0f ms); reading the file "
           "alone %.1f ms\n",
           median, runs, kLimitMs, Median(reads));
    printf("%s\n", median <= kLimitMs ? "PASS" : "FAIL");
    return median <= kLimitMs ? 0 : 1;
}
