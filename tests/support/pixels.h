#pragma once

#include <QColor>
#include <QImage>

// Whether colour lies within radius pixels of (x, y): lines of 2 pixels
// may fall either side of their exact row or column.
inline bool ColourNear(const QImage &image, int x, int y, const QColor &colour, int radius = 1)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (image.rect().contains(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == colour)
                return true;
    return false;
}

// Pixels of colour in the rectangle of image.
inline int countPixels(const QImage &image, QRgb colour, QRect within)
{
    int count = 0;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x)
            count += image.pixel(x, y) == colour;
    }
    return count;
}

// The topmost row of column x within rows that holds colour, or -1.
inline int topmostPixel(const QImage &image, int x, QRgb colour, QRect rows)
{
    for (int y = rows.top(); y <= rows.bottom(); ++y) {
        if (image.pixel(x, y) == colour)
            return y;
    }
    return -1;
}
