// The standard 16-colour palette as a logical palette.
#include <vector>

#include "../../../formats/DibHelpers.h"
#include "ColorOps.h"

HPALETTE CreateStandard16ColorPalette()
{
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY));
    LOGPALETTE* record = reinterpret_cast<LOGPALETTE*>(bytes.data());
    record->palVersion = 0x300;
    record->palNumEntries = 16;
    for (int i = 0; i < 16; ++i) {
        const DibColor& c = kStandard16Colors[i];
        record->palPalEntry[i] = {c.red, c.green, c.blue, 0};
    }
    return CreatePalette(record);
}
