#pragma once

#include "glpanel/openglfont.h"

#include <QtGui/qopengl.h>

class PanelFont;

// Compile one display list per character code first .. first+count-1 into the lists from
// listBase on, in the current context. Codes are bytes in the font's character set; a code
// outside 0..255 or undefined in the set gets an empty list.

// Each list draws the glyph's bitmap at the raster position and advances the raster
// position by the glyph's width in whole pixels.
void UseFontBitmaps(const PanelFont &font, int first, int count, GLuint listBase);

// Each list draws the glyph's outline in em units with its origin at (0, 0, 0), as line loops
// (WGL_FONT_LINES) or as filled faces at z = 0 and z = -extrusion joined by sides
// (WGL_FONT_POLYGONS), then translates by the cell increment. Curves are flattened to within
// deviation em, or one design unit when deviation is 0. metrics gets count entries.
void UseFontOutlines(const PanelFont &font, int first, int count, GLuint listBase, float deviation,
    float extrusion, int format, GLYPHMETRICSFLOAT *metrics);
