#include "PrintAllJob.h"

#include "PrintJob.h"
#include "PrintLayout.h"
#include "PrintMeter.h"
#include "PrintState.h"
#include "PrintText.h"

namespace pagent {

namespace {

// The depth a display header block says, or 0 when it is too short.
int DisplayDepth(HGLOBAL info)
{
    if (!info || ::GlobalSize(info) < sizeof(DibHeader))
        return 0;
    Locked header(info);
    auto* dib = header.as<DibHeader>();
    return dib ? dib->bitCount : 0;
}

void PrintGridImages(HDC dc, const CellGrid& grid)
{
    PrintState& state = State();
    const AllPageOptions& options = state.settings.allPage;
    const int n = int(state.pageList.size());
    for (int i = 0; i < n; ++i) {
        ResetMeter();
        state.current = *state.pageList[size_t(i)];
        const Box cell = GridCell(grid, i, kPageMargin, kPageMargin);
        const int scale = options[AllPageOptions::kScale];
        const Box image = PlaceInBox(cell, options[AllPageOptions::kAlignBox],
                                     ScaledSide(state.current.width, scale), ScaledSide(state.current.height, scale));
        SetMeterPercent(int64_t(i) * 100, int64_t(n) * 100);
        if (state.abort)
            break;
        DrawRecordStretched(dc, state.current, image, options[AllPageOptions::kColorMode]);
    }
}

}  // namespace

ImageRecord PixelSourceOf(const ImageRecord& record)
{
    ImageRecord source = record;
    if (record.bitCount > 8 && State().screenBits < 15 && record.hDisplayBits && record.hDisplayInfo) {
        source.hBits = record.hDisplayBits;
        source.hInfo = record.hDisplayInfo;
        source.bitCount = uint16_t(DisplayDepth(record.hDisplayInfo));
    }
    return source;
}

void DrawRecordStretched(HDC dc, const ImageRecord& record, const Box& onto, int colorMode)
{
    const ImageRecord source = PixelSourceOf(record);
    if (!RecordIsPrintable(source) || onto.width() <= 0 || onto.height() <= 0)
        return;
    HGLOBAL header = MakeJobHeader(source, colorMode);
    if (!header)
        return;
    HPALETTE oldPalette = nullptr;
    if (record.hPalette) {
        oldPalette = ::SelectPalette(dc, record.hPalette, FALSE);
        ::RealizePalette(dc);
    }
    // Shrunk in a preview, pixels are picked rather than and-ed together.
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    {
        Locked info(header), pixels(source.hBits);
        if (info.as<BITMAPINFO>() && pixels.as<void>())
            ::StretchDIBits(dc, onto.left, onto.top, onto.width(), onto.height(), 0, 0, source.width, source.height,
                            pixels.as<void>(), info.as<BITMAPINFO>(), DIB_RGB_COLORS, SRCCOPY);
    }
    ::SetStretchBltMode(dc, oldMode);
    if (oldPalette)
        ::SelectPalette(dc, oldPalette, FALSE);
    ::GlobalFree(header);
}

namespace {

// One page of the grid with its header and footer; the page-end result.
int PrintGridPage(HDC dc, const CellGrid& grid)
{
    PrintState& state = State();
    if (::StartPage(dc) <= 0)
        return 0;
    PrintGridImages(dc, grid);
    // Header and footer are drawn even after Cancel: the page ends whole.
    if (state.settings.page[PageOptions::kPrintHeader])
        PrintHeader(dc);
    if (state.settings.page[PageOptions::kPrintFooter])
        PrintFooter(dc);
    const int ended = ::EndPage(dc);
    PumpMessages();
    return ended;
}

}  // namespace

void PrintAllOnOnePageJob()
{
    PrintState& state = State();
    const int n = int(state.pageList.size());
    if (n < 1)
        return;
    state.printTime = time(nullptr);
    const AllPageOptions& options = state.settings.allPage;
    SetOrientation(options[AllPageOptions::kOrientation] == 1);
    HDC dc = CreateJobDC();
    if (!dc || !TakesBitmapsOrRelease(dc))
        return;
    const CellGrid grid = PlanCellGrid(n, options[AllPageOptions::kColumns],
                                       ::GetDeviceCaps(dc, HORZRES) - 2 * kPageMargin,
                                       ::GetDeviceCaps(dc, VERTRES) - 2 * kPageMargin);
    const std::string documentName = DocumentName(state.section, "All Images");
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();
    if (::StartDocA(dc, &document) <= 0) {
        ::DeleteDC(dc);
        return;
    }
    const int passes = AskForCopies(dc, options[AllPageOptions::kCopies]);
    SetMeterLine(1, "Printing All Images on the");
    state.abort = false;
    int ended = 1;
    for (int pass = 0; pass < passes && ended > 0 && !state.abort; ++pass)
        ended = PrintGridPage(dc, grid);
    if (ended > 0 && state.abort) {
        ::AbortDoc(dc);
    } else if (ended > 0) {
        const int result = ::EndDoc(dc);
        if (result < 0)
            ReportPrintError(result);
    }
    ::DeleteDC(dc);
}

}  // namespace pagent
