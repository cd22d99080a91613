// The Capture Setup sheet: ten pages over a copy of the capture settings'
// page keys, written back only by the sheet's OK.
#pragma once

#include "../../../framework/Controls.h"
#include "../../../framework/PropertySheet.h"
#include "CaptureSetupValues.h"
#include "KindPages.h"

class XPropertyPageSendTo : public CPropertyPage {
public:
    explicit XPropertyPageSendTo(int (&values)[kSendtoPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnFile();
    afx_msg void OnPrinter();
    afx_msg void OnSetPrint();
    afx_msg void OnSetFile();
    void EnableFileOptions();
    void EnablePrinterOptions();
    int (&v_)[kSendtoPageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageCapture : public CPropertyPage {
public:
    explicit XPropertyPageCapture(int (&values)[kCapturePageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    afx_msg void OnAddFrame();
    afx_msg void OnColorOption();
    afx_msg void OnSetFrame();
    afx_msg void OnSetBlackWhite();
    void EnableSetButtons();
    int (&v_)[kCapturePageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertyPageNotify : public CPropertyPage {
public:
    explicit XPropertyPageNotify(int (&values)[kNotifyPageCount]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg void OnSoundChoice(UINT id);
    afx_msg void OnFlashChoice(UINT id);
    afx_msg void OnTestSound();
    afx_msg void OnTestFlash();
    afx_msg void OnPaint();
    CStatic icons_[4];
    int (&v_)[kNotifyPageCount];
    DECLARE_MESSAGE_MAP()
};

class XPropertySheetCaptureSetup : public CPropertySheet {
public:
    XPropertySheetCaptureSetup();
    ~XPropertySheetCaptureSetup() override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT create);
    afx_msg void OnOK();
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    // The values first: the pages edit them in place.
    CaptureSetupValues values_;
    XPropertyPageSendTo sendTo_;
    XPropertyPageCapture capture_;
    XPropertyPageScreen screen_;
    XPropertyPageWindow window_;
    XPropertyPageRegion region_;
    XPropertyPageTitleMenu titleMenu_;
    XPropertyPageFreehand freehand_;
    XPropertyPageButton button_;
    XPropertyPageControlBar commandBar_;
    XPropertyPageNotify notify_;
};
