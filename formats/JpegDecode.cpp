// Baseline JPEG reader: the marker scan, the checks before decoding, and the
// decoding of the first scan into a grey 8-bit or a 24-bit pixel block.
#include <cstring>
#include <memory>

#include "Codecs.h"
#include "DibHelpers.h"
#include "JpegDct.h"
#include "JpegDecodeLoops.h"
#include "JpegHuffman.h"
#include "JpegTables.h"

namespace {

constexpr int kMaxWidth = 4047;
constexpr int kMaxHeight = 32767;
constexpr int kMaxBlocksPerMcu = 10;

struct FrameComponent {
    int id = 0;
    int h = 0, v = 0;  // sampling factors
    int quant = 0;     // quantisation table number
    int dc = -1, ac = -1;
};

struct JpegHeaders {
    int frameType = -1;
    int precision = 0;
    int width = 0, height = 0;
    int count = 0;
    FrameComponent components[3];
    bool quantPresent[4] = {};
    uint16_t quant[4][64] = {};  // natural order
    bool dcPresent[4] = {}, acPresent[4] = {};
    HuffmanDecoder dc[4], ac[4];
    int restartInterval = 0;
    int adobeTransform = -1;  // colour transform of an Adobe segment, -1 without one
    size_t scanStart = 0;
};

// Three components are red, green and blue rather than YCbCr when an Adobe
// segment says so (transform 0) or, without one, when they are named 'R',
// 'G' and 'B'.
bool StoredAsRgb(const JpegHeaders& h) {
    if (h.count != 3) return false;
    if (h.adobeTransform >= 0) return h.adobeTransform == 0;
    return h.components[0].id == 'R' && h.components[1].id == 'G' && h.components[2].id == 'B';
}

void ReadFrameHeader(ByteView& segment, JpegHeaders& h) {
    h.frameType = 0;
    h.precision = segment.u8();
    h.height = segment.u16be();
    h.width = segment.u16be();
    h.count = segment.u8();
    if (h.count != 1 && h.count != 3) Fail(kErrJpg);
    for (int i = 0; i < h.count; ++i) {
        FrameComponent& c = h.components[i];
        c.id = segment.u8();
        uint8_t sampling = segment.u8();
        c.h = sampling >> 4;
        c.v = sampling & 15;
        c.quant = segment.u8();
        c.dc = c.ac = -1;
        if (c.quant > 3 || c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) Fail(kErrJpg);
    }
}

void ReadHuffmanTables(ByteView& segment, JpegHeaders& h) {
    while (!segment.atEnd()) {
        uint8_t classAndNumber = segment.u8();
        int tableClass = classAndNumber >> 4, number = classAndNumber & 15;
        if (tableClass > 1 || number > 3) Fail(kErrJpg);
        HuffmanSpec codeSet = {};
        segment.read(codeSet.counts, 16);
        for (uint8_t count : codeSet.counts) codeSet.symbolCount += count;
        if (codeSet.symbolCount > 256) Fail(kErrJpg);
        segment.read(codeSet.symbols, codeSet.symbolCount);
        HuffmanDecoder& table = tableClass == 0 ? h.dc[number] : h.ac[number];
        if (!table.build(codeSet)) Fail(kErrJpg);
        (tableClass == 0 ? h.dcPresent : h.acPresent)[number] = true;
    }
}

void ReadQuantTables(ByteView& segment, JpegHeaders& h) {
    while (!segment.atEnd()) {
        uint8_t precisionAndNumber = segment.u8();
        int precision = precisionAndNumber >> 4, number = precisionAndNumber & 15;
        if (precision > 1 || number > 3) Fail(kErrJpg);
        for (int i = 0; i < 64; ++i)
            h.quant[number][kZigZag[i]] = precision ? segment.u16be() : segment.u8();
        h.quantPresent[number] = true;
    }
}

// Scan components are matched to frame components by identifier; every
// frame component must be in the scan once, since later scans are not read.
void ReadScanHeader(ByteView& segment, JpegHeaders& h) {
    if (h.frameType != 0) Fail(kErrJpg);
    int count = segment.u8();
    if (count != h.count) Fail(kErrJpg);
    for (int i = 0; i < count; ++i) {
        int selector = segment.u8();
        uint8_t tables = segment.u8();
        FrameComponent* match = nullptr;
        for (int c = 0; c < h.count; ++c)
            if (h.components[c].id == selector) match = &h.components[c];
        if (!match || match->dc >= 0) Fail(kErrJpg);
        match->dc = tables >> 4;
        match->ac = tables & 15;
        if (match->dc > 3 || match->ac > 3) Fail(kErrJpg);
    }
    segment.skip(3);  // spectral selection and approximation: baseline values
}

void ReadSegment(int marker, ByteView& segment, JpegHeaders& h) {
    switch (marker) {
    case 0xC0: ReadFrameHeader(segment, h); break;
    case 0xC4: ReadHuffmanTables(segment, h); break;
    case 0xDB: ReadQuantTables(segment, h); break;
    case 0xDD: h.restartInterval = segment.u16be(); break;
    case 0xE0:
        if (segment.size() < 4 || memcmp(segment.data(), "JFIF", 4) != 0) Fail(kErrJpg);
        break;
    case 0xDA: ReadScanHeader(segment, h); break;
    case 0xEE:
        if (segment.size() >= 12 && memcmp(segment.data(), "Adobe", 5) == 0) h.adobeTransform = segment.data()[11];
        break;
    default: break;  // other frames, application segments, comments
    }
}

// Walks the markers up to the first start-of-scan.
void ScanMarkers(ByteView& file, JpegHeaders& h) {
    bool first = true;
    for (;;) {
        while (file.u8() != 0xFF) {
        }
        uint8_t marker = file.u8();
        if (marker == 0xFF) {  // a fill byte: the marker may start at the next
            file.seek(file.pos() - 1);
            continue;
        }
        if (first && marker != 0xD8) Fail(kErrJpg);
        first = false;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;
        if (marker == 0xD9) Fail(kErrJpg);  // end of image before any scan
        uint16_t length = file.u16be();
        if (length < 2) Fail(kErrJpg);
        ByteView segment(file.take(length - 2u), length - 2u, kErrJpg);
        ReadSegment(marker, segment, h);
        if (marker == 0xDA) {
            h.scanStart = file.pos();
            return;
        }
    }
}

void CheckHeaders(const JpegHeaders& h) {
    bool ok = h.frameType == 0 && h.width >= 1 && h.width <= kMaxWidth && h.height >= 1 && h.height <= kMaxHeight &&
              (h.count == 1 || h.count == 3) && h.precision == 8;
    if (!ok) Fail(kErrJpg);
    int blocks = 0;
    for (int i = 0; i < h.count; ++i) {
        const FrameComponent& c = h.components[i];
        blocks += c.h * c.v;
        if (!h.quantPresent[c.quant] || c.dc < 0 || !h.dcPresent[c.dc] || !h.acPresent[c.ac]) Fail(kErrJpg);
    }
    if (h.count > 1 && blocks > kMaxBlocksPerMcu) Fail(kErrJpg);
}

// One component as the decoder walks it.
struct DecodeComponent {
    const HuffmanDecoder* dc;
    const HuffmanDecoder* ac;
    float scale[64];     // quantisation step times transform scaling, natural order
    int h, v;            // blocks per MCU across and down
    int32_t prediction;
    uint8_t* samples;  // one row of MCUs
    int stride;
};


// Impossible entropy data abandons the file, unless it is only the zero
// bits supplied past the end of the data.
inline void CheckPastData(const JpegBitReader& bits) {
    if (!bits.pastData()) Fail(kErrJpg);
}

// All 64 coefficients back to zero in sixteen wide stores: fewer
// instructions than clearing the ones set, one by one, in most blocks (and
// no string instruction, which the 32-bit build would make of a memset).
inline void ClearBlock(float* block) {
#if JPEG_HAVE_SSE2
    for (int i = 0; i < 64; i += 4) _mm_store_ps(block + i, _mm_setzero_ps());
#else
    memset(block, 0, 64 * sizeof(float));
#endif
}

// Decodes one block into `block` (all zero on entry); returns how many AC
// coefficients it sets.
int DecodeBlock(JpegBitReader& bits, DecodeComponent& c, float* block) {
    int category = bits.decode(*c.dc);
    if (category < 0 || category > 11) {
        CheckPastData(bits);
        return 0;
    }
    int32_t diff = category ? ExtendSign(bits.take(category), category) : 0;
    int32_t dc = c.prediction + diff;
    c.prediction = dc < -32767 ? -32767 : dc > 32767 ? 32767 : dc;
    block[0] = static_cast<float>(c.prediction) * c.scale[0];

    int count = 0;
    for (int k = 1; k < 64;) {
        int32_t fast = bits.fastAc(*c.ac);
        if (fast) {
            k += (fast >> 4) & 15;
            bits.consume(fast & 15);
            if (k > 63) {
                CheckPastData(bits);
                return count;
            }
            int n = kZigZag[k++];
            block[n] = static_cast<float>(fast >> 8) * c.scale[n];
            ++count;
            continue;
        }
        int symbol = bits.decode(*c.ac);
        if (symbol < 0) {
            CheckPastData(bits);
            return count;
        }
        int run = symbol >> 4, size = symbol & 15;
        if (size == 0) {
            if (run != 15) break;  // end of block
            k += 16;
            if (k > 64) {
                CheckPastData(bits);
                return count;
            }
            continue;
        }
        k += run;
        if (k > 63) {
            CheckPastData(bits);
            return count;
        }
        int n = kZigZag[k++];
        block[n] = static_cast<float>(ExtendSign(bits.take(size), size)) * c.scale[n];
        ++count;
    }
    return count;
}

class Decoder {
public:
    Decoder(const JpegHeaders& h, const ByteView& file, uint8_t* bits, uint32_t rowBytes)
        : h_(h), reader_(file.data() + h.scanStart, file.data() + file.size()), bits_(bits), rowBytes_(rowBytes) {
        JpegForm form = CurrentJpegForm();
        inverse_ = ChooseInverseDct(form);
        // A single component is coded without interleaving: one block per MCU.
        for (int i = 0; i < h.count; ++i) {
            const FrameComponent& f = h.components[i];
            DecodeComponent& c = components_[i];
            c.dc = &h.dc[f.dc];
            c.ac = &h.ac[f.ac];
            for (int k = 0; k < 64; ++k) c.scale[k] = h.quant[f.quant][k] * InverseDctScale(k);
            c.h = h.count == 1 ? 1 : f.h;
            c.v = h.count == 1 ? 1 : f.v;
            c.prediction = 0;
            if (c.h > maxH_) maxH_ = c.h;
            if (c.v > maxV_) maxV_ = c.v;
        }
        mcuWidth_ = 8 * maxH_;
        mcuHeight_ = 8 * maxV_;
        mcusAcross_ = (h.width + mcuWidth_ - 1) / mcuWidth_;
        mcusDown_ = (h.height + mcuHeight_ - 1) / mcuHeight_;
        colour_ = ChooseColourConverter(form, maxH_ == 2);
        // The samples of one row of MCUs, every component, so that the
        // colour conversion runs along whole rows of pixels; the converters
        // may read a group of pixels past the last.
        size_t rowSamples = 2 * kMaxColourGroup;
        for (int i = 0; i < h.count; ++i) {
            DecodeComponent& c = components_[i];
            c.stride = mcusAcross_ * 8 * c.h;
            rowSamples += size_t(c.stride) * 8 * c.v;
        }
        samples_.reset(new uint8_t[rowSamples]());
        uint8_t* next = samples_.get();
        for (int i = 0; i < h.count; ++i) {
            components_[i].samples = next;
            next += size_t(components_[i].stride) * 8 * components_[i].v;
        }
    }

    void run() {
        int interval = h_.restartInterval;
        bool ended = false;
        long mcu = 0;
        for (int row = 0; row < mcusDown_; ++row) {
            for (int column = 0; column < mcusAcross_; ++column, ++mcu) {
                if (interval && mcu > 0 && mcu % interval == 0) {
                    if (!restart()) Fail(kErrJpg);  // the data ends before the picture
                    ended = false;
                }
                decodeMcu(column, ended);
                // Running out of data abandons the file; an interval that runs
                // into its restart marker early is damaged and stays grey up to
                // that marker.
                if (reader_.exhausted()) {
                    if (!reader_.stoppedAtRestartMarker()) Fail(kErrJpg);
                    ended = true;
                }
            }
            storeMcuRow(row * mcuHeight_);
        }
    }

private:
    // Steps over the restart marker and resets the predictions; false when
    // the data ends (another marker, or the file) instead.
    bool restart() {
        int marker = reader_.nextMarker();
        for (int i = 0; i < h_.count; ++i) components_[i].prediction = 0;
        return marker >= 0xD0 && marker <= 0xD7;
    }

    // Past the end of the data every block is left without coefficients,
    // which gives mid grey.
    void decodeMcu(int column, bool ended) {
        for (int i = 0; i < h_.count; ++i) {
            DecodeComponent& c = components_[i];
            for (int by = 0; by < c.v; ++by) {
                for (int bx = 0; bx < c.h; ++bx) {
                    uint8_t* out = c.samples + by * 8 * c.stride + (column * c.h + bx) * 8;
                    int count = ended ? 0 : DecodeBlock(reader_, c, block_);
                    if (count > 0) {
                        inverse_(block_, out, c.stride);
                        ClearBlock(block_);
                    } else {
                        FillFlatBlock(block_[0], out, c.stride);
                        block_[0] = 0;
                    }
                }
            }
        }
    }

    uint8_t* rowAt(int y) const { return bits_ + static_cast<size_t>(h_.height - 1 - y) * rowBytes_; }

    // The row of MCUs starting at picture row y0, cut at the bottom edge.
    void storeMcuRow(int y0) {
        const int width = h_.width;
        int height = h_.height - y0 < mcuHeight_ ? h_.height - y0 : mcuHeight_;
        if (h_.count == 1) {
            for (int y = 0; y < height; ++y)
                memcpy(rowAt(y0 + y), components_[0].samples + y * components_[0].stride, width);
            return;
        }
        if (rgb_) return storeRgb(y0, width, height);
        const DecodeComponent& cb = components_[1];
        const DecodeComponent& cr = components_[2];
        if (components_[0].h == maxH_ && components_[0].v == maxV_ && cb.h == 1 && cb.v == 1 && cr.h == 1 &&
            cr.v == 1 && maxH_ <= 2 && maxV_ <= maxH_)
            return storeColour(y0, width, height);
        storeAnyColour(y0, width, height);
    }

    // Full-resolution luminance with chrominance halved across, or across
    // and down, or not at all: whole rows at a time, two rows to a row of
    // chrominance when it is halved down.
    void storeColour(int y0, int width, int height) {
        const DecodeComponent& lum = components_[0];
        const DecodeComponent& cb = components_[1];
        const DecodeComponent& cr = components_[2];
        const int wide = (width - 1) / colour_.group * colour_.group;  // leaves room for the overwrite
        for (int y = 0; y < height; y += maxV_) {
            ColourRows rows;
            rows.count = height - y < maxV_ ? height - y : maxV_;
            rows.cb = cb.samples + (y / maxV_) * cb.stride;
            rows.cr = cr.samples + (y / maxV_) * cr.stride;
            for (int r = 0; r < rows.count; ++r) {
                rows.lum[r] = lum.samples + (y + r) * lum.stride;
                rows.out[r] = rowAt(y0 + y + r);
            }
            colour_.convert(rows, wide);
            storeColourTail(rows, wide, width - wide);
        }
    }

    // The last pixels of the rows from x on: a whole group converted into a
    // buffer, and as much of it as the rows hold copied out.
    void storeColourTail(const ColourRows& rows, int x, int pixels) {
        uint8_t buffer[2][3 * kMaxColourGroup + 2];
        ColourRows tail = rows;
        tail.cb += x / maxH_;
        tail.cr += x / maxH_;
        for (int r = 0; r < rows.count; ++r) {
            tail.lum[r] += x;
            tail.out[r] = buffer[r];
        }
        colour_.convert(tail, colour_.group);
        for (int r = 0; r < rows.count; ++r) memcpy(rows.out[r] + 3 * x, buffer[r], 3 * size_t(pixels));
    }

    // Any other sampling: each sample repeated over the pixels it covers.
    void storeAnyColour(int y0, int width, int height) {
        for (int y = 0; y < height; ++y) {
            uint8_t* out = rowAt(y0 + y);
            int value[3];
            for (int x = 0; x < width; ++x, out += 3) {
                for (int i = 0; i < 3; ++i) {
                    const DecodeComponent& c = components_[i];
                    value[i] = c.samples[(y * c.v / maxV_) * c.stride + x * c.h / maxH_];
                }
                StoreBgrPixel(out, value[0], value[1], value[2]);
            }
        }
    }

    // Red, green and blue components, each sample repeated over the pixels
    // it covers.
    void storeRgb(int y0, int width, int height) {
        for (int y = 0; y < height; ++y) {
            uint8_t* out = rowAt(y0 + y);
            for (int x = 0; x < width; ++x, out += 3)
                for (int i = 0; i < 3; ++i) {
                    const DecodeComponent& c = components_[i];
                    out[2 - i] = c.samples[(y * c.v / maxV_) * c.stride + x * c.h / maxH_];
                }
        }
    }

    const JpegHeaders& h_;
    bool rgb_ = StoredAsRgb(h_);
    alignas(16) float block_[64] = {};  // zero between blocks
    JpegBitReader reader_;
    uint8_t* bits_;
    uint32_t rowBytes_;
    DecodeComponent components_[3];
    BlockInverse inverse_;
    ColourForm colour_;
    std::unique_ptr<uint8_t[]> samples_;
    int maxH_ = 1, maxV_ = 1;
    int mcuWidth_ = 8, mcuHeight_ = 8;
    int mcusAcross_ = 0, mcusDown_ = 0;
};

}  // namespace

void ReadJpegFile(ByteView& file, ImageRecord& record) {
    std::unique_ptr<JpegHeaders> headers(new JpegHeaders);
    ScanMarkers(file, *headers);
    CheckHeaders(*headers);
    const JpegHeaders& h = *headers;

    int bitCount = h.count == 1 ? 8 : 24;
    uint32_t imageBytes = 0, rowBytes = 0;
    if (!CheckedDibImageSize(h.width, h.height, bitCount, &imageBytes)) Fail(kErrNoMemory);
    CheckedDibRowBytes(h.width, bitCount, &rowBytes);
    GlobalBlock bits = GlobalBlock::AllocateUnfilled(imageBytes);
    {
        BlockLock lock(bits.get());
        std::unique_ptr<Decoder> decoder(new Decoder(h, file, lock.data(), rowBytes));
        decoder->run();
        // Every pixel is written; the bytes that round the rows up are not.
        const size_t pixelBytes = size_t(h.width) * (bitCount / 8);
        for (int y = 0; y < h.height; ++y) memset(lock.data() + size_t(y) * rowBytes + pixelBytes, 0, rowBytes - pixelBytes);
    }
    record.width = h.width;
    record.height = h.height;
    record.bitCount = static_cast<uint16_t>(bitCount);
    if (!CreateDibHeader(record)) Fail(kErrNoMemory);
    if (bitCount == 8) {
        BlockLock info(record.hInfo);
        SetGrayPalette(info.as<DibColor>() + 10, 256);
    }
    record.hBits = bits.release();
}
