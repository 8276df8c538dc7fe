#include "analysis/explorechart.h"

#include "analysis/chartplot.h"
#include "analysis/parameterslider.h"
#include "model/extremesamples.h"
#include "model/seriescsv.h"
#include "output/printedpage.h"
#include "widgets/chartpalette.h"
#include "widgets/formgeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ranges>
#include <span>
#include <string>
#include <utility>

namespace {

constexpr int PlotLeft = 60;
// Below the axis captions, clear of the labels at the scales' tops.
constexpr int PlotTop = 28;
// Right of the plot: the labels of one scale and the margin; a second
// scale's labels take a column more.
constexpr int PlotRightMargin = 70;
constexpr int ScaleColumn = 60;
constexpr int LegendGap = 2;
// In a row, the legend starts this far below the plot, past the time scale's
// labels, and its entries lie this far apart.
constexpr int LegendRowTop = 20;
constexpr int LegendRowGap = 12;
// The time axis' caption takes this much of the plot's width at its right.
constexpr int TimeCaptionWidth = 48;
// A press that moves farther than this many pixel columns drags a span to
// zoom to instead of setting a mark.
constexpr int DragColumns = 4;
// The narrowest span a zoom shows, in samples: a line still to read.
constexpr double MinimumZoomSamples = 8;
// One notch of the wheel, one press of + narrows the span shown to this share.
constexpr double ZoomStep = 0.8;

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

// The points of values to draw across columns pixels from time.lower to
// time.upper, timeOf(i) the time of values[i], rising with i: the samples
// within that span and one either side, so that the line reaches the plot's
// edges; every one while few share a column, otherwise the extremes among
// them, which draw the same picture. Thinned over the span alone, a zoomed
// long run keeps its detail.
template <typename TimeOf>
std::vector<QPointF> curvePoints(
    std::span<const float> values, TimeOf timeOf, const PlotScale &time, int columns)
{
    const auto indices = std::views::iota(std::size_t(0), values.size());
    const auto count = [&indices](auto precedes) {
        return std::size_t(std::ranges::partition_point(indices, precedes) - indices.begin());
    };
    const std::size_t first
        = std::max(count([&](std::size_t i) { return timeOf(i) < time.lower; }), std::size_t(1))
        - 1;
    const std::size_t end = std::min(
        count([&](std::size_t i) { return timeOf(i) <= time.upper; }) + 1, values.size());
    std::vector<QPointF> points;
    if (first >= end)
        return points;
    const std::span<const float> shown = values.subspan(first, end - first);
    for (const std::size_t i : ExtremeSamples(shown, 4 * std::size_t(std::max(columns, 1))))
        points.emplace_back(timeOf(first + i), shown[i]);
    return points;
}

// Widths out of room for entries that want wanted[i]: each gets what it
// wants while that is within an equal share of what the narrower ones leave.
std::vector<int> fairShares(const std::vector<int> &wanted, int room)
{
    std::vector<std::size_t> order(wanted.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::ranges::sort(order, {}, [&wanted](std::size_t i) { return wanted[i]; });
    std::vector<int> shares(wanted.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        shares[i] = std::min(wanted[i], room / int(order.size() - k));
        room -= shares[i];
    }
    return shares;
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
    OnPaint = [this](QPainter &painter, const ChartColours &colours) { Paint(painter, colours); };
}

ExploreChart::~ExploreChart() = default;

void ExploreChart::SetMotion(
    const ModelParameters &parameters, std::shared_ptr<const MotionModel> motion)
{
    // A slider's move keeps the span zoomed to, so that it shows how the
    // change acts there; another stop time makes another run to look over.
    if (parameters.StopTime != m_parameters.StopTime)
        m_zoom.reset();
    m_parameters = parameters;
    m_motion = std::move(motion);
    m_forceRange.Reset();
    if (m_motion && m_motion->HasResult()) {
        for (const float force : samples(*m_motion, MotionModel::DrivingForce))
            m_forceRange.Include(force);
    }
    if (m_zoom && Measurable())
        ShowTimes(m_zoom->from, m_zoom->to); // within this run's samples
    // A span measured on the last run says nothing about this one.
    m_marks.clear();
    m_marksBeforeClick.clear();
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
    kept.samples = ExtremeSamples(x, KeptPoints);
    for (const std::size_t i : kept.samples)
        kept.coordinates.push_back(x[i]);
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
        table.AddSampleTimes("t_s" + suffix, kept.samples, kept.parameters.PrintStep);
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

void ExploreChart::SetShowsForce(bool shows)
{
    m_showsForce = shows;
    update();
    emit CursorChanged();
}

ExploreChart::TimeSpan ExploreChart::VisibleTimes() const
{
    const PlotScale time = TimeScale();
    return { time.lower, time.upper };
}

void ExploreChart::ShowWholeRun()
{
    m_zoom.reset();
    update();
}

PlotScale ExploreChart::TimeScale() const
{
    // A handout shows the whole run, as the export does.
    if (m_zoom && !OnPrintedPage(*this))
        return PlotScale::Spanning(m_zoom->from, m_zoom->to);
    return PlotScale::Around(0, m_motion ? duration(*m_motion, m_parameters) : 0);
}

void ExploreChart::ShowTimes(double from, double to)
{
    const double stop = duration(*m_motion, m_parameters);
    const double least = MinimumZoomSamples * double(m_parameters.PrintStep);
    if (to - from < least) {
        const double middle = (from + to) / 2;
        from = middle - least / 2;
        to = middle + least / 2;
    }
    if (to - from < stop) {
        const double shift = std::max(0.0, -from) - std::max(0.0, to - stop);
        m_zoom = TimeSpan { from + shift, to + shift };
    } else {
        m_zoom.reset();
    }
    update();
}

void ExploreChart::Zoom(double anchor, double factor)
{
    const TimeSpan shown = VisibleTimes();
    ShowTimes(anchor - (anchor - shown.from) * factor, anchor + (shown.to - anchor) * factor);
}

std::vector<ExploreChart::LegendEntry> ExploreChart::Legend(const ChartColours &colours) const
{
    std::vector<LegendEntry> legend { { colours.Coordinate, m_captions.Current } };
    if (m_showsForce)
        legend.push_back({ colours.DrivingForce, m_captions.ForceLegend });
    for (std::size_t i = 0; i < m_kept.size(); ++i)
        legend.push_back({ colours.Kept[i],
            KeptLabel ? KeptLabel(m_kept[i].parameters, m_parameters) : QString() });
    return legend;
}

// From past an entry's colour sample at the plot's left edge to the margin.
int ExploreChart::LegendTextWidth() const
{
    return width() - PlotLeft - LegendTextIndent - 8;
}

int ExploreChart::WrappedLegendHeight() const
{
    int height = 0;
    for (const LegendEntry &entry : Legend(ChartColours::Screen()))
        height += LegendEntryHeight(fontMetrics(), entry.text, LegendTextWidth()) + LegendGap;
    return height;
}

bool ExploreChart::LegendInRow(const ChartColours &colours) const
{
    // Only the screen has a tooltip to tell a text cut short; paper and SVG
    // wrap it whole.
    return colours == ChartColours::Screen()
        && height() - PlotTop - 40 - WrappedLegendHeight() < height() / 2;
}

QRect ExploreChart::PlotRect() const
{
    return PlotRect(ChartColours::Screen());
}

QRect ExploreChart::PlotRect(const ChartColours &colours) const
{
    const int scales = m_showsVelocity && m_showsForce ? 2 : 1;
    const int plotWidth = width() - PlotLeft - PlotRightMargin - (scales - 1) * ScaleColumn;
    if (LegendInRow(colours)) {
        return { PlotLeft, PlotTop, plotWidth,
            std::max(40, height() - PlotTop - LegendRowTop - fontMetrics().height() - LegendGap) };
    }
    // The plot gives way to the legend down to a strip.
    return { PlotLeft, PlotTop, plotWidth,
        std::max(40, height() - PlotTop - 40 - WrappedLegendHeight()) };
}

QRect ExploreChart::LegendRow() const
{
    const QRect area = PlotRect();
    return { area.left(), area.bottom() + LegendRowTop, area.width() - TimeCaptionWidth,
        fontMetrics().height() };
}

std::vector<int> ExploreChart::LegendRowShares() const
{
    std::vector<int> wanted;
    for (const LegendEntry &entry : Legend(ChartColours::Screen()))
        wanted.push_back(
            LegendTextIndent + fontMetrics().horizontalAdvance(entry.text) + LegendRowGap);
    return fairShares(wanted, LegendRow().width());
}

void ExploreChart::DrawLegend(QPainter &painter, const ChartColours &colours) const
{
    const std::vector<LegendEntry> legend = Legend(colours);
    if (!LegendInRow(colours)) {
        int top = PlotRect(colours).bottom() + 40;
        for (const LegendEntry &entry : legend) {
            DrawLegendEntry(
                painter, QPoint(PlotLeft, top), entry.line, entry.text, LegendTextWidth(), colours);
            top += LegendEntryHeight(painter.fontMetrics(), entry.text, LegendTextWidth())
                + LegendGap;
        }
        return;
    }
    const QRect row = LegendRow();
    const std::vector<int> shares = LegendRowShares();
    int left = row.left();
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const int textWidth = std::max(0, shares[i] - LegendTextIndent - LegendRowGap);
        DrawLegendEntry(painter, QPoint(left, row.top()), legend[i].line,
            painter.fontMetrics().elidedText(legend[i].text, Qt::ElideRight, textWidth), textWidth,
            colours);
        left += shares[i];
    }
}

bool ExploreChart::event(QEvent *event)
{
    // A legend cut short in its row tells its entries whole over the row.
    if (event->type() == QEvent::ToolTip && LegendInRow(ChartColours::Screen())) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (LegendRow().contains(help->pos())) {
            QStringList texts;
            for (const LegendEntry &entry : Legend(ChartColours::Screen()))
                texts.append(entry.text);
            QToolTip::showText(help->globalPos(), texts.join(QLatin1Char('\n')), this);
            return true;
        }
    }
    return TPaintBox::event(event);
}

bool ExploreChart::Measurable() const
{
    return m_motion && m_parameters.PrintStep > 0;
}

double ExploreChart::TimeOfColumn(double x) const
{
    const QRect area = PlotRect();
    const PlotScale time = TimeScale();
    const double share = (x - area.left()) / (area.width() - 1);
    return time.lower + share * (time.upper - time.lower);
}

double ExploreChart::TimeAt(int x) const
{
    const double p = m_parameters.PrintStep;
    return std::clamp(std::round(TimeOfColumn(x) / p), 0.0, double(lastSample(*m_motion))) * p;
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

void ExploreChart::SetMark(double time)
{
    m_marksBeforeClick = m_marks;
    if (m_marks.size() == 2)
        m_marks.clear();
    m_marks.push_back(time);
    MoveCursor(time);
}

QString ExploreChart::CursorText() const
{
    if (!Measurable() || !m_cursor)
        return m_captions.CursorHint + QLatin1Char('\n') + m_captions.ZoomHint;
    const auto x = [this](double time) { return ValueAt(MotionModel::Coordinate, time); };
    QString text = m_captions.CursorValue.arg(ShownValue(*m_cursor), ShownValue(x(*m_cursor)),
        ShownValue(ValueAt(MotionModel::Velocity, *m_cursor)));
    if (m_showsForce)
        text += QStringLiteral(", ")
            + m_captions.CursorForce.arg(ShownValue(ValueAt(MotionModel::DrivingForce, *m_cursor)));
    if (m_marks.size() == 2) {
        text += QStringLiteral("; ")
            + m_captions.Measured.arg(
                ShownValue(m_marks[1] - m_marks[0]), ShownValue(x(m_marks[1]) - x(m_marks[0])));
    }
    return text;
}

void ExploreChart::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_pressColumn && (m_dragColumn || std::abs(at.x() - *m_pressColumn) > DragColumns)) {
        const QRect area = PlotRect();
        m_dragColumn = std::clamp(at.x(), area.left(), area.right());
        update();
    }
    if (Measurable() && PlotRect().contains(at))
        MoveCursor(TimeAt(at.x()));
}

void ExploreChart::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !Measurable()
        || !PlotRect().contains(event->position().toPoint()))
        return TPaintBox::mousePressEvent(event);
    // Whether it marks or zooms tells the release.
    m_pressColumn = event->position().toPoint().x();
    m_dragColumn.reset();
}

void ExploreChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressColumn)
        return TPaintBox::mouseReleaseEvent(event);
    const int pressed = *std::exchange(m_pressColumn, std::nullopt);
    const int released = event->position().toPoint().x();
    const bool dragged = std::exchange(m_dragColumn, std::nullopt).has_value()
        || std::abs(released - pressed) > DragColumns;
    update();
    if (!Measurable()) // the run went away while the button was held
        return;
    if (dragged) {
        const QRect area = PlotRect();
        const double from = TimeAt(pressed);
        const double to = TimeAt(std::clamp(released, area.left(), area.right()));
        ShowTimes(std::min(from, to), std::max(from, to));
    } else {
        SetMark(TimeAt(pressed));
    }
}

void ExploreChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !Measurable()
        || !PlotRect().contains(event->position().toPoint()))
        return TPaintBox::mouseDoubleClickEvent(event);
    // The first click of the two set a mark no one asked for.
    m_marks = m_marksBeforeClick;
    ShowWholeRun();
    emit CursorChanged();
}

void ExploreChart::wheelEvent(QWheelEvent *event)
{
    const QPointF at = event->position();
    if (!Measurable() || !PlotRect().contains(at.toPoint()))
        return TPaintBox::wheelEvent(event); // the window's scroll bars take it
    // In notches of 120; a touchpad sends parts of one.
    Zoom(TimeOfColumn(at.x()), std::pow(ZoomStep, event->angleDelta().y() / 120.0));
    event->accept();
}

void ExploreChart::keyPressEvent(QKeyEvent *event)
{
    if (!Measurable())
        return TPaintBox::keyPressEvent(event);
    const TimeSpan shown = VisibleTimes();
    // One pixel column a press, or one sample where they lie wider apart.
    const double p = m_parameters.PrintStep;
    const double step
        = std::max(p, std::round((shown.to - shown.from) / PlotRect().width() / p) * p);
    const double last = duration(*m_motion, m_parameters);
    const double now = m_cursor.value_or(0);
    // Zoomed by the keys around the cursor where it is in sight.
    const double anchor
        = m_cursor && now >= shown.from && now <= shown.to ? now : (shown.from + shown.to) / 2;
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCursor(std::max(0.0, now - step));
        break;
    case Qt::Key_Right:
        MoveCursor(std::min(last, m_cursor ? now + step : 0));
        break;
    case Qt::Key_Space:
        SetMark(now);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift
        Zoom(anchor, ZoomStep);
        break;
    case Qt::Key_Minus:
        Zoom(anchor, 1 / ZoomStep);
        break;
    case Qt::Key_0:
        ShowWholeRun();
        break;
    default:
        return TPaintBox::keyPressEvent(event);
    }
    // The span zoomed to follows a cursor the arrows move out of it.
    if (m_zoom && m_cursor) {
        const double shift
            = std::min(0.0, *m_cursor - m_zoom->from) + std::max(0.0, *m_cursor - m_zoom->to);
        if (shift != 0)
            ShowTimes(m_zoom->from + shift, m_zoom->to + shift);
    }
}

void ExploreChart::Paint(QPainter &painter, const ChartColours &colours)
{
    const QRect area = PlotRect(colours);
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
    const PlotScale forceScale = PlotScale::Around(m_forceRange.min, m_forceRange.max);
    const PlotScale time = TimeScale();
    const PlotArea plot(area, time, PlotScale::Around(coordinates.min, coordinates.max),
        m_showsVelocity ? &velocityScale : nullptr, colours);
    plot.DrawFrame(painter);
    painter.setPen(colours.ScaleText);
    painter.drawText(QPoint(4, 14), m_captions.CoordinateAxis);
    // The right-hand captions end here, the velocity's left of the force's.
    int captionsRight = width() - 4;
    if (m_showsForce) {
        // Outside the velocity's labels, named in the force's colour.
        const int offset = m_showsVelocity ? 3 + ScaleColumn : 3;
        plot.DrawOuterScale(painter, forceScale, offset, colours.DrivingForce.colour);
        const QFontMetrics metrics = painter.fontMetrics();
        const QRect caption(area.right() + offset, 14 - metrics.ascent(),
            metrics.horizontalAdvance(m_captions.ForceAxis) + 2, metrics.height());
        painter.fillRect(caption, colours.PlotBackground);
        painter.setPen(colours.DrivingForce.colour);
        painter.drawText(caption, Qt::AlignCenter, m_captions.ForceAxis);
        captionsRight = caption.left() - 8;
    }
    painter.setPen(colours.ScaleText);
    if (m_showsVelocity) {
        const QString axis = m_captions.VelocityAxis;
        painter.drawText(
            QPoint(captionsRight - painter.fontMetrics().horizontalAdvance(axis), 14), axis);
    }
    painter.drawText(QPoint(area.right() - 40, area.bottom() + 32), m_captions.TimeAxis);

    const int columns = area.width();
    for (std::size_t i = 0; i < m_kept.size(); ++i) {
        const Curve &kept = m_kept[i];
        plot.DrawCurve(painter,
            curvePoints(
                kept.coordinates, [&kept](std::size_t j) { return kept.Time(j); }, time, columns),
            colours.Kept[i], 2);
    }
    DrawLegend(painter, colours);
    const auto series = [&](MotionModel::Series shown) {
        return curvePoints(
            samples(*m_motion, shown),
            [p = double(m_parameters.PrintStep)](std::size_t i) { return i * p; }, time, columns);
    };
    if (m_showsForce)
        plot.DrawCurve(
            painter, series(MotionModel::DrivingForce), colours.DrivingForce, 1, forceScale);
    if (m_showsVelocity)
        plot.DrawCurve(painter, series(MotionModel::Velocity), colours.Velocity, 1, true);
    plot.DrawCurve(painter, series(MotionModel::Coordinate), colours.Coordinate, 2);
    // The cursor and the marks measure on the screen; a page shows the curves.
    if (OnPrintedPage(*this))
        return;

    const auto vertical = [&](double at, const ChartLine &line) {
        if (at > stop || at < time.lower || at > time.upper)
            return;
        painter.setPen(QPen(line.colour, 1, line.style));
        const DesignedLines lines(painter);
        painter.drawLine(plot.X(at), area.top() + 1, plot.X(at), area.bottom() - 1);
    };
    for (const double mark : m_marks)
        vertical(mark, colours.Mark);
    if (m_cursor)
        vertical(*m_cursor, ChartLine(colours.Cursor, Qt::DashLine));
    // The span a drag will zoom to.
    if (m_pressColumn && m_dragColumn) {
        QColor selection = colours.Cursor;
        selection.setAlpha(60);
        painter.fillRect(QRect(QPoint(std::min(*m_pressColumn, *m_dragColumn), area.top() + 1),
                             QPoint(std::max(*m_pressColumn, *m_dragColumn), area.bottom() - 1)),
            selection);
    }
}
