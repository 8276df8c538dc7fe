#pragma once

#include <QColor>
#include <QPalette>

#include <array>
#include <optional>

// The colours of every chart, in one place so that a quantity keeps its
// colour from window to window: bright curves on a black plot with a green
// grid and red scales, as the time graphs were designed.
namespace ChartPalette {

inline constexpr QColor PlotBackground(0, 0, 0);
inline constexpr QColor Grid(0, 128, 0);
inline constexpr QColor ScaleText(255, 0, 0);
// The time graphs' axis caption, outside the plot on the window's face.
inline constexpr QColor TimeCaption(0, 0, 255);

inline constexpr QColor Coordinate(255, 255, 0);
inline constexpr QColor Velocity(255, 0, 0);
// The explore chart's driving force: apart from every other curve there,
// its scale labelled in it on the plot's black.
inline constexpr QColor DrivingForce(0, 215, 170);
// The phase portrait lies on the button face, not on black.
inline constexpr QColor Portrait(0, 0, 0);

inline constexpr QColor KineticEnergy(255, 255, 0);
inline constexpr QColor SpringEnergy(255, 0, 255);
inline constexpr QColor DamperWork(0, 255, 0);
inline constexpr QColor DriveWork(255, 128, 0);
inline constexpr QColor EnergyResidual(0, 255, 255);

inline constexpr QColor SweptAmplitude(255, 255, 0);
inline constexpr QColor ClosedFormAmplitude(0, 255, 255);
inline constexpr QColor CurrentFrequency(255, 0, 0);

inline constexpr QColor Cursor(255, 255, 255);
inline constexpr QColor Mark(0, 255, 255);
// One for each kept curve: bright enough for a projector, and apart from the
// current curve's yellow, the velocity's red and the marks' cyan.
inline constexpr std::array<QColor, 5> Kept { QColor(60, 150, 255), QColor(255, 110, 255),
    QColor(0, 230, 0), QColor(255, 150, 0), QColor(190, 150, 255) };

} // namespace ChartPalette

// A curve's colour and the dashes that tell it from the others where colours
// do not: on a page printed in grey. A colour alone is a solid line.
struct ChartLine
{
    constexpr ChartLine(QColor colour, Qt::PenStyle style = Qt::SolidLine)
        : colour(colour)
        , style(style)
    { }

    QColor colour;
    Qt::PenStyle style;

    bool operator==(const ChartLine &) const = default;
};

// The colours a chart is painted in, given to its painting: the designed ones
// on the screen and in its pictures, dark lines on white on paper.
struct ChartColours
{
    QColor PlotBackground;
    QColor Grid;
    QColor ScaleText;
    // What the chart lies on, behind the scale labels, and the legend's text;
    // none: the window's button face and text, as the screen shows them.
    std::optional<QColor> Surface;
    std::optional<QColor> Text;

    ChartLine Coordinate;
    ChartLine Velocity;
    ChartLine DrivingForce;
    ChartLine Portrait;
    // The portrait's axes, with its ranges and units, where no window around
    // it tells its scale: on paper. None on the screen, which has none.
    std::optional<QColor> PortraitAxes;

    ChartLine KineticEnergy;
    ChartLine SpringEnergy;
    ChartLine DamperWork;
    ChartLine DriveWork;
    ChartLine EnergyResidual;

    ChartLine SweptAmplitude;
    ChartLine ClosedFormAmplitude;
    QColor CurrentFrequency;

    QColor Cursor;
    ChartLine Mark;
    std::array<ChartLine, ChartPalette::Kept.size()> Kept;

    QColor SurfaceOn(const QPalette &palette) const
    {
        return Surface.value_or(palette.color(QPalette::Button));
    }
    QColor TextOn(const QPalette &palette) const
    {
        return Text.value_or(palette.color(QPalette::WindowText));
    }

    bool operator==(const ChartColours &) const = default;

    static const ChartColours &Screen();
    static const ChartColours &Paper();
};

inline const ChartColours &ChartColours::Screen()
{
    static const ChartColours screen { .PlotBackground = ChartPalette::PlotBackground,
        .Grid = ChartPalette::Grid,
        .ScaleText = ChartPalette::ScaleText,
        .Surface = std::nullopt,
        .Text = std::nullopt,
        .Coordinate = ChartPalette::Coordinate,
        .Velocity = ChartPalette::Velocity,
        .DrivingForce = ChartPalette::DrivingForce,
        .Portrait = ChartPalette::Portrait,
        .PortraitAxes = std::nullopt,
        .KineticEnergy = ChartPalette::KineticEnergy,
        .SpringEnergy = ChartPalette::SpringEnergy,
        .DamperWork = ChartPalette::DamperWork,
        .DriveWork = ChartPalette::DriveWork,
        .EnergyResidual = ChartPalette::EnergyResidual,
        .SweptAmplitude = ChartPalette::SweptAmplitude,
        .ClosedFormAmplitude = ChartPalette::ClosedFormAmplitude,
        .CurrentFrequency = ChartPalette::CurrentFrequency,
        .Cursor = ChartPalette::Cursor,
        .Mark = ChartPalette::Mark,
        .Kept = { ChartPalette::Kept[0], ChartPalette::Kept[1], ChartPalette::Kept[2],
            ChartPalette::Kept[3], ChartPalette::Kept[4] } };
    return screen;
}

// Toner only for what carries meaning: a light grid, dark curves whose greys
// differ and whose dashes tell apart the ones that print alike.
inline const ChartColours &ChartColours::Paper()
{
    static const ChartColours paper { .PlotBackground = Qt::white,
        .Grid = QColor(200, 200, 200),
        .ScaleText = Qt::black,
        .Surface = QColor(Qt::white),
        .Text = QColor(Qt::black),
        .Coordinate = QColor(0, 0, 0),
        .Velocity = { QColor(200, 30, 30), Qt::DashLine },
        .DrivingForce = { QColor(0, 130, 110), Qt::DashDotLine },
        .Portrait = QColor(0, 0, 0),
        .PortraitAxes = QColor(150, 150, 150),
        .KineticEnergy = QColor(0, 0, 0),
        .SpringEnergy = { QColor(150, 0, 150), Qt::DashLine },
        .DamperWork = { QColor(0, 120, 0), Qt::DotLine },
        .DriveWork = { QColor(190, 90, 0), Qt::DashDotLine },
        .EnergyResidual = { QColor(0, 100, 170), Qt::DashDotDotLine },
        .SweptAmplitude = QColor(0, 0, 0),
        .ClosedFormAmplitude = { QColor(0, 100, 200), Qt::DashLine },
        .CurrentFrequency = QColor(200, 30, 30),
        .Cursor = Qt::black,
        .Mark = { QColor(0, 120, 150), Qt::DotLine },
        .Kept = { ChartLine(QColor(0, 70, 200), Qt::DashLine),
            ChartLine(QColor(150, 0, 150), Qt::DotLine),
            ChartLine(QColor(0, 120, 0), Qt::DashDotLine),
            ChartLine(QColor(190, 90, 0), Qt::DashDotDotLine),
            ChartLine(QColor(100, 60, 160), Qt::DashLine) } };
    return paper;
}
