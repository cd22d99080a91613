// The Black and White dialog: for each of the 16 standard colours whether
// the black-and-white conversion makes it black or white.
#include <windows.h>

#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "ColorSwatches.h"
#include "DialogHelpers.h"
#include "DocumentOperationCalls.h"
#include "Settings.h"
#include "SmallDialogIds.h"

namespace {

// Gray, silver, green, yellow, cyan and white become white by default.
const int kDefaultWhite[kStandardColorCount] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 0, 1, 1};

class XDialogBlackWhite : public CDialog {
public:
    XDialogBlackWhite() : CDialog(IDD_BLACK_WHITE)
    {
        for (int i = 0; i < kStandardColorCount; ++i)
            white[i] = FlagValue(BlackWhite[i]);
    }

    int white[kStandardColorCount];   // 0: black, 1: white (the radio index)

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        for (int i = 0; i < kStandardColorCount; ++i) {
            DDX_Radio(dx, IDC_BW_BLACK_FIRST + 2 * i, white[i]);
            if (dx->m_bSaveAndValidate && white[i] < 0)
                white[i] = 0;
        }
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    void OnDefault()
    {
        for (int i = 0; i < kStandardColorCount; ++i)
            white[i] = kDefaultWhite[i];
        UpdateData(FALSE);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogBlackWhite, CDialog)
    ON_BN_CLICKED(IDC_BW_DEFAULT, OnDefault)
END_MESSAGE_MAP()

}  // namespace

bool RunBlackWhiteDialog()
{
    InstallSwatchProcedures();
    XDialogBlackWhite dialog;
    if (dialog.DoModal() != IDOK)
        return false;
    for (int i = 0; i < kStandardColorCount; ++i)
        BlackWhite[i] = BYTE(dialog.white[i]);
    WriteBlackWhiteSettings();
    return true;
}
