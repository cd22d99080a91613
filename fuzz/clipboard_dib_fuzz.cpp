// libFuzzer target: a foreign clipboard bitmap block of arbitrary bytes. It
// is refused, or read into an image whose blocks are as large as its fields
// say; either way no block is left behind.
#include <cstdlib>
#include <cstring>

#include "capture/core/image/ClipboardImage.h"
#include "formats/DibHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t blocksBefore = KernelLiveBlockCount();
    HGLOBAL block = GlobalAlloc(GHND, size);
    if (!block)
        return 0;
    memcpy(GlobalLock(block), data, size);
    {
        DisplayImage image;
        bool read = ReadClipboardDib(image, block);
        if (read != (image.hPixels != 0) || (read && !image.HasSoundBlocks()))
            abort();
        if (read) {
            HGLOBAL copy = BuildClipboardDib(image);
            if (!copy)
                abort();
            GlobalFree(copy);
        }
    }
    GlobalFree(block);
    if (KernelLiveBlockCount() != blocksBefore)
        abort();
    return 0;
}
