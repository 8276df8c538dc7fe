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
