// CaptureNow: the one road of every capture, from the screen pixels to the
// destinations.
#include "CaptureEngine.h"

#include <ctime>

#include "AppServices.h"
#include "CaptureCanvas.h"
#include "CaptureDispatch.h"
#include "CaptureFeedback.h"
#include "CapturePipeline.h"
#include "CapturePointer.h"
#include "CaptureState.h"
#include "Settings.h"
#include "WorkImage.h"

namespace {

// The pixels of the current capture type into the work image's bitmap;
// types 11 and 12 (and a window picked with the mouse) come with theirs.
void CapturePixels()
{
    switch (CurrentCapture.type) {
    case kCaptureScreen:
    case kCaptureRegion:
    case kCaptureButton:
    case kCaptureButtonPicked:
        CaptureScreenRectangle();
        break;
    case kCaptureWindow:
        if (!WindowPage[kWindowSelectWithMouse] || !WorkImage->bitmap.GetSafeHandle())
            CaptureWindowRectangle();
        break;
    case kCaptureTitleMenu:
        if (TitleMenuCompositeWanted())
            CaptureTitleMenuComposite();
        else
            CaptureScreenRectangle();
        break;
    case kCaptureFreehand:
        CaptureFreehand();
        break;
    case kCapturePointer:
        CapturePointer();
        break;
    default:
        break;
    }
}

// Sound and flash while the screen still shows what was taken, then the
// bitmap becomes the work image's device-independent pixels.
void ConvertCapturedBitmap()
{
    PlayCaptureSound(NotifyPage[kNotifySound]);
    AnimateCaptureFeedback(NotifyPage[kNotifyFlash]);
    if (WorkImage->CreateCaptureHeader())
        WorkImage->ConvertBitmapToDib();
    WorkImage->bitmap.DeleteObject();
}

void EndCapture()
{
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    DecorationsSuspended = 0;
    CaptureRunning = 0;
}

// The work image is reused by the next capture: nothing of this one stays.
void ReleaseWorkImagePixels()
{
    WorkImage->FreeBlocks();
    WorkImage->palette.DeleteObject();
}

}  // namespace

void CaptureNow()
{
    CaptureRunning = 1;
    WorkImage->bitCount = static_cast<uint16_t>(ScreenDepth);
    WorkImage->timeStamp = static_cast<int32_t>(time(nullptr));
    CapturePixels();
    SetCursor(LoadCursor(nullptr, IDC_WAIT));

    const bool captured = WorkImage->bitmap.GetSafeHandle() != nullptr;
    if (captured)
        ConvertCapturedBitmap();
    if (!WorkImage->hPixels) {
        ReleaseWorkImagePixels();
        EndCapture();
        // A capture of nothing (an empty rectangle, an abandoned trace) is
        // no memory shortage.
        if (captured || !IsRectEmpty(&CurrentCapture.rectangle))
            ShowStringMessage(kStatusNoMemory);
        return;
    }
    PostProcessCapture();

    if (SendtoPage[kSendtoClipboard])
        SendCaptureToClipboard();
    if (SendtoPage[kSendtoFile])
        SendCaptureToFile();
    if (SendtoPage[kSendtoPrinter])
        SendCaptureToPrinter();
    if (SendtoPage[kSendtoWindow])
        SendCaptureToWindow();
    else
        ReleaseWorkImagePixels();
    EndCapture();
}

void CaptureScreenRectangle()
{
    const RECT rect = CurrentCapture.rectangle;
    CaptureCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    if (!canvas.Valid())
        return;
    canvas.CopyFromScreen(rect, POINT{rect.left, rect.top});
    DrawPointerIntoCapture(canvas.Dc());
    canvas.HandToWorkImage();
}
