#include "analysis/resonancewindow.h"

#include "analysis/chartplot.h"
#include "model/derivedquantities.h"
#include "model/frequencysweep.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/numberstyles.h"
#include "widgets/chartpalette.h"
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
};

constexpr SectionTable ResonanceWindowCaptions { .keys = ResonanceKeys,
    .menuKeys = PictureMenuKeys };

} // namespace

ResonanceWindow::ResonanceWindow(QWidget *parent)
    : QDialog(parent)
{
    // The menu is there for the localisation step to relabel.
    Chart = PlaceControl(new TPaintBox(this), "chart", 8, 8, 684, 380);
    ChartMenu = new PictureMenu(*Chart, *this);
    ChartMenu->AddOutputEntries([this] { return CurveTable(); });
    PictureMenuTexts menuTexts = ChartMenu->Texts();
    menuTexts.NoData = Captions.NoCurve;
    ChartMenu->SetTexts(menuTexts);
    RunLocalisationStep(*this, LocalisationSection::Resonance);
    setWindowTitle(Captions.FormCaption);
    PlaceWindow(*this, 200, 150, 700, 473, WindowSizing::Fixed);

    Chart->SetFillsBackground(true);
    Chart->OnPaint = [this](QPainter &painter) { PaintChart(painter); };
    Chart->setAccessibleName(Captions.PlotName);
    RuleLabel = PlaceControl(new QLabel(Captions.Rule, this), "ruleLabel", 8, 394, 684, 16);
    StatusLabel = PlaceControl(new QLabel(this), "statusLabel", 8, 414, 684, 16);
    // Captions are never markup.
    for (QLabel *label : { RuleLabel, StatusLabel })
        label->setTextFormat(Qt::PlainText);
    Progress = PlaceControl(new QProgressBar(this), "progress", 8, 440, 470, 25);
    CancelButton
        = PlaceControl(new QPushButton(Captions.Cancel, this), "cancelButton", 488, 440, 97, 25);
    auto *closeButton
        = PlaceControl(new QPushButton(Captions.Close, this), "closeButton", 595, 440, 97, 25);
    connect(CancelButton, &QPushButton::clicked, this, &ResonanceWindow::CancelSweep);
    connect(closeButton, &QPushButton::clicked, this, [this] { done(1); });

    m_sweepTimer = new QTimer(this);
    m_sweepTimer->setInterval(50);
    connect(m_sweepTimer, &QTimer::timeout, this, &ResonanceWindow::SweepTimerTick);
}

void ResonanceWindow::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, ResonanceWindowCaptions, entries);
}

ResonanceWindow::~ResonanceWindow() = default;

int ResonanceWindow::Open(const ModelParameters &parameters)
{
    m_parameters = parameters;
    m_sweep = std::make_unique<FrequencySweep>(
        parameters, FrequencySweep::DefaultFrequencies(parameters));
    Progress->setRange(0, std::max(m_sweep->PointCount(), 1));
    m_sweep->Start();
    m_sweepTimer->start();
    ShowProgress();
    return exec();
}

void ResonanceWindow::done(int result)
{
    // No worker outlives the showing: the points running finish, no more start.
    m_sweepTimer->stop();
    if (m_sweep) {
        m_sweep->Cancel();
        m_sweep->Wait();
    }
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
    if (m_sweep->Finished()) {
        m_sweep->Wait();
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
    if (!(m_parameters.Damping > 0))
        return Captions.Undamped;
    return Captions.ClosedForm.arg(GeneralStyle(NaturalFrequency(m_parameters), 4, 1));
}

std::optional<CsvTable> ResonanceWindow::CurveTable() const
{
    if (!m_sweep)
        return std::nullopt;
    std::vector<float> frequencies;
    std::vector<double> computed, steady;
    for (const SweepPoint &point : m_sweep->Points()) {
        if (!point.Done)
            continue;
        frequencies.push_back(point.Frequency);
        computed.push_back(point.Amplitude);
        steady.push_back(SteadyStateAmplitude(m_parameters, point.Frequency));
    }
    if (frequencies.empty())
        return std::nullopt;
    CsvTable table;
    table.AddColumn("omega_1_per_s", std::move(frequencies));
    table.AddColumn("A_computed_m", std::move(computed));
    // Without damping there is no steady state, as the window says.
    if (m_parameters.Damping > 0)
        table.AddColumn("A_steady_state_m", std::move(steady));
    return table;
}

void ResonanceWindow::PaintChart(QPainter &painter)
{
    const double w0 = NaturalFrequency(m_parameters);
    if (!m_sweep || std::isnan(w0))
        return;
    const std::vector<SweepPoint> points = m_sweep->Points();
    const bool closedForm = m_parameters.Damping > 0;

    std::vector<QPointF> swept, steady;
    double highest = 0;
    for (const SweepPoint &point : points) {
        const double amplitude = point.Done ? point.Amplitude : qQNaN();
        swept.emplace_back(point.Frequency / w0, amplitude);
        if (std::isfinite(amplitude))
            highest = std::max(highest, amplitude);
        if (closedForm) {
            const double exact = SteadyStateAmplitude(m_parameters, point.Frequency);
            steady.emplace_back(point.Frequency / w0, exact);
            highest = std::max(highest, exact);
        }
    }

    const QRect area(60, 24, Chart->width() - 80, Chart->height() - 64);
    const PlotArea plot(area, PlotScale::Around(0, FrequencySweep::DefaultHighest),
        PlotScale::Around(0, highest > 0 ? highest : 1)); // no points yet: a plain scale
    plot.DrawFrame(painter);
    painter.setPen(ChartPalette::ScaleText);
    painter.drawText(QPoint(4, 14), Captions.AmplitudeAxis);
    painter.drawText(QPoint(area.right() - 40, area.bottom() + 32), Captions.FrequencyAxis);

    const double current = m_parameters.ForceFrequency / w0;
    if (current >= 0 && current <= FrequencySweep::DefaultHighest) {
        painter.setPen(QPen(ChartPalette::CurrentFrequency, 1, Qt::DashLine));
        const DesignedLines lines(painter);
        painter.drawLine(plot.X(current), area.top() + 1, plot.X(current), area.bottom() - 1);
    }
    plot.DrawCurve(painter, swept, ChartPalette::SweptAmplitude, 3);
    if (closedForm)
        plot.DrawCurve(painter, steady, ChartPalette::ClosedFormAmplitude, 1);

    int left = area.left();
    const auto legend = [&](const QColor &colour, const QString &text) {
        DrawLegendEntry(painter, QPoint(left, 4), colour, text);
        left += 40 + painter.fontMetrics().horizontalAdvance(text);
    };
    legend(ChartPalette::SweptAmplitude, Captions.SweepLegend);
    if (closedForm)
        legend(ChartPalette::ClosedFormAmplitude, Captions.ClosedFormLegend);
    legend(ChartPalette::CurrentFrequency, Captions.CurrentLegend);
}
