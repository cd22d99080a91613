#include "KindPages.h"

#include <cstdio>
#include <string>

#include "../../../framework/CString.h"
#include "../../../framework/DataExchange.h"
#include "../../../framework/Gdi.h"
#include "CaptureSetupIds.h"
#include "HotkeyRules.h"
#include "KindPageRules.h"
#include "OptionDialogCalls.h"
#include "TitleBarDecorations.h"
#include "resource.h"

// ---- What every kind page shares --------------------------------------------

XKindPage::XKindPage(const Look& look) : CPropertyPage(look.dialog), look_(look)
{
    m_psp.dwFlags |= PSP_HASHELP;
}

BOOL XKindPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    UpdateHotkeyText();
    return TRUE;
}

void XKindPage::UpdateHotkeyText()
{
    CString prefix;
    prefix.LoadString(IDS_HOTKEY_PREFIX);
    const int row = look_.hotkeyRow;
    const std::string text = HotkeyText(prefix, NormalKey[row], SystemKey[row]);
    SetDlgItemText(look_.hotkeyStatic, text.c_str());
}

void XKindPage::OnChangeHotkey()
{
    RunHotkeySetupDialog(look_.hotkeyRow);
    UpdateHotkeyText();
}

void XKindPage::OnPaint()
{
    CPaintDC paint(this);
    if (look_.glyphStatic && ShowsGlyph()) {
        const RECT place = PlaceOf(look_.glyphStatic);
        if (HBITMAP face = SnapshotButtonFace(look_.glyphButton)) {
            HDC memory = ::CreateCompatibleDC(paint.m_hDC);
            HGDIOBJ old = ::SelectObject(memory, face);
            ::BitBlt(paint.m_hDC, place.left, place.top, SnapshotButtonWidth, SnapshotButtonHeight, memory, 0, 0,
                     SRCCOPY);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
    }
    PaintSample(paint.m_hDC);
}

RECT XKindPage::PlaceOf(int id) const
{
    RECT place = {0, 0, 0, 0};
    if (HWND item = ::GetDlgItem(m_hWnd, id)) {
        ::GetWindowRect(item, &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    }
    return place;
}

void XKindPage::RepaintSample(int sampleStatic)
{
    const RECT place = PlaceOf(sampleStatic);
    ::InvalidateRect(m_hWnd, &place, TRUE);
}

void XKindPage::DrawBitmap(HDC dc, int id, int x, int y) const
{
    HBITMAP picture = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    if (!picture)
        return;
    BITMAP size{};
    ::GetObjectA(picture, sizeof size, &size);
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, picture);
    ::BitBlt(dc, x, y, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
}

bool XKindPage::ChooseColor(int& color)
{
    static COLORREF custom[16];
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hWnd;
    choose.rgbResult = static_cast<COLORREF>(color);
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!::ChooseColorA(&choose))
        return false;
    color = static_cast<int>(choose.rgbResult);
    return true;
}

BEGIN_MESSAGE_MAP(XKindPage, CPropertyPage)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_SCREEN_CHANGE_HOTKEY, OnChangeHotkey)
    ON_BN_CLICKED(IDC_WINDOW_CHANGE_HOTKEY, OnChangeHotkey)
    ON_BN_CLICKED(IDC_REGION_CHANGE_HOTKEY, OnChangeHotkey)
    ON_BN_CLICKED(IDC_TITLEMENU_CHANGE_HOTKEY, OnChangeHotkey)
    ON_BN_CLICKED(IDC_FREEHAND_CHANGE_HOTKEY, OnChangeHotkey)
    ON_BN_CLICKED(IDC_BUTTON_CHANGE_HOTKEY, OnChangeHotkey)
    ON_BN_CLICKED(IDC_COMMANDBAR_CHANGE_HOTKEY, OnChangeHotkey)
END_MESSAGE_MAP()

namespace {

// A check box of the page, as it stands now.
int Ticked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0; }

void SetSpinRange(HWND page, int id, int low, int high)
{
    ::SendDlgItemMessageA(page, id, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

// An edit of unsigned numbers within 0..high.
void DDX_Amount(CDataExchange* dx, int id, int& value, int high)
{
    UINT number = value < 0 ? 0u : static_cast<UINT>(value);
    DDX_Text(dx, id, number);
    DDV_MinMaxUInt(dx, number, 0, static_cast<UINT>(high));
    value = static_cast<int>(number);
}

}  // namespace

// ---- Screen ---------------------------------------------------------------------

XPropertyPageScreen::XPropertyPageScreen(int (&values)[kScreenPageCount])
    : XKindPage({IDD_SETUP_SCREEN, 0, IDC_SCREEN_HOTKEY, IDC_SCREEN_GLYPH, 0}), v_(values)
{
}

void XPropertyPageScreen::DoDataExchange(CDataExchange* dx)
{
    DDX_Amount(dx, IDC_SCREEN_LEFT, v_[kScreenLeft], kScreenAreaLimit);
    DDX_Amount(dx, IDC_SCREEN_TOP, v_[kScreenTop], kScreenAreaLimit);
    DDX_Amount(dx, IDC_SCREEN_RIGHT, v_[kScreenRight], kScreenAreaLimit);
    DDX_Amount(dx, IDC_SCREEN_BOTTOM, v_[kScreenBottom], kScreenAreaLimit);
    DDX_Check(dx, IDC_SCREEN_COUNTDOWN, v_[kScreenCountdown]);
    DDX_Amount(dx, IDC_SCREEN_SECONDS, v_[kScreenCountdownSeconds], kCountdownLimit);
}

BOOL XPropertyPageScreen::OnInitDialog()
{
    XKindPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_SCREEN_LEFT, EM_SETSEL, 0, -1);
    SetSpinRange(m_hWnd, IDC_SPIN_1, 0, ScreenWidth);
    SetSpinRange(m_hWnd, IDC_SPIN_2, 0, ScreenWidth);
    SetSpinRange(m_hWnd, IDC_SPIN_3, 0, ScreenHeight);
    SetSpinRange(m_hWnd, IDC_SPIN_4, 0, ScreenHeight);
    SetSpinRange(m_hWnd, IDC_SPIN_5, 0, kCountdownLimit);
    return TRUE;
}

void XPropertyPageScreen::OnFullScreen()
{
    SetDlgItemInt(IDC_SCREEN_LEFT, 0, FALSE);
    SetDlgItemInt(IDC_SCREEN_TOP, 0, FALSE);
    SetDlgItemInt(IDC_SCREEN_RIGHT, static_cast<UINT>(ScreenWidth), FALSE);
    SetDlgItemInt(IDC_SCREEN_BOTTOM, static_cast<UINT>(ScreenHeight), FALSE);
}

BEGIN_MESSAGE_MAP(XPropertyPageScreen, XKindPage)
    ON_BN_CLICKED(IDC_SCREEN_FULL, OnFullScreen)
END_MESSAGE_MAP()

// ---- Window ---------------------------------------------------------------------

XPropertyPageWindow::XPropertyPageWindow(int (&values)[kWindowPageCount])
    : XKindPage({IDD_SETUP_WINDOW, 1, IDC_WINDOW_HOTKEY, IDC_WINDOW_GLYPH, 1}), v_(values)
{
}

void XPropertyPageWindow::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, IDC_WINDOW_ACTIVE, v_[kWindowSelectWithMouse]);
    DDX_Check(dx, IDC_WINDOW_FRAME, v_[kWindowFrame]);
    DDX_Check(dx, IDC_WINDOW_WORKSPACE, v_[kWindowWorkspace]);
    DDX_Check(dx, IDC_WINDOW_WITH_CURRENT, v_[kWindowWithCurrent]);
    DDX_Check(dx, IDC_WINDOW_ERASE, v_[kWindowEraseBackground]);
    DDX_Check(dx, IDC_WINDOW_COUNTDOWN, v_[kWindowCountdown]);
    DDX_Amount(dx, IDC_WINDOW_SECONDS, v_[kWindowCountdownSeconds], kCountdownLimit);
}

BOOL XPropertyPageWindow::OnInitDialog()
{
    XKindPage::OnInitDialog();
    SetSpinRange(m_hWnd, IDC_SPIN_1, 0, kCountdownLimit);
    return TRUE;
}

// ---- Region ---------------------------------------------------------------------

XPropertyPageRegion::XPropertyPageRegion(int (&values)[kRegionPageCount])
    : XKindPage({IDD_SETUP_REGION, 2, IDC_REGION_HOTKEY, IDC_REGION_GLYPH, 2}), v_(values)
{
}

void XPropertyPageRegion::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_REGION_SAMPLE, sample_);
    DDX_Check(dx, IDC_REGION_INVERT, v_[kRegionInvert]);
    DDX_Check(dx, IDC_REGION_SHOW_SIZE, v_[kRegionShowSize]);
}

void XPropertyPageRegion::PaintSample(HDC dc)
{
    const RECT place = PlaceOf(IDC_REGION_SAMPLE);
    if (Ticked(m_hWnd, IDC_REGION_SHOW_SIZE)) {
        char text[32];
        const int length = snprintf(text, sizeof text, "%ldx%ld", static_cast<long>(place.right - place.left),
                                    static_cast<long>(place.bottom - place.top));
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ oldFont = ::SelectObject(memory, ::GetStockObject(SYSTEM_FONT));
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(memory, text, length, &size);
        if (HBITMAP mono = ::CreateBitmap(size.cx, size.cy, 1, 1, nullptr)) {
            HGDIOBJ oldBitmap = ::SelectObject(memory, mono);
            ::SetTextColor(memory, RGB(255, 255, 255));
            ::SetBkColor(memory, RGB(0, 0, 0));
            ::TextOutA(memory, 0, 0, text, length);
            ::BitBlt(dc, (place.left + place.right - size.cx) / 2, (place.top + place.bottom - size.cy) / 2,
                     size.cx, size.cy, memory, 0, 0, SRCINVERT);
            ::SelectObject(memory, oldBitmap);
            ::DeleteObject(mono);
        }
        ::SelectObject(memory, oldFont);
        ::DeleteDC(memory);
    }
    if (Ticked(m_hWnd, IDC_REGION_INVERT))
        ::PatBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, DSTINVERT);
    HPEN dotted = ::CreatePen(PS_DOT, 1, static_cast<COLORREF>(v_[kRegionPenColor]));
    HGDIOBJ oldPen = ::SelectObject(dc, dotted);
    const POINT corners[] = {{place.left, place.top}, {place.right - 1, place.top},
                             {place.right - 1, place.bottom - 1}, {place.left, place.bottom - 1},
                             {place.left, place.top}};
    ::Polyline(dc, corners, 5);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(dotted);
}

void XPropertyPageRegion::OnOptionClicked() { RepaintSample(IDC_REGION_SAMPLE); }

void XPropertyPageRegion::OnPenColor()
{
    if (ChooseColor(v_[kRegionPenColor]))
        RepaintSample(IDC_REGION_SAMPLE);
}

BEGIN_MESSAGE_MAP(XPropertyPageRegion, XKindPage)
    ON_BN_CLICKED(IDC_REGION_INVERT, OnOptionClicked)
    ON_BN_CLICKED(IDC_REGION_SHOW_SIZE, OnOptionClicked)
    ON_BN_CLICKED(IDC_REGION_PEN_COLOR, OnPenColor)
END_MESSAGE_MAP()

// ---- Title and Menu ---------------------------------------------------------------

namespace {

const int kTitleMenuBoxes[] = {IDC_TITLEMENU_TITLE, IDC_TITLEMENU_MENU, IDC_TITLEMENU_PULLDOWN,
                               IDC_TITLEMENU_CASCADING};

TitleMenuObjects TickedObjects(HWND page)
{
    return {Ticked(page, IDC_TITLEMENU_TITLE), Ticked(page, IDC_TITLEMENU_MENU), Ticked(page, IDC_TITLEMENU_PULLDOWN),
            Ticked(page, IDC_TITLEMENU_CASCADING)};
}

}  // namespace

XPropertyPageTitleMenu::XPropertyPageTitleMenu(int (&values)[kTitleMenuPageCount])
    : XKindPage({IDD_SETUP_TITLEMENU, 3, IDC_TITLEMENU_HOTKEY, 0, 0}), v_(values)
{
}

void XPropertyPageTitleMenu::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_TITLEMENU_SAMPLE, sample_);
    DDX_Check(dx, IDC_TITLEMENU_TITLE, v_[kTitleMenuTitleBar]);
    DDX_Check(dx, IDC_TITLEMENU_MENU, v_[kTitleMenuMenuBar]);
    DDX_Check(dx, IDC_TITLEMENU_PULLDOWN, v_[kTitleMenuPulldown]);
    DDX_Check(dx, IDC_TITLEMENU_CASCADING, v_[kTitleMenuCascading]);
    DDX_Check(dx, IDC_TITLEMENU_ERASE, v_[kTitleMenuEraseBackground]);
}

void XPropertyPageTitleMenu::OnObjectClicked(UINT id)
{
    TitleMenuObjects objects = TickedObjects(m_hWnd);
    ApplyTitleMenuInterlock(static_cast<TitleMenuBox>(id - IDC_TITLEMENU_TITLE), objects);
    const int states[] = {objects.title, objects.menu, objects.pulldown, objects.cascading};
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(kTitleMenuBoxes[i], states[i] ? BST_CHECKED : BST_UNCHECKED);
    RepaintSample(IDC_TITLEMENU_SAMPLE);
}

void XPropertyPageTitleMenu::PaintSample(HDC dc)
{
    const RECT place = PlaceOf(IDC_TITLEMENU_SAMPLE);
    const SamplePicture picture = TitleMenuSample(TickedObjects(m_hWnd), Ticked(m_hWnd, IDC_TITLEMENU_ERASE));
    if (!picture.bitmap) {
        ::FillRect(dc, &place, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    // The pictures are drawn inside the sample's place only.
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
    DrawBitmap(dc, picture.bitmap, place.left + picture.x, place.top + picture.y);
    ::RestoreDC(dc, saved);
}

BEGIN_MESSAGE_MAP(XPropertyPageTitleMenu, XKindPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TITLEMENU_TITLE, IDC_TITLEMENU_ERASE, OnObjectClicked)
END_MESSAGE_MAP()

// ---- Freehand ---------------------------------------------------------------------

XPropertyPageFreehand::XPropertyPageFreehand(int (&values)[kFreehandPageCount])
    : XKindPage({IDD_SETUP_FREEHAND, 4, IDC_FREEHAND_HOTKEY, IDC_FREEHAND_GLYPH, 3}), v_(values)
{
}

void XPropertyPageFreehand::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_FREEHAND_SAMPLE, sample_);
    DDX_Check(dx, IDC_FREEHAND_BORDER, v_[kFreehandBorder]);
    DDX_Check(dx, IDC_FREEHAND_INVERT_PEN, v_[kFreehandInvertPen]);
}

void XPropertyPageFreehand::PaintSample(HDC dc)
{
    const RECT place = PlaceOf(IDC_FREEHAND_SAMPLE);
    ::FillRect(dc, &place, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    DrawBitmap(dc, Ticked(m_hWnd, IDC_FREEHAND_BORDER) ? IDB_FREEHAND_BORDER : IDB_FREEHAND_NO_BORDER, place.left,
               place.top);
}

void XPropertyPageFreehand::OnBorderClicked() { RepaintSample(IDC_FREEHAND_SAMPLE); }

void XPropertyPageFreehand::OnPenColor()
{
    if (ChooseColor(v_[kFreehandPenColor]))
        RepaintSample(IDC_FREEHAND_SAMPLE);
}

BEGIN_MESSAGE_MAP(XPropertyPageFreehand, XKindPage)
    ON_BN_CLICKED(IDC_FREEHAND_BORDER, OnBorderClicked)
    ON_BN_CLICKED(IDC_FREEHAND_PEN_COLOR, OnPenColor)
END_MESSAGE_MAP()

// ---- Button -----------------------------------------------------------------------

XPropertyPageButton::XPropertyPageButton(int (&values)[kButtonPageCount])
    : XKindPage({IDD_SETUP_BUTTON, 6, IDC_BUTTON_HOTKEY, IDC_BUTTON_GLYPH, 4}), v_(values)
{
}

void XPropertyPageButton::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, IDC_BUTTON_ADD_FRAME, v_[kButtonAddFrame]);
}

// ---- Command Bar ------------------------------------------------------------------

XPropertyPageControlBar::XPropertyPageControlBar(int (&values)[kCommandBarPageCount])
    : XKindPage({IDD_SETUP_COMMANDBAR, 7, IDC_COMMANDBAR_HOTKEY, IDC_COMMANDBAR_GLYPH, 5}), v_(values)
{
}

void XPropertyPageControlBar::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_COMMANDBAR_SAMPLE, sample_);
    DDX_Check(dx, IDC_COMMANDBAR_BAR, v_[kCommandBarBar]);
    DDX_Check(dx, IDC_COMMANDBAR_DROPDOWNS, v_[kCommandBarDropdowns]);
    DDX_Check(dx, IDC_COMMANDBAR_POINTER, v_[kCommandBarPointer]);
}

BOOL XPropertyPageControlBar::OnKillActive()
{
    if (!UpdateData(TRUE))
        return FALSE;
    if (!v_[kCommandBarBar] && !v_[kCommandBarDropdowns]) {
        CString text;
        text.LoadString(IDS_SELECT_ONE_CAPTURE_OPTION);
        ::MessageBoxA(m_hWnd, text, ApplicationTitle, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

bool XPropertyPageControlBar::ShowsGlyph() const
{
    return Ticked(m_hWnd, IDC_COMMANDBAR_BAR) || Ticked(m_hWnd, IDC_COMMANDBAR_DROPDOWNS);
}

void XPropertyPageControlBar::PaintSample(HDC dc)
{
    const SamplePicture picture = CommandBarSample(Ticked(m_hWnd, IDC_COMMANDBAR_BAR),
                                                   Ticked(m_hWnd, IDC_COMMANDBAR_DROPDOWNS),
                                                   Ticked(m_hWnd, IDC_COMMANDBAR_POINTER));
    if (!picture.bitmap)
        return;
    const RECT place = PlaceOf(IDC_COMMANDBAR_SAMPLE);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, place.left, place.top, place.right, place.bottom);
    DrawBitmap(dc, picture.bitmap, place.left + picture.x, place.top + picture.y);
    ::RestoreDC(dc, saved);
}

void XPropertyPageControlBar::OnOptionClicked()
{
    UpdateData(TRUE);
    RepaintSample(IDC_COMMANDBAR_SAMPLE);
    const RECT glyph = PlaceOf(IDC_COMMANDBAR_GLYPH);
    const RECT face = {glyph.left, glyph.top, glyph.left + SnapshotButtonWidth, glyph.top + SnapshotButtonHeight};
    ::InvalidateRect(m_hWnd, &face, TRUE);
}

BEGIN_MESSAGE_MAP(XPropertyPageControlBar, XKindPage)
    ON_BN_CLICKED(IDC_COMMANDBAR_BAR, OnOptionClicked)
    ON_BN_CLICKED(IDC_COMMANDBAR_DROPDOWNS, OnOptionClicked)
    ON_BN_CLICKED(IDC_COMMANDBAR_POINTER, OnOptionClicked)
END_MESSAGE_MAP()
