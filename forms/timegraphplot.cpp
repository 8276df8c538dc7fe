#include "forms/timegraphplot.h"

#include "model/numberformat.h"
#include "services/numberstyles.h"
#include "widgets/formgeometry.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

// Markers are spread so that about one falls on every column of the grid,
// whatever the duration.
constexpr int MarkersPerCurve = 20;

// Text with its top left corner at (x, y), its cell filled with background.
void textOut(QPainter &canvas, int x, int y, const QString &text, const QColor &colour,
    const QColor &background)
{
    const QFontMetrics metrics(canvas.font());
    canvas.fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(), background);
    canvas.setPen(colour);
    canvas.drawText(x, y + metrics.ascent(), text);
}

} // namespace

QString TimeLabel(double seconds)
{
    const std::string general = FormatGeneralStyle(seconds, 3, 0, NumberSeparators { ".", "" });
    const auto e = general.find('E');
    if (e == std::string::npos)
        return GeneralStyle(seconds, 3, 0);
    std::string mantissa = general.substr(0, e);
    int exponent = std::stoi(general.substr(e + 1));
    const auto point = mantissa.find('.');
    if (point != std::string::npos) {
        exponent -= int(mantissa.size() - point - 1);
        mantissa.erase(point, 1);
    }
    return QString::fromStdString(mantissa + 'E' + std::to_string(exponent));
}

void TimeGraphPlot::DrawAxes(QPainter &canvas, double coordinateLower, double coordinateUpper,
    double velocityLower, double velocityUpper, int H, int W) const
{
    const QRect plotArea(30, 0, W - 60, H - 20);
    canvas.fillRect(plotArea, Colours.PlotBackground);
    canvas.setPen(QPen(Colours.Grid, 1));
    canvas.setBrush(Qt::NoBrush);
    {
        const DesignedLines lines(canvas);
        canvas.drawRect(plotArea.adjusted(0, 0, -1, -1));
    }

    const int xstep = (W - 60) / 20;
    const int ystep = (H - 20) / 10;
    if (xstep <= 0 || ystep <= 0)
        return; // too small for scales and grid

    const float coordinateTenth = float((coordinateUpper - coordinateLower) * 0.1);
    const float velocityTenth = float((velocityUpper - velocityLower) * 0.1);
    for (int k = 1; k * ystep < H - ystep - 20; ++k) {
        textOut(canvas, 0, k * ystep, NumberStyle(coordinateUpper - k * coordinateTenth, 4, 2),
            Colours.ScaleText, LabelBackground);
        textOut(canvas, W - 30, k * ystep, NumberStyle(velocityUpper - k * velocityTenth, 3, 2),
            Colours.ScaleText, LabelBackground);
    }
    // Every label is drawn. A label of three digits and an exponent ("495E2")
    // is wider than its column; the next one covers its last digit.
    for (int k = 1; k * xstep < W - xstep - 60; ++k)
        textOut(canvas, 30 + k * xstep, H - 12, TimeLabel(k * Duration * 0.05), Colours.ScaleText,
            LabelBackground);

    // The raster's lines end on their last pixel, the canvas's one before.
    canvas.setPen(QPen(Colours.Grid, 1));
    const DesignedLines lines(canvas);
    for (int y = 30; y < H - 20; y += ystep)
        canvas.drawLine(30, y, W - 31, y);
    for (int x = 30; x < W - 30; x += xstep)
        canvas.drawLine(x, 0, x, H - 21);
}

TimeGraphPlot::CurveShape TimeGraphPlot::Curve(
    std::span<const float> series, double lower, double upper, int H, int W) const
{
    CurveShape shape;
    const double samplesInDuration = Duration / PrintStep;
    if (series.empty() || !(samplesInDuration > 1))
        return shape; // no sample after the first one lies within the duration
    const std::size_t end
        = std::min<double>(series.size(), std::ceil(std::min(samplesInDuration, 1e18)));

    // Equal bounds leave no scale: the constant series runs along the middle.
    const double span = upper - lower;
    const bool flat = !(span > 0 && std::isfinite(span));
    const float scale = flat ? 0.0f : float((H - 20) / span);
    const int middle = (H - 20) / 2;
    const auto height = [&](double d) { return flat ? middle : H - 20 - ToPixel(scale * d); };

    const double advance = (W - 60) / samplesInDuration;
    const auto spacing = std::int64_t(std::clamp(samplesInDuration / MarkersPerCurve, 1.0, 1e15));

    shape.Line.append(QPoint(30, height(series[0] - lower)));
    float x = 30;
    std::int64_t sinceMarker = 0;
    for (std::size_t i = 1; i < end; ++i) {
        float d = float(series[i] - lower);
        if (d < 0)
            d = 0; // below the lower bound: along the bottom edge
        x = float(x + advance);
        // Many samples share a pixel; a repeated point adds nothing to the line.
        const QPoint point(ToPixel(x), height(d));
        if (point != shape.Line.constLast())
            shape.Line.append(point);
        if (Markers && ++sinceMarker >= spacing) {
            shape.Markers.append(QPoint(ToPixel(x), height(series[i] - lower) - 15));
            sinceMarker = 0;
        }
    }
    return shape;
}

void TimeGraphPlot::DrawCurve(QPainter &canvas, std::span<const float> series, double lower,
    double upper, int H, int W, const QString &number) const
{
    const CurveShape shape = Curve(series, lower, upper, H, W);
    const ChartLine &line = number == QLatin1String("1") ? Colours.Coordinate : Colours.Velocity;
    canvas.setPen(QPen(line.colour, 2, line.style, Qt::RoundCap, Qt::RoundJoin));
    canvas.drawPolyline(shape.Line);
    for (const QPoint &marker : shape.Markers)
        textOut(canvas, marker.x(), marker.y(), number, line.colour, Colours.PlotBackground);
}
