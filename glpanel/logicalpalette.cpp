#include "glpanel/logicalpalette.h"

#include <algorithm>

namespace {

std::uint8_t channelValue(unsigned index, unsigned bits, unsigned shift)
{
    // Indices are below 2^16, so wider channels or shifts change nothing but would overflow.
    bits = std::min(bits, 16u);
    if (bits == 0 || shift >= 16)
        return 0;
    const unsigned mask = (1u << bits) - 1;
    return std::uint8_t(((index >> shift) & mask) * 255 / mask);
}

} // namespace

LogicalPalette ComputeLogicalPalette(const PIXELFORMATDESCRIPTOR &format)
{
    LogicalPalette palette;
    palette.palNumEntries = format.cColorBits >= 16 ? 0 : std::uint16_t(1u << format.cColorBits);
    palette.palPalEntry.resize(palette.palNumEntries);
    for (unsigned i = 0; i < palette.palNumEntries; ++i) {
        PALETTEENTRY &entry = palette.palPalEntry[i];
        entry.peRed = channelValue(i, format.cRedBits, format.cRedShift);
        entry.peGreen = channelValue(i, format.cGreenBits, format.cGreenShift);
        entry.peBlue = channelValue(i, format.cBlueBits, format.cBlueShift);
        entry.peFlags = 0;
    }
    return palette;
}
