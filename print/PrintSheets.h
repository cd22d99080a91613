// The option sheets: the single-image sheet (its Print, Notepad, Header,
// Footer and Macros pages) and the all-on-one-page sheet (its Print page
// with the Header, Footer and Macros pages), each with its preview and page
// count beside the pages. OK stores every value in the print state and the
// settings file.
#pragma once

#include "DateTimeDialog.h"
#include "PrintPreview.h"
#include "PropertySheet.h"

namespace pagent {

class OptionsSheet;

// A page that draws its values from the sheet's shared values.
class OptionsPage : public CPropertyPage {
public:
    OptionsPage(UINT templateId, OptionsSheet& sheet);
    BOOL OnApply() override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Reads an edit's number into value when it holds one within the range;
    // true when the value changed.
    bool ReadNumber(int id, int low, int high, int& value);
    // Reads a radio group (first button id) into value; true when changed.
    bool ReadRadio(int firstId, int& value);
    void SetPrinterLine(int id);
    // Shows the nine boxes of the orientation and hides the others.
    void ShowAlignmentBoxes(bool landscape);
    OptionsSheet& sheet_;
    SheetValues& values_;
};

class PrintOptionsPage : public OptionsPage {
public:
    using OptionsPage::OptionsPage;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void ShowPreviewPosition();

protected:
    afx_msg void OnScaleChange();
    afx_msg void OnColorMode();
    afx_msg void OnOrientation();
    afx_msg void OnPreviewSize();
    afx_msg void OnPrev();
    afx_msg void OnNext();
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    DECLARE_MESSAGE_MAP()

private:
    void StepTo(int index);
};

class NotepadPage : public OptionsPage {
public:
    using OptionsPage::OptionsPage;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* dx) override;

protected:
    afx_msg void OnNoteChange();
    afx_msg void OnPlacement();
    afx_msg void OnPrintNote();
    afx_msg void OnFont();
    DECLARE_MESSAGE_MAP()

private:
    void EnablePlacement();
};

// The Header and Footer pages: three texts, a check box and a font.
class TextsPage : public OptionsPage {
public:
    TextsPage(OptionsSheet& sheet, bool footer);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

protected:
    afx_msg void OnTextChange();
    afx_msg void OnPrintCheck();
    afx_msg void OnFont();
    DECLARE_MESSAGE_MAP()

private:
    void Repaint();
    int Id(int header) const { return footer_ ? header + 5 : header; }
    bool footer_;
};

class HeaderPage : public TextsPage {
public:
    explicit HeaderPage(OptionsSheet& sheet) : TextsPage(sheet, false) {}
};

class FooterPage : public TextsPage {
public:
    explicit FooterPage(OptionsSheet& sheet) : TextsPage(sheet, true) {}
};

class XPropertyPagePrintAll : public OptionsPage {
public:
    XPropertyPagePrintAll(OptionsSheet& sheet, int imageCount);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

protected:
    afx_msg void OnNumberChange();
    afx_msg void OnColorMode();
    afx_msg void OnOrientation();
    afx_msg void OnPreviewSize();
    afx_msg void OnShowGrid();
    DECLARE_MESSAGE_MAP()

private:
    int imageCount_;
};

// What both sheets share: values, preview, label, lay-out and storing.
class OptionsSheet : public CPropertySheet {
public:
    OptionsSheet(bool allOnOnePage);
    ~OptionsSheet() override;
    // The preview's printer context; false (message shown) when the sheet
    // must not be shown.
    bool CreatePreviewPrinter() { return preview_->CreatePrinterDC(); }
    INT_PTR DoModal() override;
    void SetPreviewSize(int size);
    virtual void Store() = 0;
    // Called by every page's OK: the first call stores.
    void StoreOnce();
    PreviewWindow& preview() { return *preview_; }
    SheetValues values;

protected:
    void OnSheetCreated();
    virtual int PreviewSizeOf(int stored) const = 0;
    PageCountLabel label_;
    PreviewWindow* preview_ = nullptr;
    MacrosPage macrosPage_;

private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
    int baseWidth_ = 0;
    bool stored_ = false;
};

class PrintOneSheet : public OptionsSheet {
public:
    // allImages: a one-by-one run over the caller's records (Prev, Next).
    explicit PrintOneSheet(bool allImages);
    void Store() override;
    bool allImages() const { return allImages_; }

protected:
    int PreviewSizeOf(int stored) const override { return stored; }

private:
    bool allImages_;
    PrintOnePreview onePreview_;
    PrintOptionsPage optionsPage_;
    NotepadPage notepadPage_;
    HeaderPage headerPage_;
    FooterPage footerPage_;
};

class XPropertySheetPrintAll : public OptionsSheet {
public:
    explicit XPropertySheetPrintAll(int imageCount);
    void Store() override;

protected:
    int PreviewSizeOf(int stored) const override { return stored + 1; }

private:
    XWndPrintAllPreview allPreview_;
    XPropertyPagePrintAll printPage_;
    HeaderPage headerPage_;
    FooterPage footerPage_;
};

// The procedure of the alignment boxes' class "PrnClass".
LRESULT CALLBACK PrnClassWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pagent
