#pragma once

#include "widgets/chartpalette.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class QPainter;

// A scale from lower to upper with grid lines every step, all round numbers.
struct PlotScale
{
    double lower = 0;
    double upper = 1;
    double step = 0.1;

    // The smallest such scale that holds [lowest, highest], with 4 to 10
    // steps; non-finite values are ignored, an empty span widened.
    static PlotScale Around(double lowest, double highest);
    // A scale from exactly lowest to highest, its grid lines on the round
    // numbers within, as many as Around would draw.
    static PlotScale Spanning(double lowest, double highest);
};

// A plot area drawn as the time graphs draw theirs, in colours: black, with a
// green border and grid, scale labels in red on the button face on the
// screen; a bottom scale, a left scale and, when given, a right one. Pixels
// are truncated toward zero.
class PlotArea
{
public:
    PlotArea(QRect area, PlotScale bottom, PlotScale left, const PlotScale *right,
        const ChartColours &colours);

    void DrawFrame(QPainter &painter) const;
    // A polyline through points on the left scale (right: on the right one),
    // clipped to the area; a point with a non-finite coordinate breaks it.
    void DrawCurve(QPainter &painter, const std::vector<QPointF> &points, const ChartLine &line,
        int width, bool right = false) const;
    // A further vertical scale: its labels offset pixels right of the area,
    // in colour on the plot's black, so that they name the curve drawn on it.
    void DrawOuterScale(
        QPainter &painter, const PlotScale &scale, int offset, const QColor &colour) const;
    // A curve on such a scale.
    void DrawCurve(QPainter &painter, const std::vector<QPointF> &points, const ChartLine &line,
        int width, const PlotScale &scale) const;
    // The pixel of a value on the bottom scale and one on the left (right) scale.
    int X(double value) const;
    int Y(double value, bool right = false) const;
    QRect Area() const { return m_area; }

private:
    double pixelX(double value) const;
    double pixelY(double value, const PlotScale &scale) const;

    QRect m_area;
    PlotScale m_bottom;
    PlotScale m_left;
    PlotScale m_right;
    bool m_hasRight = false;
    ChartColours m_colours;
};

// The text of a legend entry starts this far right of the entry.
inline constexpr int LegendTextIndent = 30;

// A legend entry: a short line as the curve is drawn, on the plot's
// background, then its text, wrapped onto further lines past textWidth pixels.
void DrawLegendEntry(QPainter &painter, QPoint at, const ChartLine &line, const QString &text,
    int textWidth, const ChartColours &colours);
// The height of a legend entry whose text wraps past textWidth pixels.
int LegendEntryHeight(const QFontMetrics &metrics, const QString &text, int textWidth);
