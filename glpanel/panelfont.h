#pragma once

#include <QFont>
#include <QString>

// The panel's font object: a face, a character height in pixels and style, plus the
// character set its 8-bit strings are written in (0 ANSI, 204 Cyrillic, ...).
class PanelFont
{
public:
    PanelFont(); // "Arial", 9 pixels, regular, ANSI
    explicit PanelFont(const QFont &font, int charset = 0);

    QFont font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }

    QString family() const { return m_font.family(); }
    void setFamily(const QString &family) { m_font.setFamily(family); }

    // The character height; the toolkit writes it as a negative Height.
    int pixelSize() const { return m_font.pixelSize(); }
    void setPixelSize(int pixels) { m_font.setPixelSize(pixels); }

    int charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }

    friend bool operator==(const PanelFont &, const PanelFont &) = default;

private:
    QFont m_font;
    int m_charset = 0;
};
