#include "analysis/energywindow.h"

#include "analysis/chartplot.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "widgets/formgeometry.h"
#include "widgets/paintbox.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

// More points than the canvas has pixels, few enough to draw at once.
constexpr int DrawnPoints = 20000;

std::vector<QPointF> curve(const std::vector<float> &time, const std::vector<float> &values)
{
    std::vector<QPointF> points;
    points.reserve(time.size());
    for (std::size_t i = 0; i < time.size(); ++i)
        points.emplace_back(time[i], values[i]);
    return points;
}

template <auto Member> constexpr LocaleKey energyKey(const char *name)
{
    return textKey<EnergyWindow, &EnergyWindow::Captions, Member>(name);
}

constexpr LocaleKey EnergyKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    energyKey<&EnergyCaptions::FormCaption>("FormCaption"),
    energyKey<&EnergyCaptions::Method>("Label1"),
    energyKey<&EnergyCaptions::Close>("Button1"),
    laterKey(energyKey<&EnergyCaptions::PlotName>("PlotName")),
    energyKey<&EnergyCaptions::EnergyAxis>("EnergyAxis"),
    energyKey<&EnergyCaptions::ResidualAxis>("ResidualAxis"),
    energyKey<&EnergyCaptions::TimeAxis>("TimeAxis"),
    energyKey<&EnergyCaptions::Kinetic>("Kinetic"),
    energyKey<&EnergyCaptions::Spring>("Spring"),
    energyKey<&EnergyCaptions::DamperWork>("DamperWork"),
    energyKey<&EnergyCaptions::DriveWork>("DriveWork"),
    energyKey<&EnergyCaptions::Residual>("Residual"),
    energyKey<&EnergyCaptions::NoMotion>("NoMotion"),
    laterKey(textKey<EnergyWindow, &EnergyWindow::Captions, &EnergyCaptions::Source,
        &ParameterSourceCaptions::File>("SourceFile")),
    laterKey(textKey<EnergyWindow, &EnergyWindow::Captions, &EnergyCaptions::Source,
        &ParameterSourceCaptions::Explore>("SourceExplore")),
};

constexpr SectionTable EnergyWindowCaptions { .keys = EnergyKeys, .menuKeys = PictureMenuKeys };

} // namespace

EnergyWindow::EnergyWindow(QWidget *parent)
    : QDialog(parent)
{
    // The menu is there for the localisation step to relabel.
    Chart = PlaceControl(new TPaintBox(this), "chart", 8, 8, 684, 420);
    ChartMenu = new PictureMenu(*Chart, *this);
    ChartMenu->AddOutputEntries(
        QStringLiteral("mirvane-energy"), [this] { return BalanceTable(); });
    RunLocalisationStep(*this, LocalisationSection::Energy);
    setWindowTitle(Captions.FormCaption);
    PlaceWindow(*this, 220, 170, 700, 473, WindowSizing::Fixed);

    Chart->SetFillsBackground(true);
    Chart->OnPaint
        = [this](QPainter &painter, const ChartColours &colours) { PaintChart(painter, colours); };
    Chart->setAccessibleName(Captions.PlotName);
    auto *methodLabel
        = PlaceControl(new QLabel(Captions.Method, this), "methodLabel", 8, 436, 577, 16);
    SourceLabel = PlaceControl(new QLabel(this), "sourceLabel", 8, 454, 577, 16);
    // A caption is never markup.
    for (QLabel *label : { methodLabel, SourceLabel })
        label->setTextFormat(Qt::PlainText);
    auto *closeButton
        = PlaceControl(new QPushButton(Captions.Close, this), "closeButton", 595, 444, 97, 25);
    connect(closeButton, &QPushButton::clicked, this, [this] { done(1); });
}

void EnergyWindow::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, EnergyWindowCaptions, entries);
}

void EnergyWindow::Open(
    const ModelParameters &parameters, const MotionModel *motion, ParameterSource source)
{
    show();
    raise();
    activateWindow();
    Follow(parameters, motion, source);
}

void EnergyWindow::Follow(
    const ModelParameters &parameters, const MotionModel *motion, ParameterSource source)
{
    if (!isVisible())
        return;
    SourceLabel->setText(Captions.Source.Of(source));
    m_parameters = parameters;
    m_balance = motion ? ComputeEnergyBalance(*motion, parameters, DrawnPoints) : EnergyBalance();
    Chart->update();
}

QStringList EnergyWindow::HandoutNotes() const
{
    return { Captions.Method, SourceLabel->text() };
}

std::optional<CsvTable> EnergyWindow::BalanceTable() const
{
    if (m_balance.Count() == 0)
        return std::nullopt;
    CsvTable table;
    table.AddSampleTimes("t_s", m_balance.Sample, m_parameters.PrintStep);
    table.AddColumn("E_kinetic_J", m_balance.Kinetic);
    table.AddColumn("E_spring_J", m_balance.Spring);
    table.AddColumn("W_damper_J", m_balance.DamperWork);
    table.AddColumn("W_drive_J", m_balance.DriveWork);
    table.AddColumn("residual_J", m_balance.Residual);
    return table;
}

void EnergyWindow::PaintChart(QPainter &painter, const ChartColours &colours)
{
    const QRect area(60, 24, Chart->width() - 140, Chart->height() - 120);
    if (m_balance.Count() == 0) {
        painter.drawText(area, Qt::AlignCenter, Captions.NoMotion);
        return;
    }
    struct Series
    {
        const std::vector<float> &values;
        ChartLine line;
        const QString &caption;
    };
    const Series energies[] = {
        { m_balance.Kinetic, colours.KineticEnergy, Captions.Kinetic },
        { m_balance.Spring, colours.SpringEnergy, Captions.Spring },
        { m_balance.DamperWork, colours.DamperWork, Captions.DamperWork },
        { m_balance.DriveWork, colours.DriveWork, Captions.DriveWork },
    };
    const Series residual { m_balance.Residual, colours.EnergyResidual, Captions.Residual };

    double lowest = 0, highest = 0;
    for (const Series &series : energies) {
        const auto [low, high] = std::minmax_element(series.values.begin(), series.values.end());
        lowest = std::min<double>(lowest, *low);
        highest = std::max<double>(highest, *high);
    }
    const auto [low, high] = std::minmax_element(residual.values.begin(), residual.values.end());
    const PlotScale residualScale = PlotScale::Around(std::min(0.0f, *low), std::max(0.0f, *high));
    const PlotArea plot(area, PlotScale::Around(0, m_balance.Time.back()),
        PlotScale::Around(lowest, highest), &residualScale, colours);
    plot.DrawFrame(painter);
    painter.setPen(colours.ScaleText);
    painter.drawText(QPoint(4, 14), Captions.EnergyAxis);
    painter.drawText(QPoint(area.right() + 4, 14), Captions.ResidualAxis);
    painter.drawText(QPoint(area.right() - 30, area.bottom() + 32), Captions.TimeAxis);

    plot.DrawCurve(painter, curve(m_balance.Time, residual.values), residual.line, 1, true);
    for (const Series &series : energies)
        plot.DrawCurve(painter, curve(m_balance.Time, series.values), series.line, 2);

    int row = 0;
    for (const Series &series : energies) {
        DrawLegendEntry(painter,
            QPoint(area.left() + (row % 2) * 320, area.bottom() + 40 + (row / 2) * 18), series.line,
            series.caption, QWIDGETSIZE_MAX, colours);
        ++row;
    }
    DrawLegendEntry(painter, QPoint(area.left(), area.bottom() + 40 + (row / 2) * 18),
        residual.line, residual.caption, QWIDGETSIZE_MAX, colours);
}
