#include "analysis/chartplot.h"

#include "services/numberstyles.h"
#include "widgets/formgeometry.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

#include <algorithm>
#include <cmath>

PlotScale PlotScale::Around(double lowest, double highest)
{
    if (!std::isfinite(lowest))
        lowest = std::isfinite(highest) ? highest : 0;
    if (!std::isfinite(highest))
        highest = lowest;
    if (highest - lowest <= std::max(std::abs(highest), std::abs(lowest)) * 1e-9) {
        const double widen = lowest == 0 ? 1 : std::abs(lowest) / 2;
        lowest -= widen;
        highest += widen;
    }
    const double rough = (highest - lowest) / 10;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    double step = decade;
    for (const double factor : { 1.0, 2.0, 5.0, 10.0 }) {
        step = factor * decade;
        if (std::ceil(highest / step) - std::floor(lowest / step) <= 10)
            break;
    }
    const PlotScale scale { std::floor(lowest / step) * step, std::ceil(highest / step) * step,
        step };
    // A span beyond the doubles leaves a plain scale rather than NaN.
    if (!(std::isfinite(scale.lower) && std::isfinite(scale.upper) && scale.step > 0))
        return {};
    return scale;
}

PlotScale PlotScale::Spanning(double lowest, double highest)
{
    PlotScale scale = Around(lowest, highest);
    if (std::isfinite(lowest) && std::isfinite(highest) && lowest < highest) {
        scale.lower = lowest;
        scale.upper = highest;
    }
    return scale;
}

namespace {

// The values of a scale's grid lines: the multiples of its step within it,
// counted rather than summed, so that rounding adds no line.
std::vector<double> gridValues(const PlotScale &scale)
{
    const double first = std::ceil(scale.lower / scale.step - 1e-9) * scale.step;
    const auto count = static_cast<int>(std::floor((scale.upper - first) / scale.step + 1e-9));
    std::vector<double> values;
    for (int i = 0; i <= count; ++i)
        values.push_back(first + i * scale.step);
    return values;
}

QString gridNumber(double value, double step)
{
    // Within a tenth of a step of zero is zero, not 1E-17.
    return GeneralStyle(std::abs(value) < step / 10 ? 0 : value, 3, 1);
}

// A scale label on its own patch of background, beside (x, y) on the side
// alignment says, or centred below it.
void drawLabel(QPainter &painter, int x, int y, const QString &text, Qt::Alignment alignment,
    const QColor &background)
{
    QRect box = painter.fontMetrics().boundingRect(text).adjusted(-1, 0, 1, 0);
    if (alignment & Qt::AlignRight)
        box.moveTopRight(QPoint(x, y - box.height() / 2));
    else if (alignment & Qt::AlignLeft)
        box.moveTopLeft(QPoint(x, y - box.height() / 2));
    else
        box.moveTopLeft(QPoint(x - box.width() / 2, y));
    painter.fillRect(box, background);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace

PlotArea::PlotArea(QRect area, PlotScale bottom, PlotScale left, const PlotScale *right,
    const ChartColours &colours)
    : m_area(area)
    , m_bottom(bottom)
    , m_left(left)
    , m_right(right ? *right : left)
    , m_hasRight(right)
    , m_colours(colours)
{ }

double PlotArea::pixelX(double value) const
{
    const double share = (value - m_bottom.lower) / (m_bottom.upper - m_bottom.lower);
    return m_area.left() + share * (m_area.width() - 1);
}

double PlotArea::pixelY(double value, const PlotScale &scale) const
{
    const double share = (value - scale.lower) / (scale.upper - scale.lower);
    return m_area.bottom() - share * (m_area.height() - 1);
}

int PlotArea::X(double value) const
{
    return static_cast<int>(pixelX(value));
}

int PlotArea::Y(double value, bool right) const
{
    return static_cast<int>(pixelY(value, right ? m_right : m_left));
}

void PlotArea::DrawFrame(QPainter &painter) const
{
    painter.save();
    painter.setPen(QPen(m_colours.Grid, 1));
    painter.setBrush(m_colours.PlotBackground);
    {
        const DesignedLines lines(painter);
        painter.drawRect(m_area.adjusted(0, 0, -1, -1));
    }

    const QColor face = m_colours.SurfaceOn(QApplication::palette());
    for (const bool right : { false, true }) {
        if (right && !m_hasRight)
            break;
        const PlotScale &scale = right ? m_right : m_left;
        for (const double value : gridValues(scale)) {
            const int y = Y(value, right);
            if (!right) {
                painter.setPen(QPen(m_colours.Grid, 1));
                const DesignedLines lines(painter);
                painter.drawLine(m_area.left(), y, m_area.right(), y);
            }
            painter.setPen(m_colours.ScaleText);
            if (right)
                drawLabel(painter, m_area.right() + 3, y, gridNumber(value, scale.step),
                    Qt::AlignLeft, face);
            else
                drawLabel(painter, m_area.left() - 3, y, gridNumber(value, scale.step),
                    Qt::AlignRight, face);
        }
    }
    // Last, over the corners of the side labels.
    for (const double value : gridValues(m_bottom)) {
        const int x = X(value);
        painter.setPen(QPen(m_colours.Grid, 1));
        {
            const DesignedLines lines(painter);
            painter.drawLine(x, m_area.top(), x, m_area.bottom());
        }
        painter.setPen(m_colours.ScaleText);
        drawLabel(painter, x, m_area.bottom() + 3, gridNumber(value, m_bottom.step),
            Qt::AlignHCenter, face);
    }
    painter.restore();
}

void PlotArea::DrawOuterScale(
    QPainter &painter, const PlotScale &scale, int offset, const QColor &colour) const
{
    painter.save();
    painter.setPen(colour);
    for (const double value : gridValues(scale)) {
        drawLabel(painter, m_area.right() + offset, static_cast<int>(pixelY(value, scale)),
            gridNumber(value, scale.step), Qt::AlignLeft, m_colours.PlotBackground);
    }
    painter.restore();
}

void PlotArea::DrawCurve(QPainter &painter, const std::vector<QPointF> &points,
    const ChartLine &line, int width, bool right) const
{
    DrawCurve(painter, points, line, width, right ? m_right : m_left);
}

void PlotArea::DrawCurve(QPainter &painter, const std::vector<QPointF> &points,
    const ChartLine &line, int width, const PlotScale &scale) const
{
    painter.save();
    painter.setClipRect(m_area.adjusted(1, 1, -1, -1));
    painter.setPen(QPen(line.colour, width, line.style));
    const DesignedLines lines(painter);
    // A run between two breaks, each pixel once: a dashed line is one stroke
    // along it, so that its dashes go on past the many short steps.
    QPolygon run;
    const auto drawRun = [&] {
        if (line.style != Qt::SolidLine && run.size() > 1) {
            painter.drawPolyline(run);
        } else {
            painter.drawPoint(run.constFirst());
            for (qsizetype i = 1; i < run.size(); ++i)
                painter.drawLine(run[i - 1], run[i]);
        }
        run.clear();
    };
    // Pixels far outside the area are pinned, so a huge value draws a steep
    // line instead of overflowing.
    const double limit = 4.0 * (m_area.width() + m_area.height());
    const auto pin = [limit](double pixel) { return std::clamp(pixel, -limit, limit); };
    for (const QPointF &point : points) {
        if (!std::isfinite(point.x()) || !std::isfinite(point.y())) {
            if (!run.isEmpty())
                drawRun();
            continue;
        }
        const QPoint pixel(static_cast<int>(pin(pixelX(point.x()))),
            static_cast<int>(pin(pixelY(point.y(), scale))));
        if (run.isEmpty() || pixel != run.constLast())
            run.append(pixel);
    }
    if (!run.isEmpty())
        drawRun();
    painter.restore();
}

int LegendEntryHeight(const QFontMetrics &metrics, const QString &text, int textWidth)
{
    return metrics.boundingRect(QRect(0, 0, textWidth, QWIDGETSIZE_MAX), Qt::TextWordWrap, text)
        .height();
}

void DrawLegendEntry(QPainter &painter, QPoint at, const ChartLine &line, const QString &text,
    int textWidth, const ChartColours &colours)
{
    painter.save();
    const int height = painter.fontMetrics().height();
    // The sample on the plot's background, where the colour was chosen to show.
    painter.fillRect(at.x(), at.y(), 24, height, colours.PlotBackground);
    painter.setPen(QPen(line.colour, 2, line.style));
    painter.drawLine(at.x() + 2, at.y() + height / 2, at.x() + 21, at.y() + height / 2);
    painter.setPen(colours.TextOn(QApplication::palette()));
    painter.drawText(QRect(at.x() + LegendTextIndent, at.y(), textWidth,
                         LegendEntryHeight(painter.fontMetrics(), text, textWidth)),
        Qt::TextWordWrap, text);
    painter.restore();
}
