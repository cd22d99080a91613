// Where a capture goes, in this order: the clipboard, a file, the printer,
// a new image window.
#include <ctime>

#include "../../../formats/Pictova.h"
#include "../../../framework/CString.h"
#include "AppServices.h"
#include "CaptureApp.h"
#include "CaptureFileNames.h"
#include "CapturePipeline.h"
#include "CaptureState.h"
#include "ClipboardImage.h"
#include "DocumentCalls.h"
#include "DocumentOperationCalls.h"
#include "ImageFileIO.h"
#include "MainFrame.h"
#include "Settings.h"
#include "WorkImage.h"

namespace {

enum FileNaming { kNumberedName = 0, kSaveAsDialog = 1, kTimeStampName = 2 };
enum { kImageInfoCommand = 32783 };

XMainFrame* MainFrame() { return DYNAMIC_DOWNCAST(XMainFrame, AfxGetMainWnd()); }

void BringMainFrameToFront()
{
    if (XMainFrame* frame = MainFrame())
        frame->BringToFront();
}

// The stored path renamed after the capture's day and time.
void StampCaptureFileName()
{
    const time_t now = static_cast<time_t>(WorkImage->timeStamp);
    if (const struct tm* local = localtime(&now))
        MakeTimeStampFileName(FileNameDirect, sizeof FileNameDirect, *local);
}

}  // namespace

void SendCaptureToClipboard()
{
    if (WorkImage->bitCount == 1)
        CopyMonoImageToClipboard(*WorkImage, MainFrameWindow());
    else
        CopyImageToClipboardDIB(*WorkImage, MainFrameWindow());
}

bool SaveCaptureAutomatically()
{
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (SendtoPage[kSendtoFileNaming] == kTimeStampName)
        StampCaptureFileName();
    const int32_t caption = WorkImage->status;
    ExportImageToFile(*WorkImage, FileNameDirect, Format[kFormatCaptureFile]);
    const int32_t error = WorkImage->status;
    WorkImage->status = caption;
    SetCursor(previous);
    if (error) {
        // Nothing was written: the number stays for the next try.
        DisplayFormatErrorMsg(error);
        return false;
    }
    WorkImage->name = FileNameDirect;
    if (SendtoPage[kSendtoFileNaming] == kNumberedName)
        IncrementFileNameNumber(FileNameDirect);
    return true;
}

void SendCaptureToFile()
{
    bool written;
    if (SendtoPage[kSendtoFileNaming] == kSaveAsDialog) {
        // The dialog names the capture file itself (FileNameDirect and its
        // format), which is then written as an automatic name would be.
        BringMainFrameToFront();
        written = RunCaptureFileSaveAsDialog() && SaveCaptureAutomatically();
    } else {
        written = SaveCaptureAutomatically();
    }
    // From now on the image is known by its file, but only when there is one.
    if (written)
        WorkImage->status = kStatusSavedByCapture;
}

void SendCaptureToPrinter()
{
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (!SendtoPage[kSendtoFile]) {
        CString caption;
        if (caption.LoadString(static_cast<UINT>(WorkImage->status)))
            WorkImage->name = caption;
    }
    ModalBusy = 1;
    ImageToPrint = WorkImage;
    PrintCurrentImage(SendtoPage[kSendtoPrintDialog] ? 1 : 2);
    ImageToPrint = nullptr;
    ModalBusy = 0;
    if (CurrentCapture.startWindow)
        SetForegroundWindow(CurrentCapture.startWindow);
}

void RaiseMainWindowAfterCapture()
{
    if (CapturePage[kCaptureRaiseMainWindow]) {
        if (XMainFrame* frame = MainFrame()) {
            frame->BringToFront();
            frame->MDICascade();
        }
    }
    if (CapturePage[kCaptureShowInfo])
        PostMessageA(MainFrameWindow(), WM_COMMAND, kImageInfoCommand, 0);
}

void SendCaptureToWindow()
{
    RaiseMainWindowAfterCapture();
    OpenWorkImageAsDocument();
}
