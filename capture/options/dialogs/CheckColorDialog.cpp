// The Check Color dialog: the colour picked in an image as a swatch and as
// its red, green and blue values, with the way on to changing it.
#include <windows.h>

#include <cstdio>

#include "../../../framework/Controls.h"
#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "../../../framework/Gdi.h"
#include "DocumentOperationCalls.h"
#include "resource.h"

static_assert(IDC_CHECK_COLOR_CHANGE == kCheckColorChangeResult,
              "the change button ends the dialog with its own id");

namespace {

class XDialogCheckColor : public CDialog {
public:
    explicit XDialogCheckColor(COLORREF picked) : CDialog(IDD_CHECK_COLOR), color(picked) {}

    COLORREF color;
    CStatic swatch;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_CHECK_COLOR_SWATCH, swatch); }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ShowComponent(IDC_CHECK_COLOR_RED, GetRValue(color));
        ShowComponent(IDC_CHECK_COLOR_GREEN, GetGValue(color));
        ShowComponent(IDC_CHECK_COLOR_BLUE, GetBValue(color));
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    void ShowComponent(int id, int value)
    {
        char text[8];
        snprintf(text, sizeof text, "%03d", value);
        SetDlgItemText(id, text);
    }

    // The swatch is a frame that paints no inside of its own: the dialog
    // fills it whenever it paints itself.
    void OnPaint()
    {
        CPaintDC paint(this);
        if (!swatch.m_hWnd)
            return;
        CClientDC swatchDc(&swatch);
        CRect inside;
        swatch.GetClientRect(&inside);
        swatchDc.FillSolidRect(&inside, color);
    }

    void OnChangeColor() { EndDialog(kCheckColorChangeResult); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogCheckColor, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_CHECK_COLOR_CHANGE, OnChangeColor)
END_MESSAGE_MAP()

} // namespace

int RunCheckColorDialog(COLORREF color)
{
    XDialogCheckColor dialog(color);
    return static_cast<int>(dialog.DoModal());
}
