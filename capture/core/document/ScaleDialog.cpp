// The Scale dialog: a new size in pixels or in percent of the image.
#include <windows.h>
#include <commctrl.h>

#include "../../../framework/Controls.h"
#include "../../../framework/Dialog.h"
#include "AppServices.h"
#include "DocumentOperationCalls.h"
#include "resource.h"

namespace {

class ScaleDialog : public CDialog {
public:
    explicit ScaleDialog(const ScaleChoice& start)
        : CDialog(IDD_SCALE, CWnd::FromHandle(MainFrameWindow())), width(start.width), height(start.height),
          imageWidth(start.width), imageHeight(start.height), smooth(start.smooth)
    {
    }

    int width;
    int height;
    int unit = 0;   // 0 pixels, 1 percent
    int imageWidth;
    int imageHeight;
    int smooth;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_SCALE_WIDTH, width);
        DDV_MinMaxInt(dx, width, 1, 65535);
        DDX_Text(dx, IDC_SCALE_HEIGHT, height);
        DDV_MinMaxInt(dx, height, 1, 65535);
        DDX_Radio(dx, IDC_SCALE_PIXELS, unit);
        DDX_Check(dx, IDC_SCALE_SMOOTH, smooth);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        // Smooth scaling is not offered here; its value passes through.
        if (CWnd* check = GetDlgItem(IDC_SCALE_SMOOTH))
            check->ShowWindow(SW_HIDE);
        for (int spin : {IDC_SCALE_WIDTH_SPIN, IDC_SCALE_HEIGHT_SPIN})
            ::SendDlgItemMessageA(m_hWnd, spin, UDM_SETRANGE32, 1, 9999);
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    void OnPixels()
    {
        SetDlgItemInt(IDC_SCALE_WIDTH, UINT(imageWidth));
        SetDlgItemInt(IDC_SCALE_HEIGHT, UINT(imageHeight));
    }

    void OnPercent()
    {
        SetDlgItemInt(IDC_SCALE_WIDTH, 100);
        SetDlgItemInt(IDC_SCALE_HEIGHT, 100);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScaleDialog, CDialog)
    ON_BN_CLICKED(IDC_SCALE_PIXELS, OnPixels)
    ON_BN_CLICKED(IDC_SCALE_PERCENT, OnPercent)
END_MESSAGE_MAP()

} // namespace

bool RunScaleDialog(ScaleChoice& choice)
{
    ScaleDialog dialog(choice);
    if (dialog.DoModal() != IDOK)
        return false;
    choice.percentMode = dialog.unit == 1;
    if (choice.percentMode) {
        choice.percentX = dialog.width;
        choice.percentY = dialog.height;
    } else {
        choice.width = dialog.width;
        choice.height = dialog.height;
    }
    choice.smooth = dialog.smooth;
    return true;
}
