#pragma once

#include "glpanel/pixelformat.h"

#include <cstdint>
#include <vector>

struct PALETTEENTRY
{
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;

    friend bool operator==(const PALETTEENTRY &, const PALETTEENTRY &) = default;
};

// The logical palette for a palette-based format: 2^cColorBits entries (the count is a
// 16-bit value, as on the original platform), each channel spread evenly over 0..255.
struct LogicalPalette
{
    std::uint16_t palVersion = 0x300;
    std::uint16_t palNumEntries = 0;
    std::vector<PALETTEENTRY> palPalEntry;
};

// Throws std::bad_alloc when the entries cannot be allocated. A channel of 0 bits
// contributes 0 to every entry.
LogicalPalette ComputeLogicalPalette(const PIXELFORMATDESCRIPTOR &format);
