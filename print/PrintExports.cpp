// The six exports of the library.
#include "Pagent.h"

#include "PagentResource.h"
#include "PrintAllJob.h"
#include "PrintJob.h"
#include "PrintMeter.h"
#include "PrintSheets.h"
#include "PrintState.h"

namespace pagent {
namespace {

// Refuses a second export entered while one runs (the jobs pump messages).
class BusyScope {
public:
    BusyScope() : entered_(!State().busy) { State().busy = true; }
    ~BusyScope()
    {
        if (entered_)
            State().busy = false;
    }
    bool entered() const { return entered_; }

private:
    bool entered_;
};

// Runs the single-image job for the current record with the meter open.
void PrintCurrentWithMeter(int imageNumber)
{
    PrintMeterDialog meter;
    PrintImageJob(imageNumber);
    meter.Close();
}

}  // namespace
}  // namespace pagent

using namespace pagent;

PAGENT_API void __cdecl PrintOneXImage(const ImageRecord* record, const char* section, const char* settingsFile,
                                       int showOptions, unsigned char)
{
    BusyScope busy;
    if (!busy.entered() || !record || !BeginPrintCall(section, settingsFile))
        return;
    PrintState& state = State();
    state.sheetMode = 1;
    state.current = *record;
    state.recordCount = 1;
    if (!CurrentRecordIsPrintable())
        return;
    if (showOptions) {
        PrintOneSheet sheet(false);
        if (!sheet.CreatePreviewPrinter() || sheet.DoModal() != IDOK)
            return;
    }
    PrintCurrentWithMeter(0);
}

PAGENT_API void __cdecl PrintAllXImage(HGLOBAL records, int count, const char* section, const char* settingsFile,
                                       unsigned char)
{
    BusyScope busy;
    if (!busy.entered() || !records || count < 1 || !BeginPrintCall(section, settingsFile))
        return;
    // Never read past the caller's block.
    size_t held = ::GlobalSize(records) / sizeof(ImageRecord);
    if (size_t(count) > held)
        count = int(held);
    if (count < 1)
        return;
    PrintState& state = State();
    state.previewIndex = 0;
    state.sheetMode = 1;
    auto* list = static_cast<const ImageRecord*>(::GlobalLock(records));
    if (!list)
        return;
    state.callerBlock = records;
    state.recordCount = count;
    state.current = list[0];
    state.abort = false;
    bool confirmed = false;
    {
        PrintOneSheet sheet(true);
        confirmed = sheet.CreatePreviewPrinter() && sheet.DoModal() == IDOK;
    }
    if (confirmed) {
        PrintMeterDialog meter;
        for (int i = 0; i < count && !state.abort; ++i) {
            state.current = list[i];
            PrintImageJob(i + 1);
        }
        meter.Close();
    }
    state.callerBlock = nullptr;
    ::GlobalUnlock(records);
}

PAGENT_API void __cdecl PrintAllXImageOnePage(HGLOBAL records, int count, const char* section,
                                              const char* settingsFile, unsigned char)
{
    BusyScope busy;
    if (!busy.entered() || !BeginPrintCall(section, settingsFile))
        return;
    PrintState& state = State();
    state.sheetMode = 2;
    if (count > kMaxImagesOnPage) {
        ShowPrintMessage(IDS_TOO_MANY_IMAGES);
        return;
    }
    if (!records || count < 1)
        return;
    // Never read past the caller's block.
    const size_t held = ::GlobalSize(records) / sizeof(ImageRecord);
    if (size_t(count) > held)
        count = int(held);
    auto* list = static_cast<ImageRecord*>(::GlobalLock(records));
    if (!list || count < 1) {
        if (list)
            ::GlobalUnlock(records);
        return;
    }
    state.pageList.clear();
    for (int i = 0; i < count; ++i)
        state.pageList.push_back(&list[i]);
    state.recordCount = count;
    bool confirmed = false;
    {
        XPropertySheetPrintAll sheet(count);
        confirmed = sheet.CreatePreviewPrinter() && sheet.DoModal() == IDOK;
    }
    if (confirmed && !state.pageList.empty()) {
        PrintMeterDialog meter;
        PrintAllOnOnePageJob();
        meter.Close();
    }
    state.pageList.clear();
    ::GlobalUnlock(records);
}

PAGENT_API void __cdecl PrintXImageSetup(const char* section, const char* settingsFile)
{
    BusyScope busy;
    if (!busy.entered() || !BeginPrintCall(section, settingsFile))
        return;
    PrintState& state = State();
    state.sheetMode = 1;
    state.current = ImageRecord{};
    state.recordCount = 1;
    PrintOneSheet sheet(false);
    if (sheet.CreatePreviewPrinter())
        sheet.DoModal();
}

PAGENT_API void __cdecl PrinterSetup(const char* section, const char* settingsFile)
{
    BusyScope busy;
    if (!busy.entered() || !BeginPrintCall(section, settingsFile))
        return;
    RunPrinterSetup();
}

PAGENT_API void __cdecl ResetPrinter()
{
    ForgetCachedSection();
}
