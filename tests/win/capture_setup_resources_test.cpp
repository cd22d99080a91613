// The Capture Setup sheet's page templates and the Hotkey Setup keyboard as
// the resources hold them: tab captions, the controls the code binds, and
// the 101 key caps laid out as the keyboard picture.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "KapturaResourcesKit.h"
#include "capture/core/capture/HotkeyKeys.h"
#include "capture/options/hotkeys/KeyCapName.h"
#include "capture/options/hotkeys/HotkeySetupIds.h"
#include "capture/options/setupsheet/CaptureSetupIds.h"

namespace {

INT_PTR CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog of the resources, created hidden; the key caps get a plain
// class of their name.
class ResourceDialog {
public:
    explicit ResourceDialog(UINT id)
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSA keyClass = {};
        keyClass.style = CS_GLOBALCLASS;
        keyClass.lpfnWndProc = DefWindowProcA;
        keyClass.lpszClassName = "KeyClass";
        RegisterClassA(&keyClass);
        // Pages are child windows: they need a parent.
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        window_ = CreateDialogParamA(KapturaResources(), MAKEINTRESOURCEA(id), parent_, Ignore, 0);
    }
    ~ResourceDialog()
    {
        if (window_)
            DestroyWindow(window_);
        if (parent_)
            DestroyWindow(parent_);
    }
    HWND window() const { return window_; }
    std::string Text(int id) const
    {
        char text[256] = "";
        GetDlgItemTextA(window_, id, text, sizeof text);
        return text;
    }
    std::string Caption() const
    {
        char text[64] = "";
        GetWindowTextA(window_, text, sizeof text);
        return text;
    }
    // The control's place in dialog units (rounded from pixels).
    RECT Place(int id) const
    {
        RECT place = {0, 0, 0, 0};
        GetWindowRect(GetDlgItem(window_, id), &place);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
        RECT unit = {0, 0, 400, 800};
        MapDialogRect(window_, &unit);
        auto toUnits = [](LONG pixels, LONG per400) { return static_cast<LONG>((pixels * 400 + per400 / 2) / per400); };
        return {toUnits(place.left, unit.right), toUnits(place.top, unit.bottom / 2),
                toUnits(place.right, unit.right), toUnits(place.bottom, unit.bottom / 2)};
    }

private:
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace

TEST(CaptureSetupResources, PagesCarryTheirTabCaptionsAndControls)
{
    ASSERT_NE(KapturaResources(), nullptr);
    struct Page {
        UINT id;
        const char* caption;
        int control;
        const char* text;
    } pages[] = {
        {IDD_SETUP_SENDTO, "Send To", IDC_SENDTO_SET_FILE, "S&et File..."},
        {IDD_SETUP_CAPTURE, "Capture", IDC_CAPTURE_SET_BLACK_WHITE, "Set &Black && White"},
        {IDD_SETUP_SCREEN, "Screen", IDC_SCREEN_FULL, "Set to &Full Screen"},
        {IDD_SETUP_WINDOW, "Window", IDC_WINDOW_SELECT, "&Select a Window"},
        {IDD_SETUP_REGION, "Region", IDC_REGION_PEN_COLOR, "&Pen Color"},
        {IDD_SETUP_TITLEMENU, "Title && Menu", IDC_TITLEMENU_CASCADING, "&Cascading Menu"},
        {IDD_SETUP_FREEHAND, "Freehand", IDC_FREEHAND_BORDER, "Include &Border"},
        {IDD_SETUP_BUTTON, "Button", IDC_BUTTON_ADD_FRAME, "&Add a frame around the button"},
        {IDD_SETUP_COMMANDBAR, "Command Bar", IDC_COMMANDBAR_DROPDOWNS, "Capture &dropdown menus"},
        {IDD_SETUP_NOTIFY, "Notification", IDC_NOTIFY_TEST_FLASH, "T&est"},
    };
    for (const Page& page : pages) {
        ResourceDialog dialog(page.id);
        ASSERT_NE(dialog.window(), nullptr) << page.id;
        EXPECT_EQ(dialog.Caption(), page.caption);
        EXPECT_EQ(dialog.Text(page.control), page.text) << page.id;
        EXPECT_TRUE(GetWindowLongA(dialog.window(), GWL_STYLE) & WS_CHILD) << page.id;
    }
    // Freehand offers its pen's colour as Region does.
    ResourceDialog freehand(IDD_SETUP_FREEHAND);
    EXPECT_EQ(freehand.Text(IDC_FREEHAND_PEN_COLOR), "&Pen Color");
    // The places the pages paint into are not shown themselves.
    ResourceDialog region(IDD_SETUP_REGION);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(region.window(), IDC_REGION_SAMPLE), GWL_STYLE) & WS_VISIBLE);
}

TEST(CaptureSetupResources, KeyboardCapsFollowTheKeyboardPicture)
{
    ResourceDialog dialog(IDD_HOTKEY_SETUP);
    ASSERT_NE(dialog.window(), nullptr);
    EXPECT_EQ(dialog.Caption(), "Hotkey Setup");
    // Rows by their first key index, with their height in dialog units.
    const int rowFirst[] = {0, 16, 37, 58, 74, 91, 101};
    const int rowTop[] = {10, 29, 42, 55, 68, 81};
    for (int row = 0; row < 6; ++row) {
        for (int key = rowFirst[row]; key < rowFirst[row + 1]; ++key) {
            char name[32] = "";
            HWND cap = GetDlgItem(dialog.window(), IDC_KEY_CAP_FIRST + key);
            ASSERT_NE(cap, nullptr) << key;
            GetClassNameA(cap, name, sizeof name);
            EXPECT_STREQ(name, "KeyClass");
            const RECT place = dialog.Place(IDC_KEY_CAP_FIRST + key);
            EXPECT_NEAR(place.top, rowTop[row], 1) << "key " << key;
            if (key > rowFirst[row]) {
                EXPECT_GE(place.left, dialog.Place(IDC_KEY_CAP_FIRST + key - 1).right - 1) << "key " << key;
            }
        }
    }
    // Group starts, blocks and the wide and tall keys.
    const struct {
        int key, left, width, height;
    } caps[] = {{0, 6, 13, 13},    {1, 32, 13, 13},  {5, 91, 13, 13},   {9, 149, 13, 13},  {13, 208, 13, 13},
                {29, 175, 26, 13}, {30, 208, 13, 13}, {33, 253, 13, 13}, {37, 6, 17, 13},   {50, 179, 22, 13},
                {57, 292, 13, 26}, {58, 6, 22, 13},  {70, 171, 30, 13},  {74, 6, 31, 13},   {85, 167, 34, 13},
                {90, 292, 13, 26}, {91, 6, 17, 13},  {92, 23, 18, 13},   {93, 41, 91, 13},  {99, 253, 26, 13}};
    for (const auto& cap : caps) {
        const RECT place = dialog.Place(IDC_KEY_CAP_FIRST + cap.key);
        EXPECT_NEAR(place.left, cap.left, 1) << "key " << cap.key;
        EXPECT_NEAR(place.right - place.left, cap.width, 1) << "key " << cap.key;
        EXPECT_NEAR(place.bottom - place.top, cap.height, 1) << "key " << cap.key;
    }
    // The capture types form one radio group in row order, ending with Command Bar.
    HWND radio = GetDlgItem(dialog.window(), IDC_HOTKEY_SCREEN);
    const int order[] = {1835, 1836, 1837, 1838, 1839, 1840, 1841, 1375};
    for (int id : order) {
        ASSERT_NE(radio, nullptr);
        EXPECT_EQ(GetDlgCtrlID(radio), id);
        radio = GetNextWindow(radio, GW_HWNDNEXT);
    }
}

// Every key's name is whole on its cap: smaller or on two lines where the
// cap font is too wide for it.
TEST(CaptureSetupResources, EveryKeyNameFitsItsCap)
{
    ResourceDialog dialog(IDD_HOTKEY_SETUP);
    ASSERT_NE(dialog.window(), nullptr);
    LOGFONTA font{};
    font.lfHeight = -9;
    lstrcpynA(font.lfFaceName, "Arial", sizeof font.lfFaceName);
    HDC dc = CreateCompatibleDC(nullptr);
    for (int key = 0; key < kHotkeyTableSize; ++key) {
        RECT client;
        GetClientRect(GetDlgItem(dialog.window(), IDC_KEY_CAP_FIRST + key), &client);
        const SIZE face = {client.right - 6, client.bottom - 6};   // inside the bevel
        const KeyCapName fitted = FitKeyCapName(dc, font, face, HotkeyKeys[key].name);
        EXPECT_EQ(fitted.first + fitted.second, HotkeyKeys[key].name);
        LOGFONTA sized = font;
        sized.lfHeight = fitted.height;
        HFONT made = CreateFontIndirectA(&sized);
        HGDIOBJ old = SelectObject(dc, made);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        int height = 0;
        for (const std::string& line : {fitted.first, fitted.second}) {
            if (line.empty())
                continue;
            SIZE size{};
            GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
            EXPECT_LE(size.cx, face.cx) << "\"" << line << "\" of key " << key << " at height " << fitted.height;
            height += metrics.tmHeight;
        }
        EXPECT_LE(height, face.cy) << "key " << key << " \"" << HotkeyKeys[key].name << "\"";
        SelectObject(dc, old);
        DeleteObject(made);
    }
    DeleteDC(dc);
}
