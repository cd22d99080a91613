// The Kaptura Setup dialog: how the program starts and runs, its
// notification-area icon and the desktop icons of the suite's programs.
// The caller stores the eight values into RunMode and acts on them.
#include <windows.h>

#include "../../../framework/Controls.h"
#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "../../../framework/Gdi.h"
#include "DialogHelpers.h"
#include "OptionDialogCalls.h"
#include "SmallDialogIds.h"

namespace {

enum SetupValue {
    kStartWithWindows, kLoadMinimised, kShowLogo, kForeground, kTrayIcon, kDesktopKaptura, kDesktopPixorama,
    kDesktopMorfix, kSetupValueCount
};

// The desktop boxes and the icons they show or hide.
struct DesktopIcon {
    int box;
    int icon;
    int value;
};
const DesktopIcon kDesktopIcons[] = {{IDC_SETUP_DESKTOP_KAPTURA, IDC_SETUP_KAPTURA_ICON, kDesktopKaptura},
                                     {IDC_SETUP_DESKTOP_PIXORAMA, IDC_SETUP_PIXORAMA_ICON, kDesktopPixorama},
                                     {IDC_SETUP_DESKTOP_MORFIX, IDC_SETUP_MORFIX_ICON, kDesktopMorfix}};

class XDialogSetup : public CDialog {
public:
    explicit XDialogSetup(const int stored[kSetupValueCount]) : CDialog(IDD_KAPTURA_SETUP)
    {
        for (int i = 0; i < kSetupValueCount; ++i)
            values[i] = FlagValue(stored[i]);
    }

    int values[kSetupValueCount];
    CStatic picture;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_SETUP_PICTURE, picture);
        DDX_Check(dx, IDC_SETUP_START_WITH_WINDOWS, values[kStartWithWindows]);
        DDX_Check(dx, IDC_SETUP_LOAD_MINIMIZED, values[kLoadMinimised]);
        DDX_Check(dx, IDC_SETUP_LOGO, values[kShowLogo]);
        DDX_Radio(dx, IDC_SETUP_BACKGROUND, values[kForeground]);
        if (values[kForeground] < 0)
            values[kForeground] = 0;
        DDX_Check(dx, IDC_SETUP_TRAY_ICON, values[kTrayIcon]);
        DDX_Check(dx, IDC_SETUP_DESKTOP_KAPTURA, values[kDesktopKaptura]);
        DDX_Check(dx, IDC_SETUP_DESKTOP_PIXORAMA, values[kDesktopPixorama]);
        DDX_Check(dx, IDC_SETUP_DESKTOP_MORFIX, values[kDesktopMorfix]);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItem(IDC_SETUP_SMALL_DESKTOP_BOX)->ShowWindow(SW_HIDE);
        ShowDesktopIcons();
        return TRUE;
    }

    void ShowDesktopIcons()
    {
        for (const DesktopIcon& icon : kDesktopIcons)
            GetDlgItem(icon.icon)->ShowWindow(values[icon.value] ? SW_SHOW : SW_HIDE);
    }

    void OnDesktopBox()
    {
        UpdateData(TRUE);
        ShowDesktopIcons();
    }

    void OnTrayIcon()
    {
        UpdateData(TRUE);
        CRect area;
        picture.GetWindowRect(&area);
        ScreenToClient(&area);
        InvalidateRect(&area, FALSE);
    }

    // The picture of the taskbar with or without the program's icon, its
    // pure green the colour of the dialog.
    void OnPaint()
    {
        CPaintDC paint(this);
        PixelBitmap bitmap;
        if (!picture.m_hWnd || !bitmap.Load(values[kTrayIcon] ? IDB_SETUP_TRAY : IDB_SETUP_NO_TRAY))
            return;
        bitmap.ReplaceColor(0x00FF00, ::GetSysColor(COLOR_BTNFACE));
        CRect area;
        picture.GetWindowRect(&area);
        ScreenToClient(&area);
        bitmap.Copy(paint.m_hDC, area.left, area.top);
    }

    void OnHelp() { ShowHelpKeyword("Kaptura Setup Command"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogSetup, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_SETUP_DESKTOP_KAPTURA, OnDesktopBox)
    ON_BN_CLICKED(IDC_SETUP_DESKTOP_PIXORAMA, OnDesktopBox)
    ON_BN_CLICKED(IDC_SETUP_DESKTOP_MORFIX, OnDesktopBox)
    ON_BN_CLICKED(IDC_SETUP_TRAY_ICON, OnTrayIcon)
    ON_BN_CLICKED(IDC_SETUP_HELP, OnHelp)
END_MESSAGE_MAP()

}  // namespace

bool RunSetupDialog(int values[8])
{
    XDialogSetup dialog(values);
    if (dialog.DoModal() != IDOK)
        return false;
    for (int i = 0; i < kSetupValueCount; ++i)
        values[i] = dialog.values[i];
    return true;
}
