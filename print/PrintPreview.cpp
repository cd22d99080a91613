#include "PrintPreview.h"

#include "PagentResource.h"
#include "PrintAllJob.h"
#include "PrintLayout.h"
#include "PrintState.h"
#include "PrintText.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>

namespace pagent {

namespace {

// Window class of the previews and the label: no background of their own
// (they paint every pixel) and the arrow cursor.
LPCSTR PreviewClass()
{
    static LPCSTR name = nullptr;
    if (!name)
        name = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return name;
}

HCURSOR LibraryCursor(int id, LPCSTR fallback)
{
    HCURSOR cursor = ::LoadCursorA(g_libraryModule, MAKEINTRESOURCEA(id));
    return cursor ? cursor : ::LoadCursor(nullptr, fallback);
}

void FillColor(HDC dc, const RECT& rect, int sysColor)
{
    ::FillRect(dc, &rect, ::GetSysColorBrush(sysColor));
}

RECT ToRect(const Box& box)
{
    return RECT{box.left, box.top, box.right, box.bottom};
}

}  // namespace

void DrawFrame3D(HDC dc, int left, int top, int right, int bottom)
{
    auto line = [dc](int color, int x0, int y0, int x1, int y1) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(color));
        HGDIOBJ old = ::SelectObject(dc, pen);
        ::MoveToEx(dc, x0, y0, nullptr);
        ::LineTo(dc, x1, y1);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    };
    // Outer edges, then inner ones one pixel inside.
    line(COLOR_BTNSHADOW, left, bottom - 1, left, top);
    line(COLOR_BTNSHADOW, left, top, right, top);
    line(COLOR_BTNHIGHLIGHT, right - 1, top + 1, right - 1, bottom - 1);
    line(COLOR_BTNHIGHLIGHT, left, bottom - 1, right, bottom - 1);
    line(COLOR_WINDOWFRAME, left + 1, bottom - 2, left + 1, top + 1);
    line(COLOR_WINDOWFRAME, left + 1, top + 1, right - 1, top + 1);
    line(COLOR_BTNFACE, right - 2, top + 2, right - 2, bottom - 2);
    line(COLOR_BTNFACE, left + 1, bottom - 2, right - 1, bottom - 2);
}

// ---- The page count label ----

BOOL PageCountLabel::CreateChild(CWnd* parent)
{
    return CreateEx(0, PreviewClass(), "Page(s): 1", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, parent, 1001);
}

void PageCountLabel::SetCount(int pages)
{
    count_ = pages;
    char text[32];
    snprintf(text, sizeof text, "Page(s): %d", pages);
    if (m_hWnd) {
        SetWindowText(text);
        Invalidate(FALSE);
    }
}

LRESULT PageCountLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return CWnd::WindowProc(message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    FillColor(dc, client, COLOR_BTNFACE);
    char text[32];
    snprintf(text, sizeof text, "Page(s): %d", count_);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(dc, text, -1, &client, DT_CENTER | DT_TOP | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

// ---- Both previews ----

PreviewWindow::~PreviewWindow()
{
    if (printer_)
        ::DeleteDC(printer_);
}

bool PreviewWindow::CreatePrinterDC()
{
    if (printer_) {
        ::DeleteDC(printer_);
        printer_ = nullptr;
    }
    printer_ = CreateJobDC();
    if (!printer_) {
        ShowPrintMessage(IDS_NO_PRINTER);
        return false;
    }
    if (!TakesBitmapsOrRelease(printer_)) {
        printer_ = nullptr;
        return false;
    }
    const int w = ::GetDeviceCaps(printer_, HORZRES), h = ::GetDeviceCaps(printer_, VERTRES);
    short_ = std::max(1, std::min(w, h));
    long_ = std::max(1, std::max(w, h));
    return true;
}

BOOL PreviewWindow::CreateChild(CWnd* parent)
{
    return CreateEx(0, PreviewClass(), "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, parent, 1002);
}

void PreviewWindow::Measure()
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right;
    const int side = std::max(0, width - 4);
    depth_ = int(int64_t(side) * (long_ - short_) / long_);
    factor_ = std::max(1, long_ / std::max(1, width - 10));
}

void PreviewWindow::DrawPage(HDC dc)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    FillColor(dc, client, COLOR_BTNFACE);
    RECT page = client;
    if (Landscape()) {
        page.top = depth_;
    } else {
        page.left = depth_ / 2 + 1;
        page.right = client.right - (depth_ / 2 + 1);
    }
    ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    DrawFrame3D(dc, page.left, page.top, page.right, page.bottom);
    pageArea_ = Box{page.left + 3, page.top + 3, page.right - 3, page.bottom - 3};
}

void PreviewWindow::BeginPrinterMapping(HDC dc) const
{
    ::SaveDC(dc);
    ::SetMapMode(dc, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc, PrinterWidth(), PrinterHeight(), nullptr);
    ::SetViewportExtEx(dc, std::max(1, pageArea_.width()), std::max(1, pageArea_.height()), nullptr);
    ::SetViewportOrgEx(dc, pageArea_.left, pageArea_.top, nullptr);
    ::IntersectClipRect(dc, 0, 0, PrinterWidth(), PrinterHeight());
}

void PreviewWindow::EndPrinterMapping(HDC dc) const
{
    ::RestoreDC(dc, -1);
}

void PreviewWindow::DrawTexts(HDC dc)
{
    const int dpi = printer_ ? ::GetDeviceCaps(printer_, LOGPIXELSX) : 300;
    const TextPage page{PrinterWidth(), PrinterHeight(), dpi};
    BeginPrinterMapping(dc);
    headerDrawn_ = footerDrawn_ = RECT{};
    if (values_.page[PageOptions::kPrintHeader])
        headerDrawn_ = DrawHeader(dc, page, values_.texts);
    if (values_.page[PageOptions::kPrintFooter])
        footerDrawn_ = DrawFooter(dc, page, values_.texts);
    EndPrinterMapping(dc);
}

void PreviewWindow::InvalidatePrinterRect(const RECT& printerRect)
{
    if (!m_hWnd || printerRect.right <= printerRect.left)
        return;
    const int64_t pw = std::max(1, PrinterWidth()), ph = std::max(1, PrinterHeight());
    RECT rect{int(pageArea_.left + printerRect.left * pageArea_.width() / pw) - 1,
              int(pageArea_.top + printerRect.top * pageArea_.height() / ph) - 1,
              int(pageArea_.left + printerRect.right * pageArea_.width() / pw) + 2,
              int(pageArea_.top + printerRect.bottom * pageArea_.height() / ph) + 2};
    ::InvalidateRect(m_hWnd, &rect, FALSE);
}

void PreviewWindow::RepaintAll()
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// A header (footer) switched on or retyped may reach further than the one
// last drawn: the whole band along the page's top (bottom) is repainted.
void PreviewWindow::RepaintHeader()
{
    InvalidatePrinterRect(RECT{0, 0, PrinterWidth(), std::max(LONG(PrinterHeight() / 8), headerDrawn_.bottom)});
}

void PreviewWindow::RepaintFooter()
{
    const LONG top = footerDrawn_.bottom > footerDrawn_.top ? std::min(footerDrawn_.top, LONG(PrinterHeight() * 7 / 8))
                                                            : LONG(PrinterHeight() * 7 / 8);
    InvalidatePrinterRect(RECT{0, top, PrinterWidth(), PrinterHeight()});
}

void PreviewWindow::RepaintNote()
{
    RepaintAll();
}

LRESULT PreviewWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Measure();
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        Measure();
        DrawPage(dc);
        DrawContent(dc);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

// ---- The single-image preview ----

void PrintOnePreview::RepaintNoteArea()
{
    InvalidatePrinterRect(noteDrawn_);
    RepaintAll();
}

void PrintOnePreview::DrawFullScreenBox(HDC dc, const Box& image)
{
    RECT rect = ToRect(image), area = ToRect(pageArea_);
    if (!::IntersectRect(&rect, &rect, &area))
        return;
    FillColor(dc, rect, COLOR_BTNHIGHLIGHT);
    HPEN pen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(dc, "Full Screen Printing", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
}

void PrintOnePreview::DrawContent(HDC dc)
{
    const PrintState& state = State();
    const ImageRecord& record = state.current;
    const PageOptions& options = values_.page;
    const bool hasPixels = record.hBits != nullptr;
    const int width = hasPixels ? record.width : state.screenWidth;
    const int height = hasPixels ? record.height : state.screenHeight;
    const int scale = options[PageOptions::kScale];
    const Box image = PlaceInBox(pageArea_, state.alignBox, ScaledSide(width, scale, factor_),
                                 ScaledSide(height, scale, factor_));
    label_.SetCount(int(std::min<int64_t>(
        CountImagePages(width, height, scale, PrinterWidth() - 2 * kPageMargin, PrinterHeight() - 2 * kPageMargin),
        INT32_MAX)));
    if (!hasPixels) {
        DrawFullScreenBox(dc, image);
        return;
    }
    DrawRecordStretched(dc, record, image, options[PageOptions::kColorMode]);
    noteDrawn_ = RECT{};
    if (options[PageOptions::kPrintNote] && !values_.note.empty()) {
        // The image's place in printer units, as the job has it.
        const int64_t pw = PrinterWidth(), ph = PrinterHeight();
        const int64_t aw = std::max(1, pageArea_.width()), ah = std::max(1, pageArea_.height());
        const NotePlace at{int((image.left - pageArea_.left) * pw / aw), int((image.top - pageArea_.top) * ph / ah),
                           int(image.width() * pw / aw), int(image.height() * ph / ah)};
        const int dpi = printer_ ? ::GetDeviceCaps(printer_, LOGPIXELSX) : 300;
        BeginPrinterMapping(dc);
        noteDrawn_ = DrawNote(dc, TextPage{PrinterWidth(), PrinterHeight(), dpi}, values_.note, options, at);
        EndPrinterMapping(dc);
    }
    DrawTexts(dc);
}

// ---- The all-images preview ----

CellGrid XWndPrintAllPreview::Grid() const
{
    return PlanCellGrid(int(State().pageList.size()), values_.all[AllPageOptions::kColumns], pageArea_.width(),
                        pageArea_.height());
}

void XWndPrintAllPreview::DrawContent(HDC dc)
{
    const PrintState& state = State();
    const AllPageOptions& options = values_.all;
    const CellGrid grid = Grid();
    if (options[AllPageOptions::kShowGrid]) {
        HPEN pen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
        HGDIOBJ old = ::SelectObject(dc, pen);
        const int rop = ::SetROP2(dc, R2_NOT);
        for (int c = 1; c < grid.columns; ++c) {
            const int x = pageArea_.left + c * grid.cellWidth;
            ::MoveToEx(dc, x, pageArea_.top, nullptr);
            ::LineTo(dc, x, pageArea_.bottom);
        }
        for (int r = 1; r < grid.rows; ++r) {
            const int y = pageArea_.top + r * grid.cellHeight;
            ::MoveToEx(dc, pageArea_.left, y, nullptr);
            ::LineTo(dc, pageArea_.right, y);
        }
        ::SetROP2(dc, rop);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
    const int scale = options[AllPageOptions::kScale];
    Box last = pageArea_;
    last.right = last.left;
    last.bottom = last.top;
    for (size_t i = 0; i < state.pageList.size(); ++i) {
        const ImageRecord& record = *state.pageList[i];
        const Box cell = GridCell(grid, int(i), pageArea_.left, pageArea_.top);
        last = PlaceInBox(cell, state.alignBox, ScaledSide(record.width, scale, factor_),
                          ScaledSide(record.height, scale, factor_));
        DrawRecordStretched(dc, record, last, options[AllPageOptions::kColorMode]);
    }
    DrawTexts(dc);
    label_.SetCount(CountGridPages(last, pageArea_));
}

LRESULT XWndPrintAllPreview::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN) {
        Drag(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    }
    if (message == WM_CANCELMODE) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return 0;
    }
    if (message == WM_CAPTURECHANGED) {
        // Wakes a drag loop waiting for the mouse: it ends.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
        return 0;
    }
    return PreviewWindow::WindowProc(message, wParam, lParam);
}

void XWndPrintAllPreview::Drag(POINT start)
{
    const int n = int(State().pageList.size());
    const CellGrid grid = Grid();
    const int from = CellAt(grid, n, pageArea_.left, pageArea_.top, start.x, start.y);
    if (from < 0)
        return;
    HCURSOR overPage = LibraryCursor(96, IDC_SIZEALL), offPage = LibraryCursor(195, IDC_NO);
    RECT outline = ToRect(GridCell(grid, from, pageArea_.left, pageArea_.top));
    HDC dc = ::GetDC(m_hWnd);
    ::DrawFocusRect(dc, &outline);
    ::SetCapture(m_hWnd);
    ::SetCursor(overPage);
    POINT last = start;
    bool dropped = false;
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.hwnd == m_hWnd && msg.message == WM_MOUSEMOVE) {
            POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            ::DrawFocusRect(dc, &outline);
            ::OffsetRect(&outline, at.x - last.x, at.y - last.y);
            ::DrawFocusRect(dc, &outline);
            ::SetCursor(pageArea_.contains(at.x, at.y) ? overPage : offPage);
            last = at;
        } else if (msg.hwnd == m_hWnd && msg.message == WM_LBUTTONUP) {
            last = POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            dropped = true;
            break;
        } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        } else {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ::DrawFocusRect(dc, &outline);
    ::ReleaseDC(m_hWnd, dc);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    if (dropped)
        DropAt(from, last);
}

void XWndPrintAllPreview::DropAt(int from, POINT at)
{
    auto& list = State().pageList;
    bool changed = false;
    if (pageArea_.contains(at.x, at.y)) {
        const CellGrid grid = Grid();
        const int column = std::min(grid.columns - 1, int(at.x - pageArea_.left) / std::max(1, grid.cellWidth));
        const int row = int(at.y - pageArea_.top) / std::max(1, grid.cellHeight);
        changed = MoveListEntry(list, from, row * grid.columns + column);
    } else if (list.size() <= 1) {
        ShowPrintMessage(IDS_CANNOT_REMOVE);
    } else {
        const std::string caption = LoadLibraryString(IDS_PRINT_CAPTION);
        const std::string text = LoadLibraryString(IDS_REMOVE_IMAGE);
        if (::MessageBoxA(m_hWnd, text.c_str(), caption.c_str(), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK) {
            list.erase(list.begin() + from);
            changed = true;
        }
    }
    if (changed)
        RepaintAll();
}

}  // namespace pagent
