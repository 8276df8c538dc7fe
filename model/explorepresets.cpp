#include "model/explorepresets.h"

#include "model/derivedquantities.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

ModelParameters NominalModelParameters()
{
    return { .TimeStep = 0.01f,
        .PrintStep = 0.01f,
        .StopTime = 10,
        .Mass = 2,
        .Damping = 0,
        .Stiffness = 600,
        .ForceAmplitude = 12,
        .ForceFrequency = 17.3205f,
        .ForcePhase = 0,
        .PlaneAngle = 30,
        .Gravity = 9.8f,
        .SpringLength = 0.4f,
        .InitialDeflection = 0,
        .InitialVelocity = 0 };
}

namespace {

// Far enough to see, short of the spring's length.
constexpr float ReleaseDeflection = 0.1f;
// The presets that release the mass, with the damping ratio each gives.
constexpr std::pair<Preset, double> Released[] = { { Preset::FreeOscillation, 0 },
    { Preset::Underdamped, 0.1 }, { Preset::CriticallyDamped, 1 }, { Preset::Overdamped, 2 } };
// Light enough for a clear peak, heavy enough for a steady state.
constexpr double ResonanceRatio = 0.05;
// A run shows this many periods of w0, enough to see what a regime does.
constexpr double ShownPeriods = 5;
// A drive starts up in five time constants 1/(zeta w0), to e^-5.
constexpr double StartUpTimeConstants = 5;
// Samples a period of w0 at least, for a smooth curve.
constexpr double SamplesPerPeriod = 20;
// Samples a run at most, far inside what the model computes.
constexpr double MaxRunSamples = 1e6;

// A run of stop seconds, the steps as they were where they draw a period of
// w0 smoothly and keep the run small.
void runFor(ModelParameters &p, double w0, double stop)
{
    p.StopTime = static_cast<float>(stop);
    const double period = 2 * std::numbers::pi / w0;
    for (float *step : { &p.TimeStep, &p.PrintStep })
        *step = static_cast<float>(
            std::clamp(double(*step), stop / MaxRunSamples, period / SamplesPerPeriod));
}

// The value shown to six significant digits, so that the field shows the
// same digits as the derived quantity it stands for.
double shownDigits(double value)
{
    const double scale = std::pow(10.0, 5 - std::floor(std::log10(std::abs(value))));
    return std::round(value * scale) / scale;
}

// A released mass with no drive and damping ratio zeta.
void release(ModelParameters &p, double critical, double zeta)
{
    p.Damping = static_cast<float>(critical * zeta);
    p.ForceAmplitude = 0;
    p.InitialDeflection = ReleaseDeflection;
    p.InitialVelocity = 0;
}

// Driven from rest by a force, the nominal one when there is none.
void driveFromRest(ModelParameters &p)
{
    if (p.ForceAmplitude == 0)
        p.ForceAmplitude = NominalModelParameters().ForceAmplitude;
    p.InitialDeflection = 0;
    p.InitialVelocity = 0;
}

ModelParameters presetValues(Preset preset, const ModelParameters &current)
{
    if (preset == Preset::Nominal)
        return NominalModelParameters();
    ModelParameters p = current;
    if (preset == Preset::HorizontalPlane) {
        p.PlaneAngle = 0;
        return p;
    }
    if (std::isnan(DeriveQuantities(p).NaturalFrequency)) {
        p.Mass = NominalModelParameters().Mass;
        p.Stiffness = NominalModelParameters().Stiffness;
    }
    const DerivedQuantities derived
        = DeriveQuantities({ .Mass = p.Mass, .Stiffness = p.Stiffness });
    const double critical = derived.CriticalDamping;
    const double w0 = derived.NaturalFrequency;
    const double period = 2 * std::numbers::pi / w0;
    for (const auto &[released, ratio] : Released) {
        if (preset == released) {
            release(p, critical, ratio);
            runFor(p, w0, ShownPeriods * period);
        }
    }
    switch (preset) {
    case Preset::Resonance:
        driveFromRest(p);
        p.Damping = static_cast<float>(critical * ResonanceRatio);
        p.ForceFrequency = static_cast<float>(
            shownDigits(w0 * std::sqrt(1 - 2 * ResonanceRatio * ResonanceRatio)));
        runFor(p, w0, ShownPeriods * period + StartUpTimeConstants / (ResonanceRatio * w0));
        break;
    case Preset::Beats:
        driveFromRest(p);
        p.Damping = 0;
        p.ForceFrequency = static_cast<float>(w0 * (1 - BeatsDetuning));
        // Beats repeat at the difference of the two frequencies.
        runFor(p, w0, 2 * 2 * std::numbers::pi / (w0 * BeatsDetuning));
        break;
    default:
        break;
    }
    return p;
}

} // namespace

ModelParameters ApplyPreset(Preset preset, const ModelParameters &current)
{
    // What the file gives back, so that applying a preset keeps its motion.
    ModelParameters p = presetValues(preset, current);
    const auto fields = p.fields();
    for (int field = 0; field < ModelParameters::Count; ++field)
        *fields[field] = WrittenValue(field, *fields[field]);
    return p;
}
