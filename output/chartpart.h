#pragma once

#include <QRect>

class QPainter;
class QWidget;
class TPaintBox;
struct ChartColours;

// The chart part of window, part in its coordinates, drawn straight onto
// painter as lines and text, part's top left corner at the painter's origin:
// canvas by its own painting in colours, and the text of every label shown
// within part in the label's font, alignment and colour. Frames and other
// controls are left out. Sizes are window pixels; the painter's transform
// scales them to its device.
void DrawChartPart(QPainter &painter, const QWidget &window, const TPaintBox &canvas,
    const QRect &part, const ChartColours &colours);
