#include "JpegHuffman.h"

#include <cstring>

bool HuffmanDecoder::build(const HuffmanSpec& codeSet) {
    memset(fast, 0, sizeof fast);
    memset(fastAc, 0, sizeof fastAc);
    memset(symbols, 0, sizeof symbols);
    memcpy(symbols, codeSet.symbols, sizeof symbols);
    int total = 0;
    for (int i = 0; i < 16; ++i) total += codeSet.counts[i];
    if (total > 256 || total != codeSet.symbolCount) return false;

    int32_t code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
        int count = codeSet.counts[length - 1];
        if (code + count > (1 << length)) return false;  // more codes than this length holds
        symbolOffset[length] = index - code;
        for (int i = 0; i < count; ++i, ++code, ++index) {
            if (length > kLookBits) continue;
            int shift = kLookBits - length;
            for (int fill = 0; fill < (1 << shift); ++fill)
                fast[(code << shift) | fill] = static_cast<uint16_t>(length << 8 | codeSet.symbols[index]);
        }
        maxCode[length] = count ? code - 1 : -1;
        code <<= 1;
    }
    maxCode[0] = -1;
    symbolOffset[0] = 0;

    // Short run/size codes whose extra bits also fit in the lookahead.
    for (int look = 0; look < (1 << kLookBits); ++look) {
        uint16_t hit = fast[look];
        if (!hit) continue;
        int length = hit >> 8, symbol = hit & 0xFF;
        int run = symbol >> 4, size = symbol & 15;
        if (size == 0 || length + size > kLookBits) continue;
        uint32_t extra = (look >> (kLookBits - length - size)) & ((1u << size) - 1);
        fastAc[look] = ExtendSign(extra, size) * 256 + (run << 4) + length + size;
    }
    return true;
}

void HuffmanEncoder::build(const HuffmanSpec& codeSet) {
    memset(code, 0, sizeof code);
    memset(length, 0, sizeof length);
    uint32_t next = 0;
    int index = 0;
    for (int bits = 1; bits <= 16; ++bits, next <<= 1) {
        for (int i = 0; i < codeSet.counts[bits - 1] && index < codeSet.symbolCount; ++i, ++index, ++next) {
            code[codeSet.symbols[index]] = static_cast<uint16_t>(next);
            length[codeSet.symbols[index]] = static_cast<uint8_t>(bits);
        }
    }
}
