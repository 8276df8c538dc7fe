#include "formgeometry.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

void PlaceWindow(QWidget &window, int left, int top, int width, int height, WindowSizing sizing)
{
    if (sizing == WindowSizing::Fixed)
        window.setFixedSize(width, height);
    else
        window.resize(width, height);
    window.move(left, top);
}

QFont PixelFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

int ToPixel(double value)
{
    constexpr double limit = 1 << 20;
    if (std::isnan(value))
        return 0;
    return int(std::clamp(value, -limit, limit));
}
