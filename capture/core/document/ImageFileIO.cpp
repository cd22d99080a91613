#include "ImageFileIO.h"

#include "../../../formats/DibHelpers.h"
#include "../../../formats/Pictova.h"
#include "ColorOps.h"
#include "NoteSideFile.h"
#include "Settings.h"

namespace {

// Takes the blocks of a record the library filled; the record's other
// blocks (display copies, palette) are the library's business and are freed.
void TakeRecord(DisplayImage& image, ImageRecord& record)
{
    image.width = record.width;
    image.height = record.height;
    image.bitCount = record.bitCount;
    image.hPixels = record.hBits;
    image.hHeader = record.hInfo;
    image.status = record.error;
    AdoptNoteBlock(image, record.hNote);
    if (record.hDisplayBits)
        GlobalFree(record.hDisplayBits);
    if (record.hDisplayInfo)
        GlobalFree(record.hDisplayInfo);
}

// A reduction step into a new image; null when it built nothing.
DisplayImage* Reduced(void (*reduce)(DisplayImage&, const DisplayImage&), const DisplayImage& source)
{
    DisplayImage* result = new DisplayImage;
    reduce(*result, source);
    if (result->hPixels)
        return result;
    delete result;
    return nullptr;
}

}  // namespace

bool LoadImageFile(DisplayImage* image, const char* path)
{
    ImageRecord* returned = ImportImageFile(path);
    ImageRecord record = {};
    if (returned)
        record = *returned;
    else
        record.error = kErrCannotOpen;
    TakeRecord(*image, record);
    if (!image->hPixels && !image->status)
        image->status = kErrCannotOpen;
    if (image->status == 0 && !image->HasSoundBlocks())
        image->status = kErrNoMemory;
    if (image->status == 0 && !ConvertDeepImageTo24Bit(*image))
        image->status = kErrNoMemory;
    if (image->status != 0) {
        DisplayFormatErrorMsg(image->status);
        image->FreeBlocks();
        ClearNote(*image);
        return false;
    }
    return true;
}

DisplayImage* AutoReduceColors(const DisplayImage& image)
{
    DisplayImage* eight = nullptr;
    DisplayImage* four = nullptr;
    if (image.bitCount == 24) {
        eight = Reduced(ReduceColors24To8, image);
        if (!eight)
            return nullptr;
        four = Reduced(ReduceColors8To4, *eight);
        if (!four)
            return eight;
        delete eight;
    } else if (image.bitCount == 8) {
        four = Reduced(ReduceColors8To4, image);
        if (!four)
            return nullptr;
    } else {
        return nullptr;
    }
    DisplayImage* one = Reduced(ReduceColors4To1, *four);
    if (!one)
        return four;
    delete four;
    return one;
}

void ExportImageToFile(DisplayImage& image, const char* path, int formatIndex)
{
    DisplayImage* reduced = nullptr;
    if (Format[kFormatReduceOnSave] && formatIndex != kTypeJpg)
        reduced = AutoReduceColors(image);
    const DisplayImage& written = reduced ? *reduced : image;

    ImageRecord record = {};
    record.width = written.width;
    record.height = written.height;
    record.bitCount = written.bitCount;
    record.hBits = written.hPixels;
    record.hInfo = written.hHeader;
    record.hNote = image.hNote;
    record.noteLength = image.hNote ? image.noteLength : 0;
    record.error = 0;
    if (written.HasSoundBlocks())
        ExportImageFile(&record, path, formatIndex);
    else
        record.error = kErrNoMemory;
    image.status = record.error;
    delete reduced;
}

ExportOutcome ExportImageWithNote(DisplayImage& image)
{
    const int32_t oldStatus = image.status;
#ifdef _WIN32
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
#endif
    ExportImageToFile(image, FileNameSave, Format[kFormatSaveAs]);
#ifdef _WIN32
    SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
#endif
    if (image.status != 0) {
        DisplayFormatErrorMsg(image.status);
        image.status = oldStatus;   // still what it was: a file, a capture
        return kExportFailed;
    }
    if (Format[kFormatSaveAs] != kTypePng && !WriteNoteSideFile(image, FileNameSave))
        return kExportNoteNotWritten;
    return kExportWritten;
}
