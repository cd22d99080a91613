#include "CaptureSetupSheet.h"

#include "../../../framework/DataExchange.h"
#include "../../../framework/DocTemplate.h"
#include "../../../framework/Gdi.h"
#include "../../../framework/WinApp.h"
#include "../../../print/Pagent.h"
#include "CaptureFeedback.h"
#include "CaptureSetupIds.h"
#include "DocumentOperationCalls.h"
#include "ImageDoc.h"
#include "OptionDialogCalls.h"

namespace {

void EnableItems(HWND page, std::initializer_list<int> ids, bool enable)
{
    for (int id : ids)
        ::EnableWindow(::GetDlgItem(page, id), enable ? TRUE : FALSE);
}

bool Checked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }

// The page's own Help button asks the sheet for help.
void AllowHelp(CPropertyPage& page) { page.m_psp.dwFlags |= PSP_HASHELP; }

}  // namespace

// ---- Send To ----------------------------------------------------------------------

XPropertyPageSendTo::XPropertyPageSendTo(int (&values)[kSendtoPageCount])
    : CPropertyPage(IDD_SETUP_SENDTO), v_(values)
{
    AllowHelp(*this);
}

void XPropertyPageSendTo::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, IDC_SENDTO_WINDOW, v_[kSendtoWindow]);
    DDX_Check(dx, IDC_SENDTO_CLIPBOARD, v_[kSendtoClipboard]);
    DDX_Check(dx, IDC_SENDTO_PRINTER, v_[kSendtoPrinter]);
    DDX_Check(dx, IDC_SENDTO_FILE, v_[kSendtoFile]);
    DDX_Radio(dx, IDC_SENDTO_INCREMENT, v_[kSendtoFileNaming]);
    DDX_Check(dx, IDC_SENDTO_PRINT_DIALOG, v_[kSendtoPrintDialog]);
    DDX_Text(dx, IDC_SENDTO_MARGIN_X, v_[kSendtoMarginX]);
    DDV_MinMaxInt(dx, v_[kSendtoMarginX], 0, kMarginLimit);
    DDX_Text(dx, IDC_SENDTO_MARGIN_Y, v_[kSendtoMarginY]);
    DDV_MinMaxInt(dx, v_[kSendtoMarginY], 0, kMarginLimit);
}

BOOL XPropertyPageSendTo::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    EnablePrinterOptions();
    EnableFileOptions();
    ::SendDlgItemMessageA(m_hWnd, IDC_SPIN_1, UDM_SETRANGE32, 0, ScreenWidth);
    ::SendDlgItemMessageA(m_hWnd, IDC_SPIN_2, UDM_SETRANGE32, 0, ScreenHeight);
    return TRUE;
}

void XPropertyPageSendTo::EnableFileOptions()
{
    EnableItems(m_hWnd, {IDC_SENDTO_SET_FILE, IDC_SENDTO_INCREMENT, IDC_SENDTO_PROMPT, IDC_SENDTO_BY_TIME,
                         IDC_SENDTO_FILE_GROUP},
                Checked(m_hWnd, IDC_SENDTO_FILE));
}

void XPropertyPageSendTo::EnablePrinterOptions()
{
    EnableItems(m_hWnd, {IDC_SENDTO_SET_PRINT, IDC_SENDTO_PRINT_DIALOG, IDC_SENDTO_PRINTER_GROUP},
                Checked(m_hWnd, IDC_SENDTO_PRINTER));
}

void XPropertyPageSendTo::OnFile()
{
    UpdateData(TRUE);
    EnableFileOptions();
}

void XPropertyPageSendTo::OnPrinter()
{
    UpdateData(TRUE);
    EnablePrinterOptions();
}

void XPropertyPageSendTo::OnSetPrint() { PrintXImageSetup(ApplicationTitle, SettingsPath); }

void XPropertyPageSendTo::OnSetFile() { RunCaptureFileSaveAsDialog(); }

BEGIN_MESSAGE_MAP(XPropertyPageSendTo, CPropertyPage)
    ON_BN_CLICKED(IDC_SENDTO_FILE, OnFile)
    ON_BN_CLICKED(IDC_SENDTO_PRINTER, OnPrinter)
    ON_BN_CLICKED(IDC_SENDTO_SET_PRINT, OnSetPrint)
    ON_BN_CLICKED(IDC_SENDTO_SET_FILE, OnSetFile)
END_MESSAGE_MAP()

// ---- Capture ----------------------------------------------------------------------

XPropertyPageCapture::XPropertyPageCapture(int (&values)[kCapturePageCount])
    : CPropertyPage(IDD_SETUP_CAPTURE), v_(values)
{
    AllowHelp(*this);
}

void XPropertyPageCapture::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, IDC_CAPTURE_HIDE_POINTER, v_[kCaptureHidePointer]);
    DDX_Check(dx, IDC_CAPTURE_ADD_FRAME, v_[kCaptureAddFrame]);
    DDX_Check(dx, IDC_CAPTURE_RAISE, v_[kCaptureRaiseMainWindow]);
    DDX_Check(dx, IDC_CAPTURE_SHOW_INFO, v_[kCaptureShowInfo]);
    DDX_Radio(dx, IDC_CAPTURE_AS_IS, v_[kCaptureColorOption]);
}

BOOL XPropertyPageCapture::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    EnableSetButtons();
    return TRUE;
}

void XPropertyPageCapture::EnableSetButtons()
{
    EnableItems(m_hWnd, {IDC_CAPTURE_SET_FRAME}, v_[kCaptureAddFrame] != 0);
    EnableItems(m_hWnd, {IDC_CAPTURE_SET_BLACK_WHITE}, v_[kCaptureColorOption] == 1);
}

void XPropertyPageCapture::OnAddFrame()
{
    UpdateData(TRUE);
    EnableSetButtons();
}

void XPropertyPageCapture::OnColorOption()
{
    UpdateData(TRUE);
    EnableSetButtons();
}

void XPropertyPageCapture::OnSetFrame() { RunFrameDialog(); }

void XPropertyPageCapture::OnSetBlackWhite() { RunBlackWhiteDialog(); }

BEGIN_MESSAGE_MAP(XPropertyPageCapture, CPropertyPage)
    ON_BN_CLICKED(IDC_CAPTURE_ADD_FRAME, OnAddFrame)
    ON_BN_CLICKED(IDC_CAPTURE_AS_IS, OnColorOption)
    ON_BN_CLICKED(IDC_CAPTURE_BLACK_WHITE, OnColorOption)
    ON_BN_CLICKED(IDC_CAPTURE_GRAYSCALE, OnColorOption)
    ON_BN_CLICKED(IDC_CAPTURE_INVERT, OnColorOption)
    ON_BN_CLICKED(IDC_CAPTURE_REDUCE, OnColorOption)
    ON_BN_CLICKED(IDC_CAPTURE_SET_FRAME, OnSetFrame)
    ON_BN_CLICKED(IDC_CAPTURE_SET_BLACK_WHITE, OnSetBlackWhite)
END_MESSAGE_MAP()

// ---- Notification -----------------------------------------------------------------

XPropertyPageNotify::XPropertyPageNotify(int (&values)[kNotifyPageCount])
    : CPropertyPage(IDD_SETUP_NOTIFY), v_(values)
{
    AllowHelp(*this);
}

void XPropertyPageNotify::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_NOTIFY_ICON_1, icons_[0]);
    DDX_Control(dx, IDC_NOTIFY_ICON_2, icons_[1]);
    DDX_Control(dx, IDC_NOTIFY_ICON_3, icons_[2]);
    DDX_Control(dx, IDC_NOTIFY_ICON_4, icons_[3]);
    DDX_Radio(dx, IDC_NOTIFY_NO_SOUND, v_[kNotifySound]);
    DDX_Radio(dx, IDC_NOTIFY_NO_FLASH, v_[kNotifyFlash]);
}

void XPropertyPageNotify::OnSoundChoice(UINT)
{
    UpdateData(TRUE);
    EnableItems(m_hWnd, {IDC_NOTIFY_TEST_SOUND}, v_[kNotifySound] > 0);
}

void XPropertyPageNotify::OnFlashChoice(UINT)
{
    UpdateData(TRUE);
    EnableItems(m_hWnd, {IDC_NOTIFY_TEST_FLASH}, v_[kNotifyFlash] > 0);
}

void XPropertyPageNotify::OnTestSound()
{
    UpdateData(TRUE);
    PlayCaptureSound(v_[kNotifySound]);
}

// Over the stored screen area, not the Screen page's unsaved numbers.
void XPropertyPageNotify::OnTestFlash()
{
    UpdateData(TRUE);
    CurrentCapture.rectangle = {ScreenPage[kScreenLeft], ScreenPage[kScreenTop], ScreenPage[kScreenRight],
                                ScreenPage[kScreenBottom]};
    AnimateCaptureFeedback(v_[kNotifyFlash]);
}

// The sound picture beside each sound button, its green showing the button
// face.
void XPropertyPageNotify::OnPaint()
{
    CPaintDC paint(this);
    HBITMAP picture = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_NOTIFY_SOUND));
    if (!picture)
        return;
    BITMAP size{};
    ::GetObjectA(picture, sizeof size, &size);
    HDC memory = ::CreateCompatibleDC(paint.m_hDC);
    HGDIOBJ old = ::SelectObject(memory, picture);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < size.bmHeight; ++y)
        for (int x = 0; x < size.bmWidth; ++x)
            if (::GetPixel(memory, x, y) == RGB(0, 255, 0))
                ::SetPixel(memory, x, y, face);
    for (int i = 3; i >= 0; --i) {
        if (!icons_[i].m_hWnd)
            continue;
        RECT place;
        ::GetWindowRect(icons_[i].m_hWnd, &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        ::BitBlt(paint.m_hDC, place.left, place.top, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
}

BEGIN_MESSAGE_MAP(XPropertyPageNotify, CPropertyPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_NOTIFY_NO_SOUND, IDC_NOTIFY_SOUND_4, OnSoundChoice)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_NOTIFY_NO_FLASH, IDC_NOTIFY_UP_DOWN, OnFlashChoice)
    ON_BN_CLICKED(IDC_NOTIFY_TEST_SOUND, OnTestSound)
    ON_BN_CLICKED(IDC_NOTIFY_TEST_FLASH, OnTestFlash)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// ---- The sheet --------------------------------------------------------------------

namespace {

// Every image document's canvas follows the new margins.
void RefitImageDocuments()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    POSITION templates = app->GetFirstDocTemplatePosition();
    while (templates) {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(templates);
        POSITION documents = docTemplate->GetFirstDocPosition();
        while (documents) {
            if (auto* image = DYNAMIC_DOWNCAST(XImageDoc, docTemplate->GetNextDoc(documents))) {
                image->UpdateCanvasSize();
                image->UpdateAllViews(nullptr);
            }
        }
    }
}

const char* const kHelpKeywords[kCaptureSetupPageCount] = {
    "Kaptura setup", "capture setup", "screen capture", "window capture", "region capture",
    "title and menu capture", "freehand capture", "running mode setup", nullptr, nullptr};

}  // namespace

XPropertySheetCaptureSetup::XPropertySheetCaptureSetup()
    : CPropertySheet(IDS_CAPTURE_SETUP, nullptr, 0),
      values_(LoadCaptureSetupValues()),
      sendTo_(values_.sendTo),
      capture_(values_.capture),
      screen_(values_.screen),
      window_(values_.window),
      region_(values_.region),
      titleMenu_(values_.titleMenu),
      freehand_(values_.freehand),
      button_(values_.button),
      commandBar_(values_.commandBar),
      notify_(values_.notify)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP;
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{
             &sendTo_, &capture_, &screen_, &window_, &region_, &titleMenu_, &freehand_, &button_, &commandBar_,
             &notify_})
        AddPage(page);
    SetActivePage(values_.sendTo[kSendtoFirstPage]);
}

XPropertySheetCaptureSetup::~XPropertySheetCaptureSetup() = default;

int XPropertySheetCaptureSetup::OnCreate(LPCREATESTRUCT create)
{
    if (CPropertySheet::OnCreate(create) == -1)
        return -1;
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    return 0;
}

void XPropertySheetCaptureSetup::OnOK()
{
    // The active page is checked as if it were left: its values read and
    // range-checked, and the Command Bar page's choice must capture something.
    CPropertyPage* active = GetActivePage();
    if (active && !active->OnKillActive())
        return;
    const bool refit = MarginsChanged(values_);
    StoreCaptureSetupValues(values_, GetActiveIndex());
    if (refit)
        RefitImageDocuments();
    WriteCapturePageSettings();
    EndDialog(IDOK);
}

void XPropertySheetCaptureSetup::OnHelp()
{
    const int page = GetActiveIndex();
    if (page >= 0 && page < kCaptureSetupPageCount && kHelpKeywords[page])
        AfxGetApp()->WinHelp(reinterpret_cast<DWORD_PTR>(kHelpKeywords[page]), HELP_KEY);
}

BEGIN_MESSAGE_MAP(XPropertySheetCaptureSetup, CPropertySheet)
    ON_WM_CREATE()
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(IDHELP, OnHelp)
END_MESSAGE_MAP()

void RunCaptureSetupSheet()
{
    XPropertySheetCaptureSetup sheet;
    sheet.DoModal();
}
