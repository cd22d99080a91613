// After the pixels: the button frame, the frame and mat, the colour option.
// Each step builds its result in a scratch image, which the work image takes
// over when it has pixels.
#include "CaptureDispatch.h"
#include "CapturePipeline.h"
#include "CaptureState.h"
#include "ColorOps.h"
#include "DocumentOperationCalls.h"
#include "Settings.h"
#include "WorkImage.h"

namespace {

enum ColorOption { kKeepColors, kBlackAndWhite, kGrayscale, kInvert, kReduceColors };

// The work image takes the scratch image's pixels; the scratch image is
// left empty either way, so it can never free what the work image holds.
bool AdoptScratch(DisplayImage& scratch)
{
    if (!scratch.hPixels) {
        scratch.FreeBlocks();
        return false;
    }
    WorkImage->FreeBlocks();
    WorkImage->CopyAttributesFrom(scratch);
    scratch.Clear();
    return true;
}

// AddImageFrame with the frame settings given; the stored ones come back.
void FrameWorkImage(DisplayImage& scratch, int frameWidth, int matWidth, int frameColor)
{
    int saved[kFrameCount];
    for (int i = 0; i < kFrameCount; ++i)
        saved[i] = Frame[i];
    Frame[kFrameWidth] = frameWidth;
    Frame[kFrameMatWidth] = matWidth;
    Frame[kFrameColor] = frameColor;
    WorkImage->CreatePaletteFromColors();
    AddImageFrame(scratch, *WorkImage);
    WorkImage->palette.DeleteObject();
    for (int i = 0; i < kFrameCount; ++i)
        Frame[i] = saved[i];
}

void ApplyColorOption(DisplayImage& scratch, int option)
{
    switch (option) {
    case kBlackAndWhite: ConvertToBlackWhite(scratch, *WorkImage); break;
    case kGrayscale: ConvertToGrayscale(scratch, *WorkImage); break;
    case kInvert: InvertColors(scratch, *WorkImage); break;
    case kReduceColors:
        if (WorkImage->bitCount == 8)
            ReduceColors8To4(scratch, *WorkImage);
        else if (WorkImage->bitCount == 24)
            ReduceColors24To8(scratch, *WorkImage);
        break;
    default: break;
    }
}

}  // namespace

void PostProcessCapture()
{
    DisplayImage scratch;
    const int type = CurrentCapture.type;
    if ((type == kCaptureButton || type == kCaptureButtonPicked) && ButtonPage[kButtonAddFrame]) {
        FrameWorkImage(scratch, 1, 0, 0);
        if (AdoptScratch(scratch))
            WorkImage->status = kCaptionButton;
    }
    if (CapturePage[kCaptureAddFrame]) {
        FrameWorkImage(scratch, Frame[kFrameWidth], Frame[kFrameMatWidth], Frame[kFrameColor]);
        AdoptScratch(scratch);   // titled by the frame operation
    }
    if (CapturePage[kCaptureColorOption] != kKeepColors) {
        // Only the pixels change: the capture keeps its caption and time.
        const int32_t status = WorkImage->status, timeStamp = WorkImage->timeStamp;
        ApplyColorOption(scratch, CapturePage[kCaptureColorOption]);
        if (AdoptScratch(scratch)) {
            WorkImage->status = status;
            WorkImage->timeStamp = timeStamp;
        }
    }
}
