#include "output/chartpart.h"

#include "widgets/paintbox.h"

#include <QLabel>
#include <QPainter>

namespace {

// font as large as it shows on widget: a size in points is counted in the
// painter's device's dots, which the painter's transform would scale again.
QFont asOnScreen(QFont font, const QWidget &widget, const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    if (font.pointSizeF() > 0 && device && device->logicalDpiY() > 0)
        font.setPointSizeF(font.pointSizeF() * widget.logicalDpiY() / device->logicalDpiY());
    return font;
}

void drawLabel(QPainter &painter, const QLabel &label, QPoint at)
{
    painter.setFont(asOnScreen(label.font(), label, painter));
    painter.setPen(label.palette().color(label.foregroundRole()));
    const int wrap = label.wordWrap() ? Qt::TextWordWrap : 0;
    painter.drawText(
        label.contentsRect().translated(at), int(label.alignment()) | wrap, label.text());
}

} // namespace

void DrawChartPart(QPainter &painter, const QWidget &window, const TPaintBox &canvas,
    const QRect &part, const ChartColours &colours)
{
    painter.save();
    painter.setClipRect(QRect(QPoint(), part.size()), Qt::IntersectClip);
    painter.translate(-part.topLeft());
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        const QRect place(label->mapTo(&window, QPoint()), label->size());
        if (label->isVisibleTo(&window) && part.intersects(place))
            drawLabel(painter, *label, place.topLeft());
    }
    if (canvas.OnPaint) {
        const QRect place(canvas.mapTo(&window, QPoint()), canvas.size());
        painter.translate(place.topLeft());
        painter.setClipRect(canvas.rect(), Qt::IntersectClip);
        // As the canvas begins its own painting.
        painter.setFont(asOnScreen(canvas.font(), canvas, painter));
        painter.setPen(colours.TextOn(canvas.palette()));
        painter.setBrush(Qt::NoBrush);
        canvas.OnPaint(painter, colours);
    }
    painter.restore();
}
