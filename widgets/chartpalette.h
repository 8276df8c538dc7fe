#pragma once

#include <QColor>

#include <array>

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
