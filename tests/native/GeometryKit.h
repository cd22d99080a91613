// Helpers for the geometry, merge and cropping tests: patterned images of
// any depth, their picture as top-down RGB, BMP files for the reference
// tools, and a snapshot of an image's blocks to prove a source unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DisplayImageKit.h"
#include "ImageTestKit.h"

namespace geometrykit {

using namespace imagekit;

// A picture whose pixels differ from their neighbours (palette images get
// distinct colours, so the RGB picture shows every index; entry
// nearWhite, when given, is (252, 251, 250)).
inline void Patterned(DisplayImage& image, int32_t width, int32_t height, int bits, unsigned seed = 1,
                      int nearWhite = -1)
{
    Shape(image, width, height, bits);
    const int entries = bits <= 8 ? 1 << bits : 0;
    for (int i = 0; i < entries; ++i)
        if (i == nearWhite)
            SetEntry(image, i, 252, 251, 250);
        else
            SetEntry(image, i, uint8_t(i * 37 + 11), uint8_t(i * 91 + seed), uint8_t(255 - i * 13));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = uint32_t(x * 7 + y * 13 + seed) * 2654435761u >> 8;
            SetPixel(image, x, y, bits == 24 ? v & 0xFFFFFF : v % uint32_t(entries));
        }
}

// The picture as top-down RGB triplets, through the colour table at 8 bits
// or fewer.
inline std::vector<uint8_t> Rgb(const DisplayImage& image)
{
    std::vector<uint8_t> rgb;
    for (int32_t y = image.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t v = GetPixel(image, x, y);
            if (image.bitCount <= 8) {
                const DibColor c = Entry(image, int(v));
                rgb.insert(rgb.end(), {c.red, c.green, c.blue});
            } else {
                rgb.insert(rgb.end(), {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
            }
        }
    return rgb;
}

// A BMP file of the image's header and pixel blocks.
inline void WriteBmp(const DisplayImage& image, const std::string& path)
{
    const std::vector<uint8_t> header = Bytes(image.hHeader), pixels = Bytes(image.hPixels);
    const uint32_t headerSize = image.GetHeaderSize(), bitsSize = image.GetBitsSize();
    const uint32_t offset = 14 + headerSize, total = offset + bitsSize;
    std::vector<uint8_t> file = {'B', 'M'};
    for (uint32_t v : {total, 0u, offset})
        for (int i = 0; i < 4; ++i)
            file.push_back(uint8_t(v >> (8 * i)));
    file.insert(file.end(), header.begin(), header.begin() + headerSize);
    file.insert(file.end(), pixels.begin(), pixels.begin() + bitsSize);
    kit::WriteBytes(path, file);
}

// ImageMagick's picture of the file after its operation (e.g. "-flip"),
// or empty when the tool is missing or failed.
inline std::vector<uint8_t> MagickAfter(const std::string& path, const std::string& operation)
{
    const std::string out = path + ".after.rgb";
    if (kit::RunShell("convert-im6.q16 '" + path + "' " + operation + " -depth 8 rgb:'" + out + "'") != 0)
        return {};
    return kit::ReadBytes(out);
}

// Everything of an image that an operation must leave alone.
struct Snapshot {
    int32_t width, height;
    uint16_t bitCount;
    HGLOBAL pixels, header;
    std::vector<uint8_t> pixelBytes, headerBytes;
    explicit Snapshot(const DisplayImage& image)
        : width(image.width), height(image.height), bitCount(image.bitCount), pixels(image.hPixels),
          header(image.hHeader), pixelBytes(Bytes(image.hPixels)), headerBytes(Bytes(image.hHeader))
    {
    }
    bool Matches(const DisplayImage& image) const
    {
        return width == image.width && height == image.height && bitCount == image.bitCount &&
               pixels == image.hPixels && header == image.hHeader && pixelBytes == Bytes(image.hPixels) &&
               headerBytes == Bytes(image.hHeader);
    }
};

} // namespace geometrykit
