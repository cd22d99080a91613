#include "PrintJob.h"

#include "PagentResource.h"
#include "PrintLayout.h"
#include "PrintMeter.h"
#include "PrintState.h"
#include "PrintText.h"

#include <cstdio>

namespace pagent {

// The job's own copy of the record's header block with a clean 40-byte
// header; the caller's block is never written. Grayscale and black and
// white rework the copy's colour table.
HGLOBAL MakeJobHeader(const ImageRecord& record, int colorMode)
{
    const int bits = record.bitCount;
    HGLOBAL copy = DuplicateGlobalBlock(record.hInfo, GetDibHeaderSize(bits));
    Locked header(copy);
    auto* info = header.as<DibHeader>();
    if (!info) {
        if (copy)
            ::GlobalFree(copy);
        return nullptr;
    }
    *info = DibHeader{};
    info->size = sizeof(DibHeader);
    info->width = record.width;
    info->height = record.height;
    info->planes = 1;
    info->bitCount = uint16_t(bits);
    auto* table = reinterpret_cast<DibColor*>(info + 1);
    const uint32_t entries = GetPaletteEntryCount(bits);
    if (colorMode == kGrayscale)
        MakeGrayColorTable(table, entries);
    else if (colorMode == kBlackWhite && bits != 1)
        MakeBlackWhiteColorTable(table, entries);
    return copy;
}

namespace {

void PrintBand(HDC dc, int x, int y, const PageTile& tile, HGLOBAL header)
{
    PrintState& state = State();
    const ImageRecord& record = state.current;
    const int bits = record.bitCount;
    const int scale = state.settings.page[PageOptions::kScale];
    std::vector<BandStrip> strips = PlanBandStrips(tile.sourceX, tile.width, tile.rows, bits);
    HGLOBAL buffer = ::GlobalAlloc(GHND, BandBufferBytes(strips, bits));
    if (!buffer)
        return;
    {
        Locked band(buffer), info(header), pixels(record.hBits);
        auto* bitmap = info.as<BITMAPINFO>();
        if (band.as<uint8_t>() && bitmap && pixels.as<uint8_t>()) {
            for (const BandStrip& strip : strips) {
                if (state.abort)
                    break;
                bitmap->bmiHeader.biWidth = strip.width;
                bitmap->bmiHeader.biHeight = strip.rows;
                bitmap->bmiHeader.biSizeImage = 0;
                int firstStored = tile.storedRow + tile.rows - strip.rowFromTop - strip.rows;
                CopyBandRows(band.as<uint8_t>(), pixels.as<uint8_t>(), record.width, bits, strip.sourceX, firstStored,
                             strip.width, strip.rows);
                AdvanceMeter(strip.width, strip.rows);
                if (state.abort)
                    break;
                ::StretchDIBits(dc, x + strip.offsetX * scale, y + strip.rowFromTop * scale, strip.width * scale,
                                strip.rows * scale, 0, 0, strip.width, strip.rows, band.as<uint8_t>(), bitmap,
                                DIB_RGB_COLORS, SRCCOPY);
            }
            bitmap->bmiHeader.biWidth = record.width;
            bitmap->bmiHeader.biHeight = record.height;
        }
    }
    ::GlobalFree(buffer);
}

std::string PageLine(int page, int64_t total, int imageNumber)
{
    char text[96];
    if (imageNumber == 0)
        snprintf(text, sizeof text, "Page %d of %lld", page, static_cast<long long>(total));
    else
        snprintf(text, sizeof text, "Page %d of %lld, Image %d of %d", page, static_cast<long long>(total),
                 imageNumber, State().recordCount);
    return text;
}

// All pages of the job; 1 when done (also after Cancel), else the failing
// page result.
int PrintImagePages(HDC dc, int imageNumber)
{
    PrintState& state = State();
    const ImageRecord& record = state.current;
    const PageOptions& options = state.settings.page;
    const int scale = options[PageOptions::kScale];
    HGLOBAL header = MakeJobHeader(record, options[PageOptions::kColorMode]);
    if (!header)
        return 1;
    const int64_t pw = int64_t(scale) * record.width, ph = int64_t(scale) * record.height;
    const int w = ::GetDeviceCaps(dc, HORZRES) - 2 * kPageMargin;
    const int h = ::GetDeviceCaps(dc, VERTRES) - 2 * kPageMargin;
    const Point at = GetAlignmentOffset(options[PageOptions::kAlignBox], pw, ph, w, h);
    const PagePlan plan = PlanPages(record.width, record.height, scale, w, h);
    const int64_t total = plan.total();
    if (total > INT32_MAX) {
        ::GlobalFree(header);
        return 1;
    }
    int result = 1;
    for (int64_t i = 0; i < total && !state.abort; ++i) {
        PageTile tile = GetPageTile(plan, record.width, record.height, int(i));
        SetMeterLine(3, PageLine(tile.number, total, imageNumber));
        if (::StartPage(dc) <= 0) {
            result = 0;
            break;
        }
        PrintBand(dc, at.x, at.y, tile, header);
        if (total == 1 && !state.abort) {
            if (options[PageOptions::kPrintHeader])
                PrintHeader(dc);
            if (options[PageOptions::kPrintFooter])
                PrintFooter(dc);
            if (options[PageOptions::kPrintNote])
                PrintNotepad(dc, w, h, int(pw), int(ph), at.x, at.y);
        }
        int ended = ::EndPage(dc);
        PumpMessages();
        if (ended <= 0) {
            result = ended;
            break;
        }
    }
    ::GlobalFree(header);
    return result;
}

}  // namespace

int AskForCopies(HDC dc, int copies)
{
    int made = 0;
    int asked = ::Escape(dc, SETCOPYCOUNT, sizeof copies, reinterpret_cast<LPCSTR>(&copies), &made);
    if (asked <= 0)
        return copies;
    if (made < 1 || made >= copies)
        return 1;
    return (copies + made - 1) / made;
}

void SetOrientation(bool landscape)
{
    PrintState& state = State();
    Locked locked(state.devMode);
    if (auto* mode = locked.as<DEVMODEA>()) {
        mode->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        mode->dmFields |= DM_ORIENTATION;
    }
}

bool CurrentRecordIsPrintable()
{
    return RecordIsPrintable(State().current);
}

bool RecordIsPrintable(const ImageRecord& record)
{
    uint64_t bytes = ImagePixelBytes(record.width, record.height, record.bitCount);
    if (!bytes || !record.hBits || ::GlobalSize(record.hBits) < bytes)
        return false;
    uint32_t table = GetDibHeaderSize(record.bitCount) - sizeof(DibHeader);
    return table == 0 || (record.hInfo && ::GlobalSize(record.hInfo) >= GetDibHeaderSize(record.bitCount));
}

void ReportPrintError(int result)
{
    switch (result) {
    case SP_ERROR: ShowPrintMessage(IDS_PRINT_ERROR); break;
    case SP_OUTOFDISK: ShowPrintMessage(IDS_OUT_OF_DISK); break;
    case SP_OUTOFMEMORY: ShowPrintMessage(IDS_OUT_OF_MEMORY); break;
    default: break;
    }
}

void PrintImageJob(int imageNumber)
{
    PrintState& state = State();
    state.printTime = time(nullptr);
    if (!CurrentRecordIsPrintable())
        return;
    SetOrientation(state.settings.page[PageOptions::kOrientation] == 1);
    HDC dc = CreateJobDC();
    if (!dc || !TakesBitmapsOrRelease(dc))
        return;
    const std::string fileName = CurrentFileName();
    const std::string documentName = DocumentName(state.section, fileName);
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();
    if (::StartDocA(dc, &document) <= 0) {
        ::DeleteDC(dc);
        return;
    }
    const int passes = AskForCopies(dc, state.settings.page[PageOptions::kCopies]);
    SetMeterLine(1, PrintingLine(fileName));
    state.abort = false;
    int result = 1;
    for (int pass = 0; pass < passes && result > 0 && !state.abort; ++pass) {
        ResetMeter();
        result = PrintImagePages(dc, imageNumber);
    }
    if (state.abort || result == 0) {
        ::AbortDoc(dc);
    } else {
        int ended = ::EndDoc(dc);
        if (ended < 0)
            ReportPrintError(ended);
    }
    ::DeleteDC(dc);
}

}  // namespace pagent
