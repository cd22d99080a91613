// The last pages: a finished install, and a setup left before its end.
#include "SetupPages.h"

#include "app/SetupState.h"

BOOL XPropertyPageFinish::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetHeading(IDC_FINISH_HEADING);
    return TRUE;
}

BOOL XPropertyPageFinish::OnSetActive()
{
    ShowSheetButton(IDC_WIZARD_BACK, false);
    ShowSheetButton(IDC_WIZARD_NEXT, false);
    SetSheetButtonText(IDCANCEL, "Finish");
    return TRUE;
}

void XPropertyPageFinish::PaintPicture(HDC dc)
{
    HBITMAP bitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_FINISH));
    DrawFinishBitmap(dc, bitmap, FrameRect());
    if (bitmap)
        ::DeleteObject(bitmap);
}

BOOL XPropertyPageExit::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetHeading(IDC_EXIT_HEADING);
    return TRUE;
}

BOOL XPropertyPageExit::OnSetActive()
{
    SetWizardButtons(PSWIZB_NEXT);
    ShowSheetButton(IDC_WIZARD_BACK, false);
    ShowSheetButton(IDC_WIZARD_NEXT, true);
    SetSheetButtonText(IDC_WIZARD_NEXT, "&Setup");
    SetSheetButtonText(IDCANCEL, "E&xit Setup");
    return TRUE;
}
