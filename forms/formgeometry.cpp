#include "formgeometry.h"

#include <QWidget>

void PlaceWindow(QWidget &window, int left, int top, int width, int height, WindowSizing sizing)
{
    if (sizing == WindowSizing::Fixed)
        window.setFixedSize(width, height);
    else
        window.resize(width, height);
    window.move(left, top);
}
