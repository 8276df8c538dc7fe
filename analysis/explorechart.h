#pragma once

#include "analysis/analysiscaptions.h"
#include "analysis/chartplot.h"
#include "model/csvtable.h"
#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "widgets/paintbox.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The explore window's chart: x(t) of the current values, v(t) and the
// driving force F(t) on request, each on a scale of its own at the right, the
// kept curves behind them, each in its own colour, a legend naming every
// curve below, and a measuring cursor, which a printed page leaves out. The
// mouse or the arrow keys move the cursor; a click or Space sets a mark, two marks measure the span
// between them. The wheel, + and − zoom the time axis, a drag across the plot zooms to the span
// dragged over; a double click or 0 shows the whole run again.
class ExploreChart : public TPaintBox
{
    Q_OBJECT

public:
    static constexpr int MaxKept = 5;
    // A kept curve holds at most this many samples, its extremes among them,
    // so that five of them stay small however long the run.
    static constexpr std::size_t KeptPoints = 100'000;

    ExploreChart(const ExploreCaptions &captions, QWidget *parent = nullptr);
    ~ExploreChart() override;

    // The motion to draw; null when the values give none.
    void SetMotion(const ModelParameters &parameters, std::shared_ptr<const MotionModel> motion);
    const MotionModel *Motion() const { return m_motion.get(); }

    // Keeps the current curve, the oldest kept one giving way beyond MaxKept.
    void Keep();
    void ClearKept();
    int KeptCount() const { return int(m_kept.size()); }
    void SetShowsVelocity(bool shows);
    void SetShowsForce(bool shows);

    struct TimeSpan
    {
        double from = 0; // s
        double to = 0; // s
    };
    // The times across the plot: the whole run's axis, or the zoomed span
    // within [0, stop time]. A new run keeps the zoom unless its stop time
    // differs; a printed page shows the whole run.
    TimeSpan VisibleTimes() const;
    void ShowWholeRun();

    // What names a kept curve: how its values differ from the current ones.
    std::function<QString(const ModelParameters &kept, const ModelParameters &current)> KeptLabel;

    // The current series and each kept curve's times and x, for the export,
    // the headers of a thinned one ending in "_thinned"; nothing while there
    // is no motion.
    std::optional<CsvTable> Table() const;

    struct LegendEntry
    {
        ChartLine line;
        QString text;
    };
    // The current curve, then each kept one with all its differences, drawn in
    // colours: wrapped below the plot rather than cut, or on the screen, where
    // that would leave the plot less than half the chart's height, in one row
    // with each text cut to its share and told whole by the row's tooltip.
    std::vector<LegendEntry> Legend(const ChartColours &colours) const;

    // The cursor's reading of t, x, v and, while it is shown, F, and the
    // marks' span, or the hints when there is no cursor. A new run clears
    // the marks.
    QString CursorText() const;

signals:
    void CursorChanged();

protected:
    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // What a kept curve needs to be drawn and exported, not its whole run.
    struct Curve
    {
        ModelParameters parameters;
        std::vector<std::size_t> samples; // of the whole run, at parameters.PrintStep
        std::vector<float> coordinates; // m
        SeriesRange range; // of the whole run's coordinates
        bool thinned = false;

        // s, of the j-th sample kept
        double Time(std::size_t j) const { return samples[j] * double(parameters.PrintStep); }
    };

    void Paint(QPainter &painter, const ChartColours &colours);
    // The plot's place as drawn in colours; without them, as on the screen.
    QRect PlotRect(const ChartColours &colours) const;
    QRect PlotRect() const;
    int LegendTextWidth() const;
    int WrappedLegendHeight() const;
    // Whether the legend lies in one row beside the time axis' caption.
    bool LegendInRow(const ChartColours &colours) const;
    // The row's place and each entry's share of its width, in Legend's order.
    QRect LegendRow() const;
    std::vector<int> LegendRowShares() const;
    void DrawLegend(QPainter &painter, const ChartColours &colours) const;
    PlotScale TimeScale() const;
    // The time at pixel column x, and that of the sample nearest to it.
    double TimeOfColumn(double x) const;
    double TimeAt(int x) const;
    // Shows [from, to], widened to MinimumZoomSamples, moved within the run,
    // or the whole run when it covers the run.
    void ShowTimes(double from, double to);
    // Narrows (factor below 1) or widens the span shown, anchor staying put.
    void Zoom(double anchor, double factor);
    double ValueAt(MotionModel::Series series, double time) const;
    // Whether there are samples for the cursor to read.
    bool Measurable() const;
    void MoveCursor(double time);
    // Sets a mark at time, the third starting a new pair.
    void SetMark(double time);

    const ExploreCaptions &m_captions;
    ModelParameters m_parameters;
    std::shared_ptr<const MotionModel> m_motion;
    std::vector<Curve> m_kept;
    bool m_showsVelocity = false;
    bool m_showsForce = false;
    SeriesRange m_forceRange; // of the current run, which the model leaves out
    std::optional<TimeSpan> m_zoom; // none: the whole run
    std::optional<double> m_cursor; // s
    std::vector<double> m_marks; // s, at most two
    // The marks before the last click, which a double click brings back.
    std::vector<double> m_marksBeforeClick;
    // While the left button is held: the column it was pressed at, and the
    // column dragged to once it moved far enough to zoom rather than mark.
    std::optional<int> m_pressColumn;
    std::optional<int> m_dragColumn;
};
