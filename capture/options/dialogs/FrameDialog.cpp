// The Frame dialog: frame and mat widths and colours, the frame the Tool
// menu's Frame command and the capture's frame option add around an image.
#include <windows.h>
#include <commctrl.h>

#include "../../../framework/Controls.h"
#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "../../../framework/Gdi.h"
#include "DialogHelpers.h"
#include "DocumentOperationCalls.h"
#include "Settings.h"
#include "SmallDialogIds.h"

namespace {

enum { kMaxFrameWidth = 2000 };

class XDialogFrame : public CDialog {
public:
    XDialogFrame()
        : CDialog(IDD_FRAME),
          frameWidth(ClampedValue(Frame[kFrameWidth], 1, kMaxFrameWidth)),
          matWidth(ClampedValue(Frame[kFrameMatWidth], 0, kMaxFrameWidth)),
          frameColor(COLORREF(Frame[kFrameColor]) & 0xFFFFFF),
          matColor(COLORREF(Frame[kFrameMatColor]) & 0xFFFFFF)
    {
    }

    int frameWidth;
    int matWidth;
    COLORREF frameColor;
    COLORREF matColor;
    CStatic frameSwatch;
    CStatic matSwatch;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_FRAME_SWATCH, frameSwatch);
        DDX_Control(dx, IDC_FRAME_MAT_SWATCH, matSwatch);
        DDX_Text(dx, IDC_FRAME_WIDTH, frameWidth);
        DDV_MinMaxInt(dx, frameWidth, 1, kMaxFrameWidth);
        DDX_Text(dx, IDC_FRAME_MAT_WIDTH, matWidth);
        DDV_MinMaxInt(dx, matWidth, 0, kMaxFrameWidth);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SendDlgItemMessage(IDC_FRAME_WIDTH_SPIN, UDM_SETRANGE32, 1, ScreenWidth);
        SendDlgItemMessage(IDC_FRAME_MAT_WIDTH_SPIN, UDM_SETRANGE32, 0, ScreenWidth);
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    static void FillSwatch(CStatic& swatch, COLORREF color)
    {
        if (!swatch.m_hWnd)
            return;
        CClientDC dc(&swatch);
        CRect inside;
        swatch.GetClientRect(&inside);
        dc.FillSolidRect(&inside, color);
    }

    // The swatches are frames with no inside of their own: the dialog
    // fills them whenever it paints.
    void OnPaint()
    {
        CPaintDC paint(this);
        FillSwatch(frameSwatch, frameColor);
        FillSwatch(matSwatch, matColor);
    }

    void ChooseInto(COLORREF& color)
    {
        if (ChooseColorFullOpen(this, color))
            Invalidate();
    }
    void OnSetFrameColor() { ChooseInto(frameColor); }
    void OnSetMatColor() { ChooseInto(matColor); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogFrame, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_FRAME_SET_COLOR, OnSetFrameColor)
    ON_BN_CLICKED(IDC_FRAME_SET_MAT_COLOR, OnSetMatColor)
END_MESSAGE_MAP()

}  // namespace

bool RunFrameDialog()
{
    XDialogFrame dialog;
    if (dialog.DoModal() != IDOK)
        return false;
    Frame[kFrameWidth] = dialog.frameWidth;
    Frame[kFrameMatWidth] = dialog.matWidth;
    Frame[kFrameColor] = static_cast<int>(dialog.frameColor);
    Frame[kFrameMatColor] = static_cast<int>(dialog.matColor);
    WriteFrameSettings();
    return true;
}
