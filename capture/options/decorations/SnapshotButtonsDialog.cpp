// The Snapshot Buttons dialog: which snapshot buttons the caption strip
// shows, whether it hides during a capture, and the buttons' face colour.
// The choices take effect while the dialog is open, so the strip in its own
// caption shows them; Cancel brings back what the settings file holds.
#include <windows.h>

#include "../../../framework/DataExchange.h"
#include "../../../framework/Dialog.h"
#include "../../../framework/Gdi.h"
#include "DecorationDialogIds.h"
#include "DialogHelpers.h"
#include "OptionDialogCalls.h"
#include "Settings.h"
#include "TitleBarDecorations.h"

namespace {

enum { kKindCount = 6 };

// The capture-kind boxes and their face places, in the SnapshotButton order.
const int kKindBoxes[kKindCount] = {IDC_SNAP_SCREEN, IDC_SNAP_WINDOW, IDC_SNAP_REGION,
                                    IDC_SNAP_FREEHAND, IDC_SNAP_BUTTON, IDC_SNAP_COMMAND_BAR};
const int kKindFaces[kKindCount] = {IDC_SNAP_GLYPH_SCREEN,   IDC_SNAP_GLYPH_WINDOW, IDC_SNAP_GLYPH_REGION,
                                    IDC_SNAP_GLYPH_FREEHAND, IDC_SNAP_GLYPH_BUTTON, IDC_SNAP_GLYPH_COMMAND_BAR};
// Every kind but Freehand, hidden during a capture.
const int kDefaultChoice[kSnapshotButtonCount] = {1, 1, 1, 0, 1, 1, 1};

COLORREF SystemFace() { return ::GetSysColor(COLOR_BTNFACE); }

class XDialogSnapshotButtons : public CDialog {
public:
    XDialogSnapshotButtons() : CDialog(IDD_SNAPSHOT_BUTTONS)
    {
        for (int i = 0; i < kSnapshotButtonCount; ++i)
            values[i] = FlagValue(SnapshotButton[i]);
        faceColor = ButtonColors ? ButtonColors & 0xFFFFFF : SystemFace();
    }

    int values[kSnapshotButtonCount];
    COLORREF faceColor;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        for (int i = 0; i < kKindCount; ++i)
            DDX_Check(dx, kKindBoxes[i], values[i]);
        DDX_Check(dx, IDC_SNAP_HIDE_IN_CAPTURE, values[kSnapHideInCapture]);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    // The kinds and the colour go into the settings at once; the faces and
    // the strip are rebuilt, and this caption is redrawn to show them.
    void Apply()
    {
        for (int i = 0; i < kKindCount; ++i)
            SnapshotButton[i] = values[i];
        ButtonColors = faceColor;
        RebuildSnapshotButtons();
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        Invalidate(FALSE);
    }

    void OnKindBox()
    {
        UpdateData(TRUE);
        Apply();
    }

    void OnDefault()
    {
        for (int i = 0; i < kSnapshotButtonCount; ++i)
            values[i] = kDefaultChoice[i];
        faceColor = SystemFace();
        UpdateData(FALSE);
        Apply();
    }

    void OnColor()
    {
        if (ChooseColorFullOpen(this, faceColor))
            Apply();
    }

    void OnHelp() { ShowHelpKeyword("Snapshot Button Setup"); }

    // Each kind's face at the top-left corner of its hidden place.
    void OnPaint()
    {
        CPaintDC paint(this);
        for (int i = 0; i < kKindCount; ++i) {
            CWnd* place = GetDlgItem(kKindFaces[i]);
            if (!place)
                continue;
            CRect area;
            place->GetWindowRect(&area);
            ScreenToClient(&area);
            DrawSnapshotButtonFace(paint.m_hDC, i, area.left, area.top);
        }
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(XDialogSnapshotButtons, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_SNAP_SCREEN, OnKindBox)
    ON_BN_CLICKED(IDC_SNAP_WINDOW, OnKindBox)
    ON_BN_CLICKED(IDC_SNAP_REGION, OnKindBox)
    ON_BN_CLICKED(IDC_SNAP_FREEHAND, OnKindBox)
    ON_BN_CLICKED(IDC_SNAP_BUTTON, OnKindBox)
    ON_BN_CLICKED(IDC_SNAP_COMMAND_BAR, OnKindBox)
    ON_BN_CLICKED(IDC_SNAP_DEFAULT, OnDefault)
    ON_BN_CLICKED(IDC_SNAP_COLOR, OnColor)
    ON_BN_CLICKED(IDC_SNAP_HELP, OnHelp)
END_MESSAGE_MAP()

}  // namespace

void RunSnapshotButtonsDialog()
{
    XDialogSnapshotButtons dialog;
    if (dialog.DoModal() == IDOK) {
        for (int i = 0; i < kSnapshotButtonCount; ++i)
            SnapshotButton[i] = dialog.values[i];
        ButtonColors = dialog.faceColor == SystemFace() ? 0 : dialog.faceColor;
        WriteSnapshotButtonSettings();
        return;
    }
    // Whatever the foreground is now, the strip goes back to the stored one.
    LoadSnapshotButtonSettings();
    RebuildSnapshotButtons();
}
