// The About box: the program's name and version, the screen it runs on, and
// the logo whose colours sweep through it on a 100 ms timer.
#include <windows.h>

#include <cstdio>

#include "../../../framework/Dialog.h"
#include "../../../framework/Gdi.h"
#include "AboutLogoAnimation.h"
#include "DialogHelpers.h"
#include "OptionDialogCalls.h"
#include "Settings.h"
#include "SmallDialogIds.h"

namespace {

enum { kAnimationTimer = 1, kAnimationPeriod = 100, kLogoLeft = 15, kLogoBottomGap = 16 };

// The colour-mode text of a screen depth; null for a depth without one.
const char* ColorModeText(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return "2";
    case 4: return "16";
    case 8: return "256";
    case 15: return "32K";
    case 16: return "65K";
    // A 32-bit screen shows no more colours than a 24-bit one.
    case 24:
    case 32: return "16.8M";
    default: return nullptr;
    }
}

class XDialogAbout : public CDialog {
public:
    XDialogAbout() : CDialog(IDD_ABOUT), animation(0) {}

    int firstPaint = 1;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        char text[260];
        snprintf(text, sizeof text, "%dx%d", ScreenWidth, ScreenHeight);
        SetDlgItemText(IDC_ABOUT_RESOLUTION, text);
        text[0] = '\0';
        ::GetPrivateProfileStringA("boot.description", "display.drv", "", text, 257, "system.ini");
        SetDlgItemText(IDC_ABOUT_DRIVER, text);
        if (const char* mode = ColorModeText(ScreenBitsPerPixel))
            SetDlgItemText(IDC_ABOUT_COLOR_MODE, mode);
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        SetTimer(kAnimationTimer, kAnimationPeriod);
        return TRUE;
    }

    // The logo with its white in the colour of the dialog.
    bool LoadLogo()
    {
        if (!logo.Load(IDB_ABOUT_LOGO))
            return false;
        logo.ReplaceColor(0xFFFFFF, ::GetSysColor(COLOR_BTNFACE));
        return true;
    }

    POINT LogoCorner()
    {
        CRect client;
        GetClientRect(&client);
        return POINT{kLogoLeft, client.bottom - kLogoBottomGap - logo.height};
    }

    bool FirstDrawing()
    {
        const bool first = firstPaint != 0;
        firstPaint = 0;
        return first;
    }

    void OnPaint()
    {
        CPaintDC paint(this);
        if (FirstDrawing() || (!logo.bitmap && !LoadLogo()))
            return;
        const POINT corner = LogoCorner();
        logo.Copy(paint.m_hDC, corner.x, corner.y);
    }

    // One tick's share of the sweeps: a few rows, then back to the queue.
    void OnTimer(UINT_PTR id)
    {
        if (id == kAnimationTimer && !FirstDrawing())
            AnimateRows();
        CDialog::OnTimer(id);
    }

    void AnimateRows()
    {
        if (!logo.bitmap && !LoadLogo())
            return;
        if (animation.rows() != logo.height)
            animation = AboutLogoAnimation(logo.height);
        const LogoSweepStep step = animation.Next();
        if (step.restart && !LoadLogo())
            return;
        const POINT corner = LogoCorner();
        CClientDC dc(this);
        for (int row = step.firstRow; row >= step.lastRow && step.rowCount > 0; --row) {
            uint32_t* pixel = logo.pixels + size_t(row) * size_t(logo.width);
            for (int x = 0; x < logo.width; ++x)
                pixel[x] = LogoSweepColor(step.sweep, pixel[x]);
            logo.CopyRows(dc.m_hDC, corner.x, corner.y, row, row);
        }
    }

    void OnDestroy()
    {
        KillTimer(kAnimationTimer);
        CDialog::OnDestroy();
    }

    PixelBitmap logo;
    AboutLogoAnimation animation;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogAbout, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

}  // namespace

void RunAboutDialog()
{
    XDialogAbout dialog;
    dialog.DoModal();
}
