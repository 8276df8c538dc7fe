#include "analysis/resonancewindow.h"

#include "analysis/chartplot.h"
#include "analysis/parameterslider.h"
#include "model/derivedquantities.h"
#include "model/frequencysweep.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/numberstyles.h"
#include "widgets/formgeometry.h"
#include "widgets/paintbox.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

template <auto Member> constexpr LocaleKey resonanceKey(const char *name)
{
    return textKey<ResonanceWindow, &ResonanceWindow::Captions, Member>(name);
}

constexpr LocaleKey ResonanceKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    resonanceKey<&ResonanceCaptions::FormCaption>("FormCaption"),
    resonanceKey<&ResonanceCaptions::Rule>("Label1"),
    resonanceKey<&ResonanceCaptions::Cancel>("Button1"),
    resonanceKey<&ResonanceCaptions::Close>("Button2"),
    laterKey(resonanceKey<&ResonanceCaptions::PlotName>("PlotName")),
    resonanceKey<&ResonanceCaptions::AmplitudeAxis>("AmplitudeAxis"),
    resonanceKey<&ResonanceCaptions::FrequencyAxis>("FrequencyAxis"),
    resonanceKey<&ResonanceCaptions::SweepLegend>("SweepLegend"),
    resonanceKey<&ResonanceCaptions::ClosedFormLegend>("ClosedFormLegend"),
    resonanceKey<&ResonanceCaptions::CurrentLegend>("CurrentLegend"),
    resonanceKey<&ResonanceCaptions::ClosedForm>("ClosedForm"),
    resonanceKey<&ResonanceCaptions::Undamped>("Undamped"),
    resonanceKey<&ResonanceCaptions::Running>("Running"),
    resonanceKey<&ResonanceCaptions::Cancelled>("Cancelled"),
    resonanceKey<&ResonanceCaptions::Failed>("Failed"),
    laterKey(resonanceKey<&ResonanceCaptions::OutOfMemory>("OutOfMemory")),
    laterKey(resonanceKey<&ResonanceCaptions::PointTooLarge>("PointTooLarge")),
    resonanceKey<&ResonanceCaptions::NoNaturalFrequency>("NoNaturalFrequency"),
    laterKey(resonanceKey<&ResonanceCaptions::NoDrivingForce>("NoDrivingForce")),
    resonanceKey<&ResonanceCaptions::NoMotion>("NoMotion"),
    resonanceKey<&ResonanceCaptions::TooMuchWork>("TooMuchWork"),
    laterKey(resonanceKey<&ResonanceCaptions::PhaseRule>("PhaseRule")),
    laterKey(resonanceKey<&ResonanceCaptions::PhaseAxis>("PhaseAxis")),
    laterKey(resonanceKey<&ResonanceCaptions::PhaseSweepLegend>("PhaseSweepLegend")),
    laterKey(resonanceKey<&ResonanceCaptions::PhaseClosedFormLegend>("PhaseClosedFormLegend")),
    laterKey(resonanceKey<&ResonanceCaptions::PhaseUndamped>("PhaseUndamped")),
    laterKey(resonanceKey<&ResonanceCaptions::Mark>("Mark")),
    laterKey(resonanceKey<&ResonanceCaptions::MarkUndamped>("MarkUndamped")),
    laterKey(textKey<ResonanceWindow, &ResonanceWindow::Captions, &ResonanceCaptions::Source,
        &ParameterSourceCaptions::File>("SourceFile")),
    laterKey(textKey<ResonanceWindow, &ResonanceWindow::Captions, &ResonanceCaptions::Source,
        &ParameterSourceCaptions::Explore>("SourceExplore")),
};

constexpr SectionTable ResonanceWindowCaptions { .keys = ResonanceKeys,
    .menuKeys = PictureMenuKeys };

} // namespace

ResonanceWindow::ResonanceWindow(QWidget *parent)
    : QDialog(parent)
{
    // The menu is there for the localisation step to relabel.
    Chart = PlaceControl(new TPaintBox(this), "chart", 8, 8, 684, 400);
    ChartMenu = new PictureMenu(*Chart, *this);
    ChartMenu->AddOutputEntries(
        QStringLiteral("mirvane-resonance"), [this] { return CurveTable(); });
    PictureMenuTexts menuTexts = ChartMenu->Texts();
    menuTexts.NoData = Captions.NoCurve;
    ChartMenu->SetTexts(menuTexts);
    RunLocalisationStep(*this, LocalisationSection::Resonance);
    setWindowTitle(Captions.FormCaption);
    PlaceWindow(*this, 200, 150, 700, 515, WindowSizing::Fixed);

    Chart->SetFillsBackground(true);
    Chart->OnPaint
        = [this](QPainter &painter, const ChartColours &colours) { PaintChart(painter, colours); };
    Chart->setAccessibleName(Captions.PlotName);
    RuleLabel = PlaceControl(new QLabel(Captions.Rule, this), "ruleLabel", 8, 412, 684, 16);
    PhaseRuleLabel
        = PlaceControl(new QLabel(Captions.PhaseRule, this), "phaseRuleLabel", 8, 428, 684, 16);
    StatusLabel = PlaceControl(new QLabel(this), "statusLabel", 8, 444, 684, 16);
    SourceLabel = PlaceControl(new QLabel(this), "sourceLabel", 8, 460, 684, 16);
    // Captions are never markup.
    for (QLabel *label : { RuleLabel, PhaseRuleLabel, StatusLabel, SourceLabel })
        label->setTextFormat(Qt::PlainText);
    Progress = PlaceControl(new QProgressBar(this), "progress", 8, 482, 470, 25);
    CancelButton
        = PlaceControl(new QPushButton(Captions.Cancel, this), "cancelButton", 488, 482, 97, 25);
    auto *closeButton
        = PlaceControl(new QPushButton(Captions.Close, this), "closeButton", 595, 482, 97, 25);
    connect(CancelButton, &QPushButton::clicked, this, &ResonanceWindow::CancelSweep);
    connect(closeButton, &QPushButton::clicked, this, [this] { done(1); });

    m_sweepTimer = new QTimer(this);
    m_sweepTimer->setInterval(20);
    connect(m_sweepTimer, &QTimer::timeout, this, &ResonanceWindow::SweepTimerTick);
}

void ResonanceWindow::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, ResonanceWindowCaptions, entries);
}

ResonanceWindow::~ResonanceWindow() = default;

void ResonanceWindow::Open(const ModelParameters &parameters, ParameterSource source)
{
    show();
    raise();
    activateWindow();
    Follow(parameters, source);
}

void ResonanceWindow::Follow(const ModelParameters &parameters, ParameterSource source)
{
    if (!isVisible())
        return;
    SourceLabel->setText(Captions.Source.Of(source));
    ModelParameters swept = m_parameters;
    m_parameters = parameters;
    // The drive frequency is what the sweep varies: its curve holds for any.
    swept.ForceFrequency = parameters.ForceFrequency;
    if (m_sweep && swept == parameters)
        ShowProgress();
    else
        StartSweep();
}

void ResonanceWindow::StartSweep()
{
    if (m_sweep) {
        m_sweep->Cancel();
        m_abandoned.push_back(std::move(m_sweep));
    }
    m_sweep = std::make_unique<FrequencySweep>(
        m_parameters, FrequencySweep::DefaultFrequencies(m_parameters));
    Progress->setRange(0, std::max(m_sweep->PointCount(), 1));
    // A core stays free for the explore window's curve and the controls.
    m_sweep->Start(std::max(1, FrequencySweep::DefaultThreads() - 1));
    m_sweepTimer->start();
    ShowProgress();
}

void ResonanceWindow::done(int result)
{
    // No worker outlives the showing: the points running finish, no more start.
    m_sweepTimer->stop();
    m_abandoned.clear();
    m_sweep.reset();
    QDialog::done(result);
}

void ResonanceWindow::CancelSweep()
{
    m_sweep->Cancel();
    m_sweep->Wait();
    SweepTimerTick();
}

void ResonanceWindow::SweepTimerTick()
{
    std::erase_if(m_abandoned, [](const auto &sweep) { return sweep->Finished(); });
    if (m_sweep->Finished()) {
        m_sweep->Wait();
        if (m_abandoned.empty())
            m_sweepTimer->stop();
    }
    ShowProgress();
}

void ResonanceWindow::ShowProgress()
{
    const bool running = !m_sweep->Finished();
    Progress->setValue(m_sweep->PointsDone());
    Progress->setVisible(running);
    CancelButton->setVisible(running);
    StatusLabel->setText(StatusText());
    Chart->setAccessibleDescription(MarkText());
    Chart->update();
}

QString ResonanceWindow::StatusText() const
{
    const QString done = QString::number(m_sweep->PointsDone());
    const QString all = QString::number(m_sweep->PointCount());
    switch (m_sweep->GetRefusal()) {
    case FrequencySweep::Refusal::NoNaturalFrequency:
        return Captions.NoNaturalFrequency;
    case FrequencySweep::Refusal::NoDrivingForce:
        return Captions.NoDrivingForce;
    case FrequencySweep::Refusal::NoMotion:
        return Captions.NoMotion;
    case FrequencySweep::Refusal::TooMuchWork:
        return Captions.TooMuchWork;
    case FrequencySweep::Refusal::None:
        break;
    }
    if (!m_sweep->Finished())
        return Captions.Running.arg(done, all);
    switch (m_sweep->GetFailure()) {
    case FrequencySweep::Failure::OutOfMemory:
        return Captions.Failed.arg(Captions.OutOfMemory);
    case FrequencySweep::Failure::TooLarge:
        return Captions.Failed.arg(Captions.PointTooLarge);
    case FrequencySweep::Failure::None:
        break;
    }
    if (m_sweep->PointsDone() < m_sweep->PointCount())
        return Captions.Cancelled.arg(done, all);
    if (!Damped())
        return Captions.Undamped;
    return Captions.ClosedForm.arg(GeneralStyle(NaturalFrequency(m_parameters), 4, 1));
}

ResonanceWindow::Reading ResonanceWindow::CurrentReading() const
{
    const double frequency = m_parameters.ForceFrequency;
    Reading reading { qQNaN(), qQNaN() };
    if (!m_sweep)
        return reading;
    const std::vector<SweepPoint> points = m_sweep->Points();
    const auto above = std::lower_bound(points.begin(), points.end(), frequency,
        [](const SweepPoint &point, double value) { return point.Frequency < value; });
    if (above == points.end() || !above->Done)
        return reading;
    if (above->Frequency == frequency)
        return { above->Amplitude, above->PhaseLag };
    if (above == points.begin() || !std::prev(above)->Done)
        return reading;
    const SweepPoint &below = *std::prev(above);
    const double share = (frequency - below.Frequency) / (above->Frequency - below.Frequency);
    return { std::lerp(below.Amplitude, above->Amplitude, share),
        std::lerp(below.PhaseLag, above->PhaseLag, share) };
}

QStringList ResonanceWindow::HandoutNotes() const
{
    return { RuleLabel->text(), PhaseRuleLabel->text(), StatusLabel->text(), SourceLabel->text() };
}

QString ResonanceWindow::MarkText() const
{
    const Reading reading = CurrentReading();
    if (std::isnan(reading.amplitude))
        return {};
    const QString frequency = ShownValue(m_parameters.ForceFrequency);
    const QString amplitude = GeneralStyle(reading.amplitude, 3, 1);
    if (!Damped())
        return Captions.MarkUndamped.arg(frequency, amplitude);
    return Captions.Mark.arg(frequency, amplitude, QLocale().toString(reading.phaseLag, 'f', 0));
}

std::optional<CsvTable> ResonanceWindow::CurveTable() const
{
    if (!m_sweep)
        return std::nullopt;
    // Floats all: the frequencies are, and the amplitudes are read off float samples.
    std::vector<float> frequencies, computed, steady, computedLag, steadyLag;
    for (const SweepPoint &point : m_sweep->Points()) {
        if (!point.Done)
            continue;
        frequencies.push_back(point.Frequency);
        computed.push_back(static_cast<float>(point.Amplitude));
        steady.push_back(static_cast<float>(SteadyStateAmplitude(m_parameters, point.Frequency)));
        computedLag.push_back(static_cast<float>(point.PhaseLag));
        steadyLag.push_back(static_cast<float>(SteadyStatePhaseLag(m_parameters, point.Frequency)));
    }
    if (frequencies.empty())
        return std::nullopt;
    CsvTable table;
    table.AddColumn("omega_1_per_s", std::move(frequencies));
    table.AddColumn("A_computed_m", std::move(computed));
    // Without damping there is no steady state and no lag, as the window says.
    if (Damped()) {
        table.AddColumn("A_steady_state_m", std::move(steady));
        table.AddColumn("phi_computed_deg", std::move(computedLag));
        table.AddColumn("phi_steady_state_deg", std::move(steadyLag));
    }
    return table;
}

void ResonanceWindow::PaintChart(QPainter &painter, const ChartColours &colours)
{
    const double w0 = NaturalFrequency(m_parameters);
    if (!m_sweep || std::isnan(w0))
        return;
    const std::vector<SweepPoint> points = m_sweep->Points();
    const bool damped = Damped();

    std::vector<QPointF> swept, steady, sweptLag, steadyLag;
    double highest = 0;
    for (const SweepPoint &point : points) {
        const double ratio = point.Frequency / w0;
        const double amplitude = point.Done ? point.Amplitude : qQNaN();
        swept.emplace_back(ratio, amplitude);
        sweptLag.emplace_back(ratio, point.Done ? point.PhaseLag : qQNaN());
        if (std::isfinite(amplitude))
            highest = std::max(highest, amplitude);
        if (damped) {
            const double exact = SteadyStateAmplitude(m_parameters, point.Frequency);
            steady.emplace_back(ratio, exact);
            steadyLag.emplace_back(ratio, SteadyStatePhaseLag(m_parameters, point.Frequency));
            highest = std::max(highest, exact);
        }
    }

    const PlotScale frequencyScale = PlotScale::Around(0, FrequencySweep::DefaultHighest);
    const QRect amplitudeArea(60, 24, Chart->width() - 80, 200);
    // No points yet: a plain scale.
    const PlotArea amplitudePlot(amplitudeArea, frequencyScale,
        PlotScale::Around(0, highest > 0 ? highest : 1), nullptr, colours);
    const QRect phaseArea(60, 266, Chart->width() - 80, 100);
    const PlotArea phasePlot(phaseArea, frequencyScale, PlotScale { 0, 180, 45 }, nullptr, colours);
    amplitudePlot.DrawFrame(painter);
    phasePlot.DrawFrame(painter);
    painter.setPen(colours.ScaleText);
    painter.drawText(QPoint(4, 14), Captions.AmplitudeAxis);
    painter.drawText(QPoint(4, phaseArea.top() - 6), Captions.PhaseAxis);
    painter.drawText(
        QPoint(phaseArea.right() - 40, phaseArea.bottom() + 32), Captions.FrequencyAxis);

    amplitudePlot.DrawCurve(painter, swept, colours.SweptAmplitude, 3);
    if (damped) {
        amplitudePlot.DrawCurve(painter, steady, colours.ClosedFormAmplitude, 1);
        phasePlot.DrawCurve(painter, sweptLag, colours.SweptAmplitude, 3);
        phasePlot.DrawCurve(painter, steadyLag, colours.ClosedFormAmplitude, 1);
    } else {
        painter.setPen(colours.Cursor);
        painter.drawText(phaseArea, Qt::AlignCenter | Qt::TextWordWrap, Captions.PhaseUndamped);
    }
    PaintMark(painter, colours, amplitudePlot, phasePlot, w0);

    const auto legend = [&painter, &colours](int top, const auto &entries) {
        int left = 60;
        for (const auto &[line, text] : entries) {
            DrawLegendEntry(painter, QPoint(left, top), line, *text, QWIDGETSIZE_MAX, colours);
            left += 40 + painter.fontMetrics().horizontalAdvance(*text);
        }
    };
    using Entry = std::pair<ChartLine, const QString *>;
    std::vector<Entry> amplitudeEntries { { colours.SweptAmplitude, &Captions.SweepLegend } };
    if (damped)
        amplitudeEntries.emplace_back(colours.ClosedFormAmplitude, &Captions.ClosedFormLegend);
    // The mark's entry reads the curve there, once it can.
    const QString mark = MarkText();
    amplitudeEntries.emplace_back(
        colours.CurrentFrequency, mark.isEmpty() ? &Captions.CurrentLegend : &mark);
    legend(4, amplitudeEntries);
    if (damped) {
        legend(phaseArea.top() - 20,
            std::vector<Entry> { { colours.SweptAmplitude, &Captions.PhaseSweepLegend },
                { colours.ClosedFormAmplitude, &Captions.PhaseClosedFormLegend } });
    }
}

void ResonanceWindow::PaintMark(QPainter &painter, const ChartColours &colours,
    const PlotArea &amplitude, const PlotArea &phase, double w0) const
{
    const double current = m_parameters.ForceFrequency / w0;
    if (!(current >= 0 && current <= FrequencySweep::DefaultHighest))
        return;
    const int x = amplitude.X(current);
    const Reading reading = CurrentReading();
    const auto mark = [&](const PlotArea &plot, double value) {
        const QRect area = plot.Area();
        painter.save();
        painter.setClipRect(area.adjusted(1, 1, -1, -1));
        painter.setPen(QPen(colours.CurrentFrequency, 1, Qt::DashLine));
        {
            const DesignedLines lines(painter);
            painter.drawLine(x, area.top() + 1, x, area.bottom() - 1);
        }
        if (std::isfinite(value)) {
            painter.setPen(colours.Cursor);
            painter.setBrush(colours.CurrentFrequency);
            painter.drawEllipse(QPoint(x, plot.Y(value)), 4, 4);
        }
        painter.restore();
    };
    mark(amplitude, reading.amplitude);
    mark(phase, Damped() ? reading.phaseLag : qQNaN());
}
