// The capture program's resources, loaded from the resource-only DLL built
// from the same object the program links. Ids are written as numbers here on
// purpose, so that a wrong define in the header is caught as well.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "KapturaResourcesKit.h"

namespace {

HMODULE Resources() { return KapturaResources(); }

std::string String(UINT id)
{
    char text[1024];
    int length = LoadStringA(Resources(), id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

struct MenuItem {
    std::string line; // indented text, "=" and the id; "-" for a separator
    UINT id;
    bool grayed;
};

void CollectMenu(HMENU menu, const std::string& indent, std::vector<MenuItem>& items)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        bool grayed = (info.fState & MFS_GRAYED) != 0;
        if (info.fType & MFT_SEPARATOR) {
            items.push_back({indent + "-", 0, false});
        } else if (info.hSubMenu) {
            items.push_back({indent + text, 0, grayed});
            CollectMenu(info.hSubMenu, indent + "  ", items);
        } else {
            items.push_back({indent + text + "=" + std::to_string(info.wID), info.wID, grayed});
        }
    }
}

std::vector<MenuItem> LoadMenuItems(UINT id)
{
    std::vector<MenuItem> items;
    HMENU menu = LoadMenuA(Resources(), MAKEINTRESOURCEA(id));
    EXPECT_NE(menu, nullptr) << "menu " << id;
    if (!menu) return items;
    CollectMenu(menu, "", items);
    DestroyMenu(menu);
    return items;
}

std::vector<std::string> Lines(const std::vector<MenuItem>& items)
{
    std::vector<std::string> lines;
    for (const MenuItem& item : items) lines.push_back(item.line);
    return lines;
}

// The image windows' menu, item by item.
const std::vector<std::string> kDocumentMenu = {
    "&File",
    "  &Open...\tCtrl+O=57601", "  &Save As...\tCtrl+S=57604", "  -",
    "  Save &All...=32771", "  &Pixorama...=32772", "  &Batch Conversion...=32773", "  -",
    "  Open &Note Text...=32774", "  Save Note &Text...=32775", "  -",
    "  &Print...\tCtrl+P=57607", "  Pri&nt All One by One...=32776", "  Prin&t All on One Page...=32777",
    "  P&rint Setup...=57606", "  -", "  Recent File=57616", "  -", "  E&xit=57665",
    "&Edit",
    "  &Undo\tCtrl+Z=57643", "  -", "  &Copy Image\tCtrl+C=32778", "  &Paste Image\tCtrl+V=32779",
    "  &Delete Image\tCtrl+Del=32782", "  -", "  Copy &Text=32780", "  Pa&ste Text=32781", "  -",
    "  &Image Info...=32783",
    "&View",
    "  &Toolbar=59392", "  &Status Bar=59393", "  &Kaptura Explorer=32784", "  -", "  &Notepad=32785",
    "  -", "  Full &Screen View=32786", "  &View Background...=32787",
    "&Tool",
    "  &Frame...=32788", "  -", "  Zoom &In=32789", "  Zoom &Out\tCtrl+T=32790", "  -", "  &Scale...=32791",
    "  -", "  Flip &Horizontal=32792", "  Flip &Vertical=32793", "  -", "  Rotate &Left=32794",
    "  Rotate &Right=32795", "  -", "  Merge",
    "    &Merge Images=32796", "    &Show Border on Top Image=32797", "    &Background Color...=32798",
    "&Color",
    "  &Black && White...\tCtrl+B=32799", "  &Grayscale\tCtrl+G=32800", "  &Invert\tCtrl+N=32801", "  -",
    "  &Count Colors...=32802", "  C&heck && Change Colors...=32803", "  -", "  &Reduce Colors=32804",
    "C&rop",
    "  &Select Image=32805", "  &Invert Selection\tCtrl+K=32806", "  &Reset Cropping Lines\tCtrl+R=32807",
    "  -", "  &Crop=32808", "  &Erase=32809",
    "&Options",
    "  &Kaptura Setup...=32810", "  &Capture Setup...=32811", "  -", "  &Snapshot Button Setup...=32813",
    "  &Hotkey Setup...=32814", "  -", "  Kaptura Clock...=32812", "  -", "  &Master Reset...=32815",
    "  &Load Settings...=32816", "  Sa&ve Settings...=32817",
    "&Window",
    "  &Cascade=57650", "  &Tile=57651", "  Arrange &Icons=57649", "  Close &All=32819",
    "&Help",
    "  &Online User's Guide=32820", "  -", "  &About Kaptura 99...=57664",
};

// Commands the application or the frame handles, usable without documents.
const std::set<UINT> kFrameCommands = {
    57601, 32772, 32773, 57606, 57665, 32779, 59392, 59393, 32784, 32787, 32810, 32811,
    32812, 32813, 32814, 32815, 32816, 32817, 57650, 57651, 57649, 32820, 57664,
};

TEST(KapturaResources, ResourceLibraryLoads)
{
    ASSERT_NE(Resources(), nullptr) << "KapturaResources.dll beside the test program";
}

TEST(KapturaResources, TitlesAndStatusPanes)
{
    EXPECT_EQ(String(57344), "Kaptura 99");
    EXPECT_LT(String(57344).size(), 12u) << "the title must fit the 12-character section buffer";
    EXPECT_EQ(String(2), "Kaptura 99");
    EXPECT_EQ(String(3), "Kaptura 99") << "the document template names no file type";
    EXPECT_EQ(String(2000), "1600w x 1024h");
    EXPECT_EQ(String(2001), "Bits/Pixel and Colors");
    EXPECT_EQ(String(2002), "Image Date/Time Stamp");
    EXPECT_EQ(String(2003), "000");
}

TEST(KapturaResources, ImageCaptionsAndMessages)
{
    const std::pair<UINT, const char*> expected[] = {
        {32900, "Clipboard Image"}, {32901, "Frame"}, {32902, "Zoom In"}, {32903, "Zoom Out"},
        {32904, "Flip Horizontal"}, {32905, "Flip Vertical"}, {32906, "Rotate Left"},
        {32907, "Rotate Right"}, {32908, "Scale"}, {32909, "Black and White"}, {32910, "Grayscale"},
        {32911, "Invert"}, {32912, "Change Color"}, {32913, "Reduce Colors"}, {32914, "Merged Image"},
        {32915, "Merging - "}, {32916, "Crop"}, {32917, "Erase"}, {32918, "Screen Capture"},
        {32919, "Window Capture"}, {32920, "Region Capture"}, {32921, "Menu Capture"},
        {32922, "Freehand Capture"}, {32923, "Pointer Capture"}, {32924, "Button Capture"},
        {32925, "Command Bar Capture"},
        {32940, "Change all settings to original Kaptura defaults?"},
        {32941, "Kaptura will run in the background."},
        {32942, "All image windows and notepads will be cleared. This action is not Undo-able. "
                "Press 'Yes' to continue; press 'No' to cancel."},
        {32965, "Insufficient memory!"}, {32967, "Cannot open Clipboard."},
        {32968, "No bitmap in Clipboard."}, {32969, "No color change."},
        {32970, "The image has more than 16 colors.\n\nCan not perform color reduction."},
        {32971, "The image has more than 256 colors.\n\nCan not perform color reduction."},
        {32973, "No menu is found."}, {33020, "Scanning Images..."}, {33021, "Merging Images..."},
        {33022, "Total different colors in this image: "},
        {33051, "\n\nThis file already exists.\n\n Replace existing file?"},
        {33052, "This image is not saved to your hard drive yet."},
        {1911, "INI Files|*.ini|"},
    };
    for (const auto& [id, text] : expected) EXPECT_EQ(String(id), text) << "string " << id;
}

// The texts the Command Bar page and the folder-tree bar's Delete show,
// and the notice of a note that could not be written beside its image.
TEST(KapturaResources, PageAndDeleteMessages)
{
    EXPECT_EQ(String(33056), "Must select at least one capture option.");
    EXPECT_EQ(String(33057), "Are you sure you want to remove file %s from the hard drive?");
    EXPECT_EQ(String(33058), "The file %s could not be removed from the hard drive.\n");
    EXPECT_NE(String(33059).find("%s"), std::string::npos);
    EXPECT_EQ(String(33060), "Please close the open dialog box first.");
}

TEST(KapturaResources, CommandPromptsAndTooltips)
{
    EXPECT_EQ(String(32771), "Savel all images sequentially\nSave All Images");
    EXPECT_EQ(String(32804), "Changes the active image format (24 to 8, or 8 to 4)\nReduce Colors");
    EXPECT_EQ(String(32790), "Shrinks the active image");
    EXPECT_EQ(String(32825), "Brings Kaptura 99 window to top");
    EXPECT_EQ(String(32826), "Runs Kaptura 99 in the background mode");
    EXPECT_EQ(String(32827), "Removes Kaptura 99 Icon from the system tray");
    // Every menu command shows a prompt in the status bar.
    for (UINT menu : {2u, 3u, 4u})
        for (const MenuItem& item : LoadMenuItems(menu))
            if (item.id) {
                EXPECT_FALSE(String(item.id).empty()) << "no prompt for " << item.line;
            }
}

TEST(KapturaResources, FileDialogFilters)
{
    // Entries are name|pattern pairs; the Save As entries count from 1 as the
    // export type codes, so index 5 is the interlaced GIF and 8 is PNG.
    auto split = [](const std::string& text) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1)
            fields.push_back(text.substr(start, bar - start));
        EXPECT_EQ(start, text.size()) << "a filter ends with '|'";
        return fields;
    };
    std::vector<std::string> save = split(String(1910));
    ASSERT_EQ(save.size(), 22u);
    EXPECT_EQ(save[2 * 4], "GIF Interlace Format");
    EXPECT_EQ(save[2 * 7], "PNG Format");
    EXPECT_EQ(save[2 * 10 + 1], "*.wpg");
    std::vector<std::string> open = split(String(1908) + String(1909));
    ASSERT_EQ(open.size(), 28u);
    EXPECT_EQ(open[26], "All Formats");
    EXPECT_EQ(open[27], "*.BMP;*.CLP;*.CUR;*.DIB;*.KPT;*.GIF;*.ICO;*.JPG;*.PCX;*.PNG;*.RLE;*.TIF;*.WPG;");
    EXPECT_EQ(split(String(1912)), (std::vector<std::string>{"TXT(*.txt)", "*.txt"}));
}

TEST(KapturaResources, DocumentMenuHasEveryItemInOrder)
{
    std::vector<MenuItem> items = LoadMenuItems(3);
    EXPECT_EQ(Lines(items), kDocumentMenu);
    for (const MenuItem& item : items)
        if (item.id && item.id != 57616) {
            EXPECT_FALSE(item.grayed) << item.line;
        }
}

TEST(KapturaResources, FrameMenuDiffersOnlyWhereItShould)
{
    std::vector<std::string> expected = kDocumentMenu;
    std::replace(expected.begin(), expected.end(), std::string("    &Merge Images=32796"),
                 std::string("    &Merge=32796"));
    auto load = std::find(expected.begin(), expected.end(), "  &Load Settings...=32816");
    ASSERT_NE(load, expected.end());
    std::iter_swap(load, load + 1);
    std::vector<MenuItem> items = LoadMenuItems(2);
    EXPECT_EQ(Lines(items), expected);
    // Without a document only the frame's and the application's commands work.
    for (const MenuItem& item : items)
        if (item.id) {
            EXPECT_EQ(item.grayed, kFrameCommands.count(item.id) == 0) << item.line;
        }
}

TEST(KapturaResources, TrayMenu)
{
    EXPECT_EQ(Lines(LoadMenuItems(4)), (std::vector<std::string>{
        "&Tray", "  &Open Kaptura 99=32825", "  &Hide Kaptura 99=32826", "  -",
        "  &About Kaptura 99...=57664", "  -", "  &Remove Status Icon=32827", "  -", "  E&xit=57665"}));
}

std::vector<ACCEL> LoadAccelerators2()
{
    HACCEL table = LoadAcceleratorsA(Resources(), MAKEINTRESOURCEA(2));
    EXPECT_NE(table, nullptr);
    if (!table) return {};
    std::vector<ACCEL> entries(CopyAcceleratorTableA(table, nullptr, 0));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);
    return entries;
}

TEST(KapturaResources, Accelerators)
{
    struct Key { BYTE flags; WORD key; WORD command; };
    const BYTE ctrl = FVIRTKEY | FCONTROL;
    const Key expected[] = {
        {ctrl, 'O', 57601}, {ctrl, 'S', 57604}, {ctrl, 'P', 57607}, {ctrl, 'C', 32778},
        {ctrl, 'V', 32779}, {ctrl, 'Z', 57643}, {ctrl, VK_DELETE, 32782},
        // Control characters, as typed with Ctrl held.
        {0, 2, 32799}, {0, 7, 32800}, {0, 11, 32806}, {0, 14, 32801}, {0, 18, 32807}, {0, 20, 32790},
    };
    std::vector<ACCEL> table = LoadAccelerators2();
    ASSERT_EQ(table.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), expected[i].flags) << i;
        EXPECT_EQ(table[i].key, expected[i].key) << i;
        EXPECT_EQ(table[i].cmd, expected[i].command) << i;
    }
}

TEST(KapturaResources, ShortcutsShownInTheMenuAreAccelerators)
{
    std::vector<ACCEL> table = LoadAccelerators2();
    for (const MenuItem& item : LoadMenuItems(3)) {
        size_t tab = item.line.find("\tCtrl+");
        if (tab == std::string::npos) continue;
        std::string key = item.line.substr(tab + 6, item.line.find('=') - tab - 6);
        WORD virtualKey = key == "Del" ? VK_DELETE : static_cast<WORD>(key[0]);
        WORD controlChar = static_cast<WORD>(key[0] - 'A' + 1);
        bool found = std::any_of(table.begin(), table.end(), [&](const ACCEL& a) {
            bool virt = (a.fVirt & FVIRTKEY) != 0;
            return a.cmd == item.id && (virt ? a.key == virtualKey && (a.fVirt & FCONTROL) : a.key == controlChar);
        });
        EXPECT_TRUE(found) << item.line;
    }
}

TEST(KapturaResources, ToolbarButtonsGlyphsAndTooltips)
{
    const WORD expected[] = {
        1, 16, 15, 31,
        57601, 57604, 32771, 32772, 32773, 57607, 0, 32778, 32779, 0, 32784, 32785, 32786, 0,
        32796, 32788, 32789, 32792, 32793, 32795, 32794, 0, 32802, 32803, 32804, 0,
        32805, 32808, 32809, 0, 32819,
    };
    HRSRC found = FindResourceA(Resources(), MAKEINTRESOURCEA(136), MAKEINTRESOURCEA(241));
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(Resources(), found), sizeof expected);
    const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(Resources(), found)));
    int buttons = 0;
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        EXPECT_EQ(data[i], expected[i]) << "word " << i;
        if (i >= 4 && data[i]) {
            ++buttons;
            std::string text = String(data[i]);
            size_t newline = text.find('\n');
            EXPECT_TRUE(newline != std::string::npos && newline + 1 < text.size()) << "no tooltip for " << data[i];
        }
    }
    // One glyph of 16 x 15 per button, side by side.
    HBITMAP glyphs = LoadBitmapA(Resources(), MAKEINTRESOURCEA(136));
    ASSERT_NE(glyphs, nullptr);
    BITMAP info;
    GetObjectA(glyphs, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 16 * buttons);
    EXPECT_EQ(info.bmHeight, 15);
    DeleteObject(glyphs);

    HBITMAP tree = LoadBitmapA(Resources(), MAKEINTRESOURCEA(61));
    ASSERT_NE(tree, nullptr);
    GetObjectA(tree, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 6 * 16) << "computer, drive, folder, open folder, file, selected file";
    EXPECT_EQ(info.bmHeight, 16);
    DeleteObject(tree);
}

TEST(KapturaResources, IconsAndCursors)
{
    for (UINT id : {2u, 3u})
        for (int size : {16, 32}) {
            HANDLE icon = LoadImageA(Resources(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            EXPECT_NE(icon, nullptr) << "icon " << id << " at " << size;
            if (icon) DestroyIcon(static_cast<HICON>(icon));
        }
    for (UINT id : {91u, 92u, 93u, 94u, 95u, 96u, 97u, 98u, 197u, 233u}) {
        HCURSOR cursor = LoadCursorA(Resources(), MAKEINTRESOURCEA(id));
        ASSERT_NE(cursor, nullptr) << "cursor " << id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_LT(info.xHotspot, 32u) << id;
        EXPECT_LT(info.yHotspot, 32u) << id;
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
}

TEST(KapturaResources, CaptureSoundsArePlayableWaves)
{
    for (UINT id = 201; id <= 204; ++id) {
        HRSRC found = FindResourceA(Resources(), MAKEINTRESOURCEA(id), "WAVE");
        ASSERT_NE(found, nullptr) << "sound " << id;
        DWORD size = SizeofResource(Resources(), found);
        const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(Resources(), found)));
        ASSERT_GE(size, 44u);
        DWORD riffSize, fmtSize, byteRate, dataSize;
        WORD format;
        memcpy(&riffSize, data + 4, 4);
        memcpy(&fmtSize, data + 16, 4);
        memcpy(&format, data + 20, 2);
        memcpy(&byteRate, data + 28, 4);
        memcpy(&dataSize, data + 40, 4);
        EXPECT_EQ(memcmp(data, "RIFF", 4), 0);
        EXPECT_EQ(memcmp(data + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(memcmp(data + 36, "data", 4), 0);
        EXPECT_EQ(fmtSize, 16u);
        EXPECT_EQ(format, WAVE_FORMAT_PCM);
        EXPECT_LE(riffSize + 8, size);
        EXPECT_LE(44 + dataSize, size);
        // Short enough not to lag behind the next capture.
        EXPECT_GT(dataSize, 0u);
        EXPECT_LT(dataSize, byteRate) << "sound " << id << " lasts a second or more";
    }
}

// Creates a dialog of the resources hidden inside a hidden parent.
class Dialog {
public:
    explicit Dialog(UINT id)
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
        window_ = CreateDialogParamA(Resources(), MAKEINTRESOURCEA(id), parent_, Ignore, 0);
    }
    ~Dialog()
    {
        if (window_) DestroyWindow(window_);
        if (parent_) DestroyWindow(parent_);
    }
    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    std::string Class(int id) const
    {
        char name[64] = "";
        GetClassNameA(item(id), name, sizeof name);
        return name;
    }
    std::string Text(int id) const
    {
        char text[128] = "";
        GetDlgItemTextA(window_, id, text, sizeof text);
        return text;
    }
    LONG Style(int id) const { return GetWindowLongA(item(id), GWL_STYLE); }
    // Dialogs turn a control's plain border into a sunken edge.
    bool HasBorder(int id) const
    {
        return (Style(id) & WS_BORDER) || (GetWindowLongA(item(id), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    }

private:
    static INT_PTR CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
};

// The template header of a dialog resource: style and size in dialog units.
DLGTEMPLATE Template(UINT id)
{
    DLGTEMPLATE header = {};
    HRSRC found = FindResourceA(Resources(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    EXPECT_NE(found, nullptr) << "dialog " << id;
    if (found) memcpy(&header, LockResource(LoadResource(Resources(), found)), sizeof header);
    return header;
}

TEST(KapturaResources, NotepadFormAndSplash)
{
    DLGTEMPLATE notepad = Template(101);
    EXPECT_EQ(notepad.cx, 185);
    EXPECT_EQ(notepad.cy, 93);
    EXPECT_TRUE(notepad.style & WS_CHILD);
    Dialog form(101);
    ASSERT_NE(form.window(), nullptr);
    EXPECT_STRCASEEQ(form.Class(1127).c_str(), "Edit");
    const LONG editStyle = ES_MULTILINE | WS_VSCROLL | WS_TABSTOP;
    EXPECT_EQ(form.Style(1127) & editStyle, editStyle);
    EXPECT_TRUE(form.HasBorder(1127));

    DLGTEMPLATE splash = Template(1100);
    EXPECT_EQ(splash.cx, 176);
    EXPECT_EQ(splash.cy, 116);
    EXPECT_EQ(splash.style & (WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CAPTION), DWORD(WS_POPUP | WS_VISIBLE | WS_BORDER));
}

TEST(KapturaResources, FolderTreeBar)
{
    Dialog bar(1097);
    ASSERT_NE(bar.window(), nullptr);
    EXPECT_EQ(bar.Class(105), "SysTreeView32");
    const LONG treeStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    EXPECT_EQ(bar.Style(105) & treeStyle, treeStyle);
    EXPECT_TRUE(bar.HasBorder(105));
}

TEST(KapturaResources, ScaleAndMergeDialogs)
{
    Dialog scale(1105);
    ASSERT_NE(scale.window(), nullptr);
    char caption[32] = "";
    GetWindowTextA(scale.window(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Scale");
    EXPECT_EQ(scale.Text(1483), "New size in &pixels");
    EXPECT_EQ(scale.Text(1484), "New size in per&centage");
    EXPECT_EQ(scale.Text(1167), "Smooth");
    EXPECT_NE(scale.item(IDOK), nullptr);
    EXPECT_NE(scale.item(IDCANCEL), nullptr);
    // Each up-down control drives its own edit.
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(scale.item(1350), UDM_GETBUDDY, 0, 0)), scale.item(1485));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(scale.item(1351), UDM_GETBUDDY, 0, 0)), scale.item(1486));

    Dialog merge(1104);
    ASSERT_NE(merge.window(), nullptr);
    GetWindowTextA(merge.window(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Merge");
    EXPECT_EQ(merge.Style(1700) & SS_TYPEMASK, SS_CENTER);
}

TEST(KapturaResources, VersionInformation)
{
    std::string path = BesideTestProgram("KapturaResources.dll");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 5);
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(product, "Kaptura 99");
}

} // namespace
