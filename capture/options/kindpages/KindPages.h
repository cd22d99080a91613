// The seven capture kind pages of the Capture Setup sheet: Screen, Window,
// Region, Title and Menu, Freehand, Button and Command Bar. Each edits its
// key's values in the sheet's copy (CaptureSetupValues), shows the kind's
// snapshot-button glyph and hot key, and most paint a sample of what their
// options produce.
#pragma once

#include <windows.h>

#include "../../../framework/Controls.h"
#include "../../../framework/PropertySheet.h"
#include "CaptureSetupValues.h"

// What every kind page shares: the hot-key line with its "Change Hotkey"
// button, and the glyph of the kind's snapshot button.
class XKindPage : public CPropertyPage {
public:
    struct Look {
        UINT dialog;
        int hotkeyRow;       // row of the Hotkey Setup dialog
        int hotkeyStatic;    // the static that shows the hot key
        int glyphStatic;     // 0: the kind has no snapshot button
        int glyphButton;     // 0 Screen, 1 Window, 2 Region, 3 Freehand, 4 Button, 5 Command Bar
    };
    explicit XKindPage(const Look& look);

protected:
    BOOL OnInitDialog() override;
    void UpdateHotkeyText();
    afx_msg void OnChangeHotkey();
    // Paints the glyph; pages with a sample paint it after calling this.
    afx_msg void OnPaint();
    virtual void PaintSample(HDC) {}
    virtual bool ShowsGlyph() const { return true; }
    // Repaints the sample static (its background erased).
    void RepaintSample(int sampleStatic);
    // The static's rectangle in the page's client coordinates.
    RECT PlaceOf(int id) const;
    // Copies bitmap id at its own size to (x, y) of dc.
    void DrawBitmap(HDC dc, int id, int x, int y) const;
    // The colour dialog over color; true with the choice in color on OK.
    bool ChooseColor(int& color);

    Look look_;
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageScreen : public XKindPage {
public:
    explicit XPropertyPageScreen(int (&values)[kScreenPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnFullScreen();
    int (&v_)[kScreenPageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageWindow : public XKindPage {
public:
    explicit XPropertyPageWindow(int (&values)[kWindowPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    int (&v_)[kWindowPageCount];
};

class XPropertyPageRegion : public XKindPage {
public:
    explicit XPropertyPageRegion(int (&values)[kRegionPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void PaintSample(HDC dc) override;
    afx_msg void OnOptionClicked();
    afx_msg void OnPenColor();
    CStatic sample_;
    int (&v_)[kRegionPageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageTitleMenu : public XKindPage {
public:
    explicit XPropertyPageTitleMenu(int (&values)[kTitleMenuPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void PaintSample(HDC dc) override;
    afx_msg void OnObjectClicked(UINT id);
    CStatic sample_;
    int (&v_)[kTitleMenuPageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageFreehand : public XKindPage {
public:
    explicit XPropertyPageFreehand(int (&values)[kFreehandPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void PaintSample(HDC dc) override;
    afx_msg void OnBorderClicked();
    afx_msg void OnPenColor();
    CStatic sample_;
    int (&v_)[kFreehandPageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageButton : public XKindPage {
public:
    explicit XPropertyPageButton(int (&values)[kButtonPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    int (&v_)[kButtonPageCount];
};

class XPropertyPageControlBar : public XKindPage {
public:
    explicit XPropertyPageControlBar(int (&values)[kCommandBarPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnKillActive() override;
    void PaintSample(HDC dc) override;
    bool ShowsGlyph() const override;
    afx_msg void OnOptionClicked();
    CStatic sample_;
    int (&v_)[kCommandBarPageCount];
    DECLARE_MESSAGE_MAP()
};
