// Decoding of a PNG image's scanlines into a record's pixel block: the
// compressed stream is inflated one scanline at a time, unfiltered against
// the previous scanline of its pass and put at its place in the picture.
#pragma once

#include <cstddef>
#include <cstdint>

// What IHDR says, checked.
struct PngImageLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t colorType = 0;
    uint8_t depth = 0;     // bits per sample in the file
    int samples = 0;       // samples per pixel
    int recordBits = 0;    // bits per pixel of the record
    bool interlaced = false;
};

// Hands out the data of the IDAT chunks in file order.
class PngIdatSource {
public:
    virtual ~PngIdatSource() = default;
    // False when there is no further IDAT chunk.
    virtual bool next(const uint8_t** data, uint32_t* length) = 0;
};

struct PngDecodeResult {
    uint64_t scanlineBytes = 0;  // bytes the stream gave
    bool complete = false;       // every scanline came from the stream
};

// Bytes of the two scanline buffers DecodePngScanlines holds beside the
// pixel block.
uint64_t PngScanlineBufferBytes(const PngImageLayout& layout);

// Fills `bits` (bottom-up rows of `rowBytes`, zero on entry). Scanlines the
// stream does not reach stay zero. Throws CodecFailure: kErrPngCorrupt for a
// filter type above 4, kErrNoMemory when buffers cannot be had.
PngDecodeResult DecodePngScanlines(const PngImageLayout& layout, PngIdatSource& source, uint8_t* bits,
                                   uint32_t rowBytes);
