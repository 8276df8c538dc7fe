#include "analysis/resonancewindow.h"

#include "analysis/chartplot.h"
#include "model/derivedquantities.h"
#include "model/frequencysweep.h"
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

ResonanceWindow::ResonanceWindow(QWidget *parent)
    : QDialog(parent)
{
    // The menu is there for the localisation step to relabel.
    PaintBox1 = PlaceControl(new TPaintBox(this), "PaintBox1", 8, 8, 684, 380);
    PaintBox1Menu = new PictureMenu(*PaintBox1, *this);
    PaintBox1Menu->AddOutputEntries([this] { return CurveTable(); });
    PictureMenuTexts menuTexts = PaintBox1Menu->Texts();
    menuTexts.NoData = QStringLiteral("Резонансная кривая не рассчитана");
    PaintBox1Menu->SetTexts(menuTexts);
    RunLocalisationStep(*this, LocalisationSection::Resonance);
    setWindowTitle(Captions.FormCaption);
    PlaceWindow(*this, 200, 150, 700, 473, WindowSizing::Fixed);

    PaintBox1->SetFillsBackground(true);
    PaintBox1->OnPaint = [this](QPainter &painter) { PaintBox1Paint(painter); };
    PaintBox1->setAccessibleName(Captions.PlotName);
    Label1 = PlaceControl(new QLabel(Captions.Label1, this), "Label1", 8, 394, 684, 16);
    Label2 = PlaceControl(new QLabel(this), "Label2", 8, 414, 684, 16);
    // Captions are never markup.
    for (QLabel *label : { Label1, Label2 })
        label->setTextFormat(Qt::PlainText);
    ProgressBar1 = PlaceControl(new QProgressBar(this), "ProgressBar1", 8, 440, 470, 25);
    Button1 = PlaceControl(new QPushButton(Captions.Button1, this), "Button1", 488, 440, 97, 25);
    Button2 = PlaceControl(new QPushButton(Captions.Button2, this), "Button2", 595, 440, 97, 25);
    connect(Button1, &QPushButton::clicked, this, &ResonanceWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { done(1); });

    m_sweepTimer = new QTimer(this);
    m_sweepTimer->setInterval(50);
    connect(m_sweepTimer, &QTimer::timeout, this, &ResonanceWindow::SweepTimerTick);
}

ResonanceWindow::~ResonanceWindow() = default;

int ResonanceWindow::Open(const ModelParameters &parameters)
{
    m_parameters = parameters;
    m_sweep = std::make_unique<FrequencySweep>(
        parameters, FrequencySweep::DefaultFrequencies(parameters));
    ProgressBar1->setRange(0, std::max(m_sweep->PointCount(), 1));
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

void ResonanceWindow::Button1Click()
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
    ProgressBar1->setValue(m_sweep->PointsDone());
    ProgressBar1->setVisible(running);
    Button1->setVisible(running);
    Label2->setText(StatusText());
    PaintBox1->update();
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

void ResonanceWindow::PaintBox1Paint(QPainter &painter)
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

    const QRect area(60, 24, PaintBox1->width() - 80, PaintBox1->height() - 64);
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
