// The capture program prints through the print library: images become
// image records that share the images' blocks (the library copies the
// records and frees nothing), and every call names our settings section
// and file.
#include <windows.h>

#include "../../../framework/DocTemplate.h"
#include "../../../print/Pagent.h"
#include "../app/CaptureApp.h"
#include "../app/PrintCalls.h"
#include "DocumentOperationCalls.h"
#include "ImageDoc.h"
#include "Settings.h"

// The record of an image: its own fields and blocks, nothing copied.
void FillImageRecord(ImageRecord& record, const DisplayImage& image)
{
    record = ImageRecord{};
    record.width = image.width;
    record.height = image.height;
    record.bitCount = image.bitCount;
    record.hBits = image.hPixels;
    record.hInfo = image.hHeader;
    record.hDisplayBits = image.hDisplayPixels;
    record.hDisplayInfo = image.hDisplayHeader;
    record.hPalette = image.palette;
    record.hNote = image.hNote;
    record.noteLength = image.noteLength;
    record.fileTime = image.timeStamp;
    record.fileName = const_cast<char*>(image.name.GetString());
    record.error = 0;
}

namespace {

// A movable block of one record per open image document, in the template's
// order: each document's first image with the notepad's current text.
// The caller frees the block.
HGLOBAL CollectAllImages(int& count)
{
    count = 0;
    CDocTemplate* docTemplate = CaptureApp().imageTemplate;
    if (!docTemplate)
        return nullptr;
    for (POSITION position = docTemplate->GetFirstDocPosition(); position;) {
        XImageDoc* doc = DYNAMIC_DOWNCAST(XImageDoc, docTemplate->GetNextDoc(position));
        if (doc && doc->FirstImage())
            ++count;
    }
    if (count == 0)
        return nullptr;
    HGLOBAL block = ::GlobalAlloc(GHND, size_t(count) * sizeof(ImageRecord));
    auto* records = block ? static_cast<ImageRecord*>(::GlobalLock(block)) : nullptr;
    if (!records) {
        if (block)
            ::GlobalFree(block);
        count = 0;
        return nullptr;
    }
    int filled = 0;
    for (POSITION position = docTemplate->GetFirstDocPosition(); position && filled < count;) {
        XImageDoc* doc = DYNAMIC_DOWNCAST(XImageDoc, docTemplate->GetNextDoc(position));
        if (!doc || !doc->FirstImage())
            continue;
        doc->StoreNoteText();
        FillImageRecord(records[filled++], *doc->FirstImage());
    }
    ::GlobalUnlock(block);
    count = filled;
    return block;
}

}  // namespace

void PrintCurrentImage(int mode)
{
    if (!ImageToPrint)
        return;
    ImageRecord record;
    FillImageRecord(record, *ImageToPrint);
    PrintOneXImage(&record, ApplicationTitle, SettingsPath, mode == 1, 0);
}

void PrintAllImages()
{
    int count = 0;
    if (HGLOBAL block = CollectAllImages(count)) {
        PrintAllXImage(block, count, ApplicationTitle, SettingsPath, 0);
        ::GlobalFree(block);
    }
}

void PrintAllImagesOnOnePage()
{
    int count = 0;
    if (HGLOBAL block = CollectAllImages(count)) {
        PrintAllXImageOnePage(block, count, ApplicationTitle, SettingsPath, 0);
        ::GlobalFree(block);
    }
}

void ResetPrintLibrary() { ResetPrinter(); }

void RunPrinterSetup() { PrinterSetup(ApplicationTitle, SettingsPath); }
