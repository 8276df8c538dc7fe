#pragma once

#include "widgets/chartpalette.h"

#include <QColor>
#include <QList>
#include <QPolygon>
#include <QString>

#include <span>

class QPainter;

// The picture of the time graphs on any canvas: the plot area with its grid
// and scales, and the curves of sampled series over a duration. Every
// floating-point value becomes a pixel by truncation toward zero.
class TimeGraphPlot
{
public:
    double Duration = 0; // seconds spanned by the time axis
    float PrintStep = 0; // seconds between two samples
    bool Markers = false; // curve numbers written along the curves
    QColor LabelBackground = Qt::lightGray; // behind the scale labels
    ChartColours Colours = ChartColours::Screen();

    // Plot area (30, 0)-(W - 30, H - 20), scale labels and grid.
    void DrawAxes(QPainter &canvas, double coordinateLower, double coordinateUpper,
        double velocityLower, double velocityUpper, int H, int W) const;
    // The vertices of a curve over the samples that lie within the duration,
    // none repeated, and the top left corners of its markers.
    struct CurveShape
    {
        QPolygon Line;
        QList<QPoint> Markers;
    };
    CurveShape Curve(std::span<const float> series, double lower, double upper, int H, int W) const;
    // One curve over the samples that lie within the duration; number "1"
    // draws as the coordinate, any other as the velocity, and is the markers' text.
    void DrawCurve(QPainter &canvas, std::span<const float> series, double lower, double upper,
        int H, int W, const QString &number) const;
};

// A time label: general style with 3 significant digits, but from 1000 s on
// with a whole mantissa ("15E4" for 150000, not "1,5E5"): without its decimal
// separator a label of two digits fits a grid column, so the nineteen labels
// of the longest duration the time field takes stand apart.
QString TimeLabel(double seconds);
