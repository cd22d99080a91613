// Device bitmaps of clipboard files through the screen (Windows), and the
// native stand-ins that have no screen.
#include "DeviceBitmap.h"

#ifdef _WIN32
#include "DibScreen.h"

int CurrentScreenDepth() { return ReadScreenDepth().depth; }

bool CreateScreenDibHeader(ImageRecord& record) { return CreateDibHeaderFromScreen(record, ReadScreenDepth()); }

bool ConvertDeviceBits(ImageRecord& record, int planes, int bitsPerPixel, const uint8_t* bits, size_t bytes) {
    HBITMAP bitmap = CreateBitmap(record.width, record.height, UINT(planes), UINT(bitsPerPixel), nullptr);
    if (!bitmap) return false;
    bool ok = SetBitmapBits(bitmap, DWORD(bytes), bits) != 0 && CreateDibHeaderFromScreen(record, ReadScreenDepth()) &&
              ConvertBitmapToDib(bitmap, record);
    DeleteObject(bitmap);
    return ok;
}
#else
int CurrentScreenDepth() { return 32; }

bool CreateScreenDibHeader(ImageRecord&) { return false; }

bool ConvertDeviceBits(ImageRecord&, int, int, const uint8_t*, size_t) { return false; }
#endif
