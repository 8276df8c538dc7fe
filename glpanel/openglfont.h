#pragma once

#include <cstdint>
#include <vector>

// Per-glyph outline metrics in em units, as the original platform fills them.
struct POINTFLOAT
{
    float x = 0.0f;
    float y = 0.0f;
};

struct GLYPHMETRICSFLOAT
{
    float gmfBlackBoxX = 0.0f; // ink width
    float gmfBlackBoxY = 0.0f; // ink height
    POINTFLOAT gmfptGlyphOrigin; // top left of the ink relative to the glyph origin, y up
    float gmfCellIncX = 0.0f;
    float gmfCellIncY = 0.0f;
};

// A bitmap font: the display list of code c is ListBase + (c - FirstGlyph).
struct OpenGLFont2D
{
    std::int32_t FirstGlyph = 0;
    std::int32_t GlyphCount = 0;
    std::uint32_t ListBase = 0;
};

// An outline font; GlyphMetrics holds one entry per code of the range.
struct OpenGLFont3D
{
    std::int32_t FirstGlyph = 0;
    std::int32_t GlyphCount = 0;
    std::uint32_t ListBase = 0;
    float Extrusion = 0.0f;
    std::vector<GLYPHMETRICSFLOAT> GlyphMetrics;
};

inline constexpr int WGL_FONT_LINES = 0;
inline constexpr int WGL_FONT_POLYGONS = 1;
