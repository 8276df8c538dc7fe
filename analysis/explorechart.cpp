#include "analysis/explorechart.h"

#include "analysis/chartplot.h"
#include "analysis/parameterslider.h"
#include "model/extremesamples.h"
#include "model/seriescsv.h"
#include "widgets/chartpalette.h"
#include "widgets/formgeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

namespace {

constexpr int PlotLeft = 60;
constexpr int LegendGap = 2;

// The samples 0 ... last of a motion, at their print-step times.
int lastSample(const MotionModel &motion)
{
    return std::max(motion.PlayableLastIndex(), 0);
}

double duration(const MotionModel &motion, const ModelParameters &parameters)
{
    return lastSample(motion) * double(parameters.PrintStep);
}

// The samples 0 ... last of series.
std::span<const float> samples(const MotionModel &motion, MotionModel::Series series)
{
    return { motion.ResultSeries[series].get(), std::size_t(lastSample(motion) + 1) };
}

// The points of values to draw across columns pixels, timeOf(i) the time of
// values[i]: every value while few share a column, otherwise the extremes
// among them, which draw the same picture.
template <typename TimeOf>
std::vector<QPointF> curvePoints(std::span<const float> values, TimeOf timeOf, int columns)
{
    std::vector<QPointF> points;
    for (const std::size_t i : ExtremeSamples(values, 4 * std::size_t(std::max(columns, 1))))
        points.emplace_back(timeOf(i), values[i]);
    return points;
}

} // namespace

static_assert(ChartPalette::Kept.size() == ExploreChart::MaxKept);

ExploreChart::ExploreChart(const ExploreCaptions &captions, QWidget *parent)
    : TPaintBox(parent)
    , m_captions(captions)
{
    SetFillsBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    OnPaint = [this](QPainter &painter, const ChartColours &) { Paint(painter); };
}

ExploreChart::~ExploreChart() = default;

void ExploreChart::SetMotion(
    const ModelParameters &parameters, std::shared_ptr<const MotionModel> motion)
{
    m_parameters = parameters;
    m_motion = std::move(motion);
    // A span measured on the last run says nothing about this one.
    m_marks.clear();
    update();
    emit CursorChanged();
}

void ExploreChart::Keep()
{
    if (!m_motion || !m_motion->HasResult())
        return;
    const std::span<const float> x = samples(*m_motion, MotionModel::Coordinate);
    Curve kept;
    kept.parameters = m_parameters;
    kept.range = m_motion->SeriesRanges[MotionModel::Coordinate];
    for (const std::size_t i : ExtremeSamples(x, KeptPoints)) {
        // The float the series table writes for sample i.
        kept.times.push_back(static_cast<float>(double(i) * m_parameters.PrintStep));
        kept.coordinates.push_back(x[i]);
    }
    kept.thinned = kept.coordinates.size() < x.size();
    if (int(m_kept.size()) == MaxKept)
        m_kept.erase(m_kept.begin());
    m_kept.push_back(std::move(kept));
    update();
}

std::optional<CsvTable> ExploreChart::Table() const
{
    if (!m_motion || !m_motion->HasResult())
        return std::nullopt;
    CsvTable table = SeriesTable(*m_motion, m_parameters.PrintStep);
    table.HoldOwner(m_motion);
    // A kept curve may run on other times, so it brings its own.
    for (std::size_t i = 0; i < m_kept.size(); ++i) {
        const Curve &kept = m_kept[i];
        const std::string suffix
            = "_kept" + std::to_string(i + 1) + (kept.thinned ? "_thinned" : "");
        table.AddColumn("t_s" + suffix, kept.times);
        table.AddColumn("x_m" + suffix, kept.coordinates);
    }
    return table;
}

void ExploreChart::ClearKept()
{
    m_kept.clear();
    update();
}

void ExploreChart::SetShowsVelocity(bool shows)
{
    m_showsVelocity = shows;
    update();
}

std::vector<ExploreChart::LegendEntry> ExploreChart::Legend() const
{
    std::vector<LegendEntry> legend { { ChartPalette::Coordinate, m_captions.Current } };
    for (std::size_t i = 0; i < m_kept.size(); ++i)
        legend.push_back({ ChartPalette::Kept[i],
            KeptLabel ? KeptLabel(m_kept[i].parameters, m_parameters) : QString() });
    return legend;
}

// From past an entry's colour sample at the plot's left edge to the margin.
int ExploreChart::LegendTextWidth() const
{
    return width() - PlotLeft - 30 - 8;
}

QRect ExploreChart::PlotRect() const
{
    int legend = 0;
    for (const LegendEntry &entry : Legend())
        legend += LegendEntryHeight(fontMetrics(), entry.text, LegendTextWidth()) + LegendGap;
    // The plot gives way to the legend down to a strip.
    return { PlotLeft, 24, width() - 130, std::max(40, height() - 24 - 40 - legend) };
}

bool ExploreChart::Measurable() const
{
    return m_motion && m_parameters.PrintStep > 0;
}

double ExploreChart::TimeAt(int x) const
{
    const QRect area = PlotRect();
    const PlotScale time = PlotScale::Around(0, duration(*m_motion, m_parameters));
    const double share = double(x - area.left()) / (area.width() - 1);
    const double t = time.lower + share * (time.upper - time.lower);
    const double p = m_parameters.PrintStep;
    return std::clamp(std::round(t / p), 0.0, double(lastSample(*m_motion))) * p;
}

double ExploreChart::ValueAt(MotionModel::Series series, double time) const
{
    return m_motion->Value(series, int(std::lround(time / double(m_parameters.PrintStep))));
}

void ExploreChart::MoveCursor(double time)
{
    m_cursor = time;
    update();
    emit CursorChanged();
}

QString ExploreChart::CursorText() const
{
    if (!Measurable() || !m_cursor)
        return m_captions.CursorHint;
    const auto x = [this](double time) { return ValueAt(MotionModel::Coordinate, time); };
    QString text = m_captions.CursorValue.arg(ShownValue(*m_cursor), ShownValue(x(*m_cursor)),
        ShownValue(ValueAt(MotionModel::Velocity, *m_cursor)));
    if (m_marks.size() == 2) {
        text += QStringLiteral("; ")
            + m_captions.Measured.arg(
                ShownValue(m_marks[1] - m_marks[0]), ShownValue(x(m_marks[1]) - x(m_marks[0])));
    }
    return text;
}

void ExploreChart::mouseMoveEvent(QMouseEvent *event)
{
    if (Measurable() && PlotRect().contains(event->position().toPoint()))
        MoveCursor(TimeAt(event->position().toPoint().x()));
}

void ExploreChart::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !Measurable()
        || !PlotRect().contains(event->position().toPoint()))
        return TPaintBox::mousePressEvent(event);
    const double time = TimeAt(event->position().toPoint().x());
    if (m_marks.size() == 2)
        m_marks.clear();
    m_marks.push_back(time);
    MoveCursor(time);
}

void ExploreChart::keyPressEvent(QKeyEvent *event)
{
    if (!Measurable())
        return TPaintBox::keyPressEvent(event);
    // One pixel column a press, or one sample where they lie wider apart.
    const double p = m_parameters.PrintStep;
    const double step
        = std::max(p, std::round(duration(*m_motion, m_parameters) / PlotRect().width() / p) * p);
    const double last = duration(*m_motion, m_parameters);
    const double now = m_cursor.value_or(0);
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCursor(std::max(0.0, now - step));
        break;
    case Qt::Key_Right:
        MoveCursor(std::min(last, m_cursor ? now + step : 0));
        break;
    case Qt::Key_Space:
        if (m_marks.size() == 2)
            m_marks.clear();
        m_marks.push_back(now);
        MoveCursor(now);
        break;
    default:
        TPaintBox::keyPressEvent(event);
    }
}

void ExploreChart::Paint(QPainter &painter)
{
    const QRect area = PlotRect();
    if (!m_motion) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_captions.NoMotion);
        return;
    }
    SeriesRange coordinates = m_motion->SeriesRanges[MotionModel::Coordinate];
    const double stop = duration(*m_motion, m_parameters);
    for (const Curve &kept : m_kept) {
        coordinates.Include(kept.range.min);
        coordinates.Include(kept.range.max);
    }
    const SeriesRange velocities = m_motion->SeriesRanges[MotionModel::Velocity];
    const PlotScale velocityScale = PlotScale::Around(velocities.min, velocities.max);
    const PlotArea plot(area, PlotScale::Around(0, stop),
        PlotScale::Around(coordinates.min, coordinates.max),
        m_showsVelocity ? &velocityScale : nullptr);
    plot.DrawFrame(painter);
    painter.setPen(ChartPalette::ScaleText);
    painter.drawText(QPoint(4, 14), m_captions.CoordinateAxis);
    if (m_showsVelocity) {
        const QString axis = m_captions.VelocityAxis;
        painter.drawText(
            QPoint(width() - 4 - painter.fontMetrics().horizontalAdvance(axis), 14), axis);
    }
    painter.drawText(QPoint(area.right() - 40, area.bottom() + 32), m_captions.TimeAxis);

    const int columns = area.width();
    for (std::size_t i = 0; i < m_kept.size(); ++i) {
        const Curve &kept = m_kept[i];
        plot.DrawCurve(painter,
            curvePoints(
                kept.coordinates, [&kept](std::size_t j) { return kept.times[j]; }, columns),
            ChartPalette::Kept[i], 2);
    }
    int top = area.bottom() + 40;
    for (const LegendEntry &entry : Legend()) {
        DrawLegendEntry(
            painter, QPoint(area.left(), top), entry.colour, entry.text, LegendTextWidth());
        top += LegendEntryHeight(painter.fontMetrics(), entry.text, LegendTextWidth()) + LegendGap;
    }
    const auto timeOf = [p = double(m_parameters.PrintStep)](std::size_t i) { return i * p; };
    if (m_showsVelocity)
        plot.DrawCurve(painter,
            curvePoints(samples(*m_motion, MotionModel::Velocity), timeOf, columns),
            ChartPalette::Velocity, 1, true);
    plot.DrawCurve(painter,
        curvePoints(samples(*m_motion, MotionModel::Coordinate), timeOf, columns),
        ChartPalette::Coordinate, 2);

    const auto vertical = [&](double time, const QColor &colour, Qt::PenStyle style) {
        if (time > stop)
            return;
        painter.setPen(QPen(colour, 1, style));
        const DesignedLines lines(painter);
        painter.drawLine(plot.X(time), area.top() + 1, plot.X(time), area.bottom() - 1);
    };
    for (const double mark : m_marks)
        vertical(mark, ChartPalette::Mark, Qt::SolidLine);
    if (m_cursor)
        vertical(*m_cursor, ChartPalette::Cursor, Qt::DashLine);
}
