#include "glpanel/panelfont.h"

PanelFont::PanelFont()
{
    m_font.setFamily(QStringLiteral("Arial"));
    m_font.setPixelSize(9);
}

PanelFont::PanelFont(const QFont &font, int charset)
    : m_font(font)
    , m_charset(charset)
{ }
