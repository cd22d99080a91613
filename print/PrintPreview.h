// The page-shaped previews beside the option sheets' pages and the page
// count label under them. Each preview owns a printer device context of the
// chosen printer for the page's proportions and the texts' resolution, and
// draws with the jobs' own drawing: the image through the job's colour
// rework and palette, header, footer and note through the job's text
// drawing in printer units mapped onto the miniature page.
#pragma once

#include <windows.h>

#include <string>

#include "PrintGrid.h"
#include "PrintSettings.h"
#include "Wnd.h"

namespace pagent {

// The values the sheets' pages show while the user edits them; the
// previews draw from them and the sheets' OK stores them.
struct SheetValues {
    PageOptions page = DefaultPageOptions();
    AllPageOptions all = DefaultAllPageOptions();
    std::string texts[kHeaderTextCount];
    std::string note;             // the note text being edited
    bool allOnOnePage = false;    // which sheet the values belong to
};

class PageCountLabel : public CWnd {
public:
    BOOL CreateChild(CWnd* parent);
    void SetCount(int pages);
    int count() const { return count_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int count_ = 1;
};

class PreviewWindow : public CWnd {
public:
    PreviewWindow(SheetValues& values, PageCountLabel& label) : values_(values), label_(label) {}
    ~PreviewWindow() override;
    // The printer context of the chosen printer: none gives 32001, one
    // that cannot take bitmaps 32002; false then.
    bool CreatePrinterDC();
    BOOL CreateChild(CWnd* parent);
    // What the pages call after a change.
    void RepaintAll();
    void RepaintHeader();
    void RepaintFooter();
    void RepaintNote();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void DrawContent(HDC dc) = 0;
    virtual bool Landscape() const = 0;
    // The page outline; fills pageArea_.
    void DrawPage(HDC dc);
    // Header and footer (when their check boxes are set) in printer units.
    void DrawTexts(HDC dc);
    // Page-area coordinates to printer pixels and back.
    int PrinterWidth() const { return Landscape() ? long_ : short_; }
    int PrinterHeight() const { return Landscape() ? short_ : long_; }
    // Maps printer units onto the page area for one scope of drawing.
    void BeginPrinterMapping(HDC dc) const;
    void EndPrinterMapping(HDC dc) const;
    void InvalidatePrinterRect(const RECT& printerRect);

    SheetValues& values_;
    PageCountLabel& label_;
    HDC printer_ = nullptr;
    int short_ = 1, long_ = 1;   // the printer page's sides
    int factor_ = 1;             // printer pixels per preview pixel
    int depth_ = 0;              // the band above (portrait: beside) the page
    Box pageArea_;
    RECT headerDrawn_{}, footerDrawn_{};

private:
    void Measure();
};

// The single-image sheet's preview: the page, the image at its scale and
// alignment, the note, header and footer.
class PrintOnePreview : public PreviewWindow {
public:
    using PreviewWindow::PreviewWindow;
    void RepaintNoteArea();

protected:
    void DrawContent(HDC dc) override;
    bool Landscape() const override { return values_.page[PageOptions::kOrientation] == 1; }

private:
    void DrawFullScreenBox(HDC dc, const Box& image);
    RECT noteDrawn_{};
};

// The all-on-one-page sheet's preview: the grid of cells, each image in its
// cell, header and footer; an image dragged to another cell moves there in
// the page list, dragged off the page it is removed.
class XWndPrintAllPreview : public PreviewWindow {
public:
    using PreviewWindow::PreviewWindow;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawContent(HDC dc) override;
    bool Landscape() const override { return values_.all[AllPageOptions::kOrientation] == 1; }

private:
    CellGrid Grid() const;
    void Drag(POINT start);
    void DropAt(int from, POINT at);
};

// A sunken two-pixel frame round a rectangle.
void DrawFrame3D(HDC dc, int left, int top, int right, int bottom);

}  // namespace pagent
