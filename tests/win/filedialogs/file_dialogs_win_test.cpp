// The Open dialogs with the preview, run in this process under Wine with the
// program's resources: the older dialog (the system version made 3), its
// Preview box and its list's preview, and what OK and Cancel leave of the
// previewed image. A watcher thread acts on the dialog as a user would.
#include <windows.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "capture/core/image/WorkImage.h"
#include "capture/core/settings/Settings.h"
#include "capture/options/filedialogs/FileOpenDialogs.h"
#include "framework/WinApp.h"
#include "tests/win/KapturaResourcesKit.h"

// ---- The program's services, as this test provides them ------------------------

char HelpFilePath[MAX_PATH] = "";
int ShownMessages = 0;
void ShowStringMessage(int) { ++ShownMessages; }
void PumpMessages() {}
HWND MainFrameWindow() { return nullptr; }

namespace {

const int kFileList = 1120;
const int kOldPreviewCheck = 104;

// A 24-bit bitmap file of width x height in one colour.
void WriteBitmap(const std::string& path, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const int bits = stride * height;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bits;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string pixels(static_cast<size_t>(bits), '\x40');
    FILE* out = fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info, sizeof info, 1, out);
    fwrite(pixels.data(), 1, pixels.size(), out);
    fclose(out);
}

HWND FindOwnDialog()
{
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(box, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

int Width(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r.right - r.left;
}

// What the watcher saw and did.
struct OldDialogRun {
    bool found = false, hasPreviewBox = false;
    int widthBefore = 0, widthAfter = 0;
    int previewFlag = 0, previewWidth = 0;
};

// Clicks "Preview" when asked, selects name in the file list, then presses
// button (IDOK or IDCANCEL).
void DriveOldDialog(OldDialogRun& run, bool clickPreview, const char* name, int button)
{
    HWND dialog = nullptr;
    for (int i = 0; i < 100 && !(dialog = FindOwnDialog()); ++i)
        Sleep(50);
    if (!dialog)
        return;
    run.found = true;
    Sleep(200);
    HWND check = GetDlgItem(dialog, kOldPreviewCheck);
    run.hasPreviewBox = check != nullptr;
    run.widthBefore = Width(dialog);
    if (clickPreview && check)
        SendMessageA(check, BM_CLICK, 0, 0);
    run.widthAfter = Width(dialog);
    HWND list = GetDlgItem(dialog, kFileList);
    const LRESULT row = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFileList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    run.previewFlag = PreviewLoaded;
    run.previewWidth = WorkImage ? WorkImage->width : -1;
    PostMessageA(dialog, WM_COMMAND, button, 0);
}

class OlderOpenDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(KapturaResources(), nullptr);
        previousResources = AfxGetResourceHandle();
        AfxSetResourceHandle(KapturaResources());
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "kfiledialogs";
        CreateDirectoryA(folder.c_str(), nullptr);
        WriteBitmap(folder + "\\wide.bmp", 48, 20);
        lstrcpynA(PathNameOpen, folder.c_str(), sizeof PathNameOpen);
        FileNameOpen[0] = 0;
        Format[kFormatOpenFilter] = 1;
        Format[kFormatOpenPreview] = 0;
        savedVersion = WindowsVersion;
        WindowsVersion = 3;   // a system before the explorer-style dialogs
        PreviewLoaded = 0;
        CreateWorkImage();
    }
    void TearDown() override
    {
        WindowsVersion = savedVersion;
        PreviewLoaded = 0;
        DeleteWorkImage();
        DeleteFileA((folder + "\\wide.bmp").c_str());
        RemoveDirectoryA(folder.c_str());
        AfxSetResourceHandle(previousResources);
    }

    CWinApp app{"kfiledialogs"};
    HINSTANCE previousResources = nullptr;
    std::string folder;
    DWORD savedVersion = 0;
};

}  // namespace

TEST_F(OlderOpenDialog, PreviewBoxWidensItAndOkKeepsThePreviewForTheDocument)
{
    OldDialogRun run;
    std::thread watcher([&] { DriveOldDialog(run, true, "wide.bmp", IDOK); });
    char name[MAX_PATH] = "";
    const int chosen = RunOpenDialog(name, sizeof name);
    const DWORD error = CommDlgExtendedError();
    watcher.join();
    ASSERT_TRUE(run.found) << "dialog error " << error;
    EXPECT_TRUE(run.hasPreviewBox);
    EXPECT_EQ(run.widthAfter - run.widthBefore, 148);
    EXPECT_EQ(run.previewFlag, 1);
    EXPECT_EQ(run.previewWidth, 48);
    EXPECT_EQ(chosen, 1);
    EXPECT_STREQ(name, "wide.bmp");
    EXPECT_STREQ(FileNameOpen, "wide.bmp");
    EXPECT_EQ(Format[kFormatOpenPreview], 1);
    // The document's open takes this image over instead of reading the file.
    EXPECT_EQ(PreviewLoaded, 1);
    EXPECT_EQ(WorkImage->width, 48);
}

TEST_F(OlderOpenDialog, CancelLeavesNoPreviewAndStoresNothing)
{
    Format[kFormatOpenPreview] = 1;
    OldDialogRun run;
    std::thread watcher([&] { DriveOldDialog(run, false, "wide.bmp", IDCANCEL); });
    char name[MAX_PATH] = "";
    const int chosen = RunOpenDialog(name, sizeof name);
    watcher.join();
    ASSERT_TRUE(run.found);
    EXPECT_EQ(run.previewWidth, 48);
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(PreviewLoaded, 0);
    EXPECT_EQ(WorkImage->hPixels, nullptr);
    EXPECT_EQ(Format[kFormatOpenPreview], 1);
    EXPECT_STREQ(FileNameOpen, "");
}
