// The framework's drawing objects, rectangles and control wrappers under
// Wine: selection hands back the previous object, drawing lands where asked,
// rectangle arithmetic, and the control members the dialogs rely on.
#include "framework/Controls.h"
#include "framework/HandleMap.h"

#include <gtest/gtest.h>

#include <string>

TEST(FrameworkGeometry, RectanglesPointsAndSizesCombine)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    r.OffsetRect(CSize(-10, -20));
    EXPECT_EQ(r, CRect(0, 0, 100, 50));
    r.DeflateRect(1, 2);
    EXPECT_EQ(r, CRect(1, 2, 99, 48));
    CRect a(0, 0, 10, 10), b(5, 5, 20, 20);
    EXPECT_EQ(a & b, CRect(5, 5, 10, 10));
    EXPECT_EQ(a | b, CRect(0, 0, 20, 20));
    EXPECT_TRUE((a & CRect(30, 30, 40, 40)).IsRectEmpty());
    CRect flipped(10, 10, 0, 0);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(0, 0, 10, 10));
    EXPECT_EQ(CPoint(5, 5) - CPoint(2, 3), CSize(3, 2));
    r.TopLeft() = CPoint(0, 0);   // the corners are the rectangle's own fields
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST(FrameworkDrawing, SelectionReturnsThePreviousObjectAndDrawingLands)
{
    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    {
        HDC desktop = ::GetDC(nullptr);
        ASSERT_TRUE(bitmap.Attach(::CreateCompatibleBitmap(desktop, 16, 16)));
        ::ReleaseDC(nullptr, desktop);
    }
    CBitmap* previous = screen.SelectObject(&bitmap);
    ASSERT_NE(previous, nullptr);
    EXPECT_NE(previous->m_hObject, bitmap.m_hObject);

    screen.FillSolidRect(0, 0, 16, 16, RGB(0, 0, 255));
    screen.FillSolidRect(CRect(4, 4, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(screen.GetPixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(screen.GetPixel(8, 8), RGB(0, 0, 255));   // right and bottom edges excluded
    screen.Draw3dRect(CRect(0, 0, 16, 16), RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(screen.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(screen.GetPixel(15, 15), RGB(0, 0, 0));
    EXPECT_EQ(screen.GetPixel(15, 0), RGB(0, 0, 0));

    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CPen* oldPen = screen.SelectObject(&pen);
    screen.MoveTo(2, 12);
    screen.LineTo(10, 12);
    EXPECT_EQ(screen.GetPixel(6, 12), RGB(0, 255, 0));
    screen.SelectObject(oldPen);
    screen.SelectObject(previous);   // the bitmap is free to go now

    // The wrappers of the previous objects are temporary: idle drops them
    // and leaves the objects (the system's stock ones) alone.
    HGDIOBJ stockPen = oldPen->m_hObject;
    KfDeleteTempGdiObjects();
    EXPECT_EQ(::GetObjectType(stockPen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_TRUE(bitmap.DeleteObject());
    EXPECT_EQ(bitmap.m_hObject, nullptr);
}

TEST(FrameworkDrawing, FontsFromPointSizesAndLogicalFonts)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    LOGFONTA logical{};
    ASSERT_GT(font.GetLogFont(&logical), 0);
    EXPECT_LT(logical.lfHeight, 0);   // a character height
    EXPECT_STREQ(logical.lfFaceName, "Arial");
    CFont copy;
    EXPECT_TRUE(copy.CreateFontIndirect(&logical));
}

namespace {

struct ParentWindow {
    CWnd wnd;
    ParentWindow()
    {
        wnd.CreateEx(0, nullptr, "controls", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr);
    }
    ~ParentWindow() { wnd.DestroyWindow(); }
};

} // namespace

TEST(FrameworkControls, TreeItemsKeepTextImagesAndDataOfAnyLength)
{
    ::InitCommonControls();
    ParentWindow parent;
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, CRect(0, 0, 200, 200), &parent.wnd, 105));
    HTREEITEM root = tree.InsertItem("My Computer", 0, 0);
    std::string longName(700, 'x');
    HTREEITEM child = tree.InsertItem(longName.c_str(), 4, 5, root);
    HTREEITEM second = tree.InsertItem("b", 2, 3, root);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(tree.SetItemData(child, reinterpret_cast<DWORD_PTR>(child)));

    EXPECT_EQ(tree.GetRootItem(), root);
    EXPECT_EQ(tree.GetChildItem(root), child);
    EXPECT_EQ(tree.GetNextSiblingItem(child), second);
    EXPECT_EQ(tree.GetParentItem(second), root);
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_EQ(std::string(tree.GetItemText(child)), longName);   // not cut at a buffer size
    int image = -1, selected = -1;
    ASSERT_TRUE(tree.GetItemImage(child, image, selected));
    EXPECT_EQ(image, 4);
    EXPECT_EQ(selected, 5);
    EXPECT_EQ(tree.GetItemData(child), reinterpret_cast<DWORD_PTR>(child));
    EXPECT_TRUE(tree.SelectItem(second));
    EXPECT_EQ(tree.GetSelectedItem(), second);
    EXPECT_TRUE(tree.SortChildren(root));
    EXPECT_EQ(tree.GetChildItem(root), second);   // "b" sorts before "xxx..."
    EXPECT_EQ(tree.GetCount(), 3u);
    EXPECT_TRUE(tree.DeleteItem(child));
    EXPECT_EQ(tree.GetCount(), 2u);
}

TEST(FrameworkControls, UpDownRangesBeyondSixteenBitsAndEditSelection)
{
    ::InitCommonControls();
    ParentWindow parent;
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE, CRect(0, 0, 16, 20), &parent.wnd, 1350));
    spin.SetRange(1, 65535);
    int lower = 0, upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 65535);
    spin.SetPos(40000);
    EXPECT_EQ(spin.GetPos(), 40000);

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(20, 0, 120, 20), &parent.wnd, 1754));
    edit.SetWindowText("12345");
    edit.SetSel(1, 3);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    EXPECT_EQ(parent.wnd.GetDlgItem(1754), &edit);   // permanent: the object itself

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
    CBitmap strip;
    HDC desktop = ::GetDC(nullptr);
    strip.Attach(::CreateCompatibleBitmap(desktop, 48, 16));
    ::ReleaseDC(nullptr, desktop);
    EXPECT_EQ(images.Add(&strip, RGB(255, 255, 255)), 0);
    EXPECT_EQ(images.GetImageCount(), 3);   // cut into 16-pixel images
}

TEST(FrameworkControls, ListsAndDropDownsKeepLongTextsAndSelections)
{
    ::InitCommonControls();
    ParentWindow parent;
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT | LVS_SORTASCENDING | LVS_SHOWSELALWAYS, CRect(0, 0, 300, 200),
                            &parent.wnd, 1152));
    EXPECT_EQ(list.InsertColumn(0, "From", LVCFMT_LEFT, 100), 0);
    EXPECT_EQ(list.InsertColumn(1, "Status", LVCFMT_LEFT, 60), 1);
    std::string longPath = "C:\\" + std::string(600, 'p') + ".bmp";
    list.InsertItem(0, "b.png", 4);
    list.InsertItem(list.GetItemCount(), "a.gif", 4);
    int row = list.InsertItem(0, longPath.c_str(), 4);
    ASSERT_EQ(row, 2);   // its sorted place, whatever the index asked
    EXPECT_TRUE(list.SetItemText(row, 1, "Failed"));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), "a.gif");   // sorted as they come
    EXPECT_EQ(std::string(list.GetItemText(row, 0)), longPath);  // not cut at a buffer size
    EXPECT_EQ(std::string(list.GetItemText(row, 1)), "Failed");
    EXPECT_EQ(std::string(list.GetItemText(7, 0)), "");
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = "B.PNG";
    EXPECT_EQ(list.FindItem(&find), 1);
    find.psz = "b.pn";
    EXPECT_EQ(list.FindItem(&find), -1);   // whole texts only

    EXPECT_EQ(list.GetSelectedCount(), 0u);
    EXPECT_TRUE(list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(list.GetSelectedCount(), 3u);
    EXPECT_TRUE(list.SetItemState(1, 0, LVIS_SELECTED));
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), 0u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(list.GetNextItem(0, LVNI_SELECTED), 2);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(0, 210, 200, 300), &parent.wnd, 1155));
    EXPECT_EQ(combo.AddString("BMP Format"), 0);
    EXPECT_EQ(combo.AddString("GIF Interlaced Format"), 1);
    EXPECT_EQ(combo.GetCount(), 2);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(std::string(combo.GetLBText(1)), "GIF Interlaced Format");
    EXPECT_EQ(std::string(combo.GetLBText(5)), "");
    EXPECT_EQ(combo.SetCurSel(9), CB_ERR);   // out of range
    combo.SetCurSel(-1);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);

    CAnimateCtrl clip;
    ASSERT_TRUE(clip.Create(WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT, CRect(0, 310, 200, 340), &parent.wnd, 1000));
    EXPECT_FALSE(clip.Open(4242));   // no such clip: nothing plays, nothing breaks
    EXPECT_FALSE(clip.Play(0, 0xFFFF, 1));
    clip.Stop();
    clip.Close();
}
