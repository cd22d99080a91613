// The Check Color dialog with the program's own template: a watcher thread
// looks at the dialog as a user would see it (texts, swatch, place on the
// screen) and presses one of its buttons.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "capture/core/document/DocumentOperationCalls.h"
#include "framework/WinApp.h"
#include "KapturaResourcesKit.h"

namespace {

// The program's resources for the dialogs made while it lives.
class ProgramResources {
public:
    ProgramResources() : previous_(AfxGetResourceHandle())
    {
        if (KapturaResources())
            AfxSetResourceHandle(KapturaResources());
    }
    ~ProgramResources() { AfxSetResourceHandle(previous_); }
    bool Loaded() const { return KapturaResources() != nullptr; }

private:
    HINSTANCE previous_;
};

// What the watcher saw of the dialog.
struct SeenDialog {
    bool found = false;
    std::string red, green, blue;
    COLORREF swatchCentre = CLR_INVALID;
    RECT window{};
    bool owned = false;
};

std::string ItemText(HWND dialog, int id)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

HWND FindOwnDialog(const char* title)
{
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", title));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(box, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

// Waits for the dialog, notes what it shows once the swatch holds the
// expected colour (or after a while), then clicks button.
void WatchAndPress(SeenDialog& seen, COLORREF expected, int button)
{
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !dialog; ++i, Sleep(25))
        dialog = FindOwnDialog("Check Color");
    if (!dialog)
        return;
    seen.found = true;
    HWND swatch = GetDlgItem(dialog, 1701);
    for (int i = 0; i < 100; ++i, Sleep(25)) {
        RECT inside{};
        GetClientRect(swatch, &inside);
        HDC dc = GetDC(swatch);
        seen.swatchCentre = GetPixel(dc, inside.right / 2, inside.bottom / 2);
        ReleaseDC(swatch, dc);
        if (seen.swatchCentre == expected)
            break;
    }
    seen.red = ItemText(dialog, 1702);
    seen.green = ItemText(dialog, 1703);
    seen.blue = ItemText(dialog, 1704);
    GetWindowRect(dialog, &seen.window);
    seen.owned = GetWindow(dialog, GW_OWNER) != nullptr;
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

int RunWatched(SeenDialog& seen, COLORREF color, int button)
{
    std::thread watcher([&] { WatchAndPress(seen, color, button); });
    int result = RunCheckColorDialog(color);
    watcher.join();
    return result;
}

} // namespace

TEST(CheckColorDialog, ShowsThePickedColourAndCloseEndsWithOk)
{
    CWinApp app("check color");
    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded()) << "KapturaResources.dll beside the test program";
    SeenDialog seen;
    EXPECT_EQ(RunWatched(seen, RGB(5, 120, 255), IDOK), IDOK);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.red, "005");
    EXPECT_EQ(seen.green, "120");
    EXPECT_EQ(seen.blue, "255");
    EXPECT_EQ(seen.swatchCentre, RGB(5, 120, 255));
    // Centred on the desktop; made with no parent, it belongs to no window
    // here, where there is no main window.
    EXPECT_FALSE(seen.owned);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(abs(seen.window.left + seen.window.right - screenWidth), 2);
    EXPECT_LE(abs(seen.window.top + seen.window.bottom - screenHeight), 2);
}

TEST(CheckColorDialog, ChangeColorEndsWithItsOwnId)
{
    CWinApp app("check color");
    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded());
    SeenDialog seen;
    EXPECT_EQ(RunWatched(seen, RGB(0, 0, 0), kCheckColorChangeResult), kCheckColorChangeResult);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.red + seen.green + seen.blue, "000000000");
    EXPECT_EQ(seen.swatchCentre, RGB(0, 0, 0));
}

TEST(CheckColorDialog, EachComponentHasItsOwnField)
{
    CWinApp app("check color");
    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded());
    SeenDialog seen;
    EXPECT_EQ(RunWatched(seen, RGB(200, 9, 77), IDOK), IDOK);
    EXPECT_EQ(seen.red, "200");
    EXPECT_EQ(seen.green, "009");
    EXPECT_EQ(seen.blue, "077");
    EXPECT_EQ(seen.swatchCentre, RGB(200, 9, 77));
}
