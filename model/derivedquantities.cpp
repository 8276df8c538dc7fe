#include "model/derivedquantities.h"

#include "model/modelparameters.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double None = std::numeric_limits<double>::quiet_NaN();

DampingRegime regimeOf(double damping, double ratio)
{
    if (damping == 0)
        return DampingRegime::Undamped;
    if (std::abs(ratio - 1) <= DerivedQuantities::CriticalTolerance)
        return DampingRegime::CriticallyDamped;
    return ratio < 1 ? DampingRegime::Underdamped : DampingRegime::Overdamped;
}

} // namespace

double NaturalFrequency(const ModelParameters &parameters)
{
    const double m = parameters.Mass, k = parameters.Stiffness;
    if (!(std::isfinite(m) && std::isfinite(k) && m > 0 && k > 0))
        return None;
    return std::sqrt(k / m);
}

DerivedQuantities DeriveQuantities(const ModelParameters &parameters)
{
    const double w0 = NaturalFrequency(parameters);
    const double b = parameters.Damping;
    DerivedQuantities derived { .NaturalFrequency = w0,
        .DampingRatio = None,
        .CriticalDamping = None,
        .ResonanceFrequency = None,
        .DampedPeriod = None,
        .QualityFactor = None };
    if (std::isnan(w0) || !std::isfinite(b) || b < 0)
        return derived;

    const double critical = 2 * std::sqrt(double(parameters.Stiffness) * parameters.Mass);
    const double zeta = b / critical;
    derived.CriticalDamping = critical;
    derived.DampingRatio = zeta;
    derived.QualityFactor = zeta > 0 ? 1 / (2 * zeta) : std::numeric_limits<double>::infinity();
    derived.Regime = regimeOf(b, zeta);
    if (derived.Regime == DampingRegime::Underdamped || derived.Regime == DampingRegime::Undamped)
        derived.DampedPeriod = 2 * std::numbers::pi / (w0 * std::sqrt(1 - zeta * zeta));
    if (zeta * zeta < 0.5) {
        const double resonance = w0 * std::sqrt(1 - 2 * zeta * zeta);
        derived.ResonanceFrequency = resonance;
        derived.DrivenAtResonance = parameters.ForceAmplitude != 0
            && std::abs(parameters.ForceFrequency - resonance)
                <= DerivedQuantities::ResonanceTolerance * resonance;
    }
    return derived;
}
