// What every page of the installer's wizard shares: the side picture (or the
// Finish bitmap) painted at its frame, the bold heading, and the sheet's
// buttons shown, hidden, enabled and retitled as the page needs them.
#pragma once

#include "PropertySheet.h"
#include "resource.h"

class XPropertyPageSetup : public CPropertyPage {
public:
    // A page of an install or uninstall under way is left through the Exit
    // page; the other pages let the wizard close.
    enum Leaving { kClosesWizard, kShowsExitPage };

    XPropertyPageSetup(UINT templateId, UINT frameId, Leaving leaving = kClosesWizard)
        : CPropertyPage(templateId), m_frameId(frameId), m_leaving(leaving)
    {
        m_psp.dwFlags &= ~PSP_HASHELP;
    }

    // Every way out of the wizard (Exit Setup, Esc, the close box, Alt+F4)
    // asks the shown page first.
    BOOL OnQueryCancel() override;

protected:
    UINT m_frameId;   // the frame static that receives the picture
    Leaving m_leaving;

    void SetHeading(int id, LPCSTR text = nullptr);
    RECT FrameRect() const;
    HWND SheetButton(int id) const;
    void ShowSheetButton(int id, bool show);
    void SetSheetButtonText(int id, LPCSTR text);
    void SetWizardButtons(DWORD flags);

    afx_msg void OnPaint();
    virtual void PaintPicture(HDC dc);
    DECLARE_MESSAGE_MAP()
};

// The Finish bitmap on a page: pure white shows the button face, and a
// bitmap taller than the frame is squeezed to the frame's height.
void DrawFinishBitmap(HDC dc, HBITMAP bitmap, const RECT& frame);
