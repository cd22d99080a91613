// The device bitmap a capture is assembled in: compatible with the display,
// selected into a memory device context while the capture kinds copy
// pieces of the screen into it, and handed to the work image at the end.
#pragma once

#include <windows.h>

class CaptureCanvas {
public:
    // A width by height bitmap; Valid() is false when the system cannot make
    // it (or the size is empty).
    CaptureCanvas(int width, int height);
    ~CaptureCanvas();
    CaptureCanvas(const CaptureCanvas&) = delete;
    CaptureCanvas& operator=(const CaptureCanvas&) = delete;

    bool Valid() const { return bitmap != nullptr; }
    HDC Dc() const { return memory; }
    int Width() const { return width; }
    int Height() const { return height; }

    void FillWhite();
    void FillWhite(const RECT& area);   // canvas coordinates
    // Copies the screen rectangle source to the canvas, placed relative to
    // origin (the screen point the canvas's top-left corner stands for).
    void CopyFromScreen(const RECT& source, POINT origin);
    // Deselects the bitmap and gives it to the work image with the size;
    // false when there is none.
    bool HandToWorkImage();

private:
    int width;
    int height;
    HDC screen = nullptr;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};
