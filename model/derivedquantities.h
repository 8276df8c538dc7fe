#pragma once

struct ModelParameters;

// How the damping shapes the free motion. Undefined: the mass or the
// stiffness is not positive, or the damping is negative or not finite.
enum class DampingRegime { Undefined, Undamped, Underdamped, CriticallyDamped, Overdamped };

// What a teacher reads off the parameters before any computation, all from
// m x'' + b x' + k x = F0 sin(w t + phase). A quantity the parameters do not
// give is NaN.
struct DerivedQuantities
{
    double NaturalFrequency = 0; // w0 = sqrt(k/m), 1/s
    double DampingRatio = 0; // zeta = b / (2 sqrt(k m))
    double CriticalDamping = 0; // 2 sqrt(k m), N s/m
    // The drive frequency of the largest steady amplitude, w0 sqrt(1 - 2 zeta²);
    // none from zeta = 1/sqrt(2) on.
    double ResonanceFrequency = 0; // 1/s
    double DampedPeriod = 0; // 2 pi / (w0 sqrt(1 - zeta²)), s; none from zeta = 1 on
    double QualityFactor = 0; // 1 / (2 zeta), infinite without damping
    DampingRegime Regime = DampingRegime::Undefined;
    // A driving force at the resonance frequency, to within ResonanceTolerance.
    bool DrivenAtResonance = false;

    // zeta this close to 1 reads as 1 where it is shown: critical damping.
    static constexpr double CriticalTolerance = 5e-4;
    // Share of the resonance frequency a drive may lie off it.
    static constexpr double ResonanceTolerance = 0.02;
};

// sqrt(k / m); NaN unless both are positive and finite.
double NaturalFrequency(const ModelParameters &parameters);

DerivedQuantities DeriveQuantities(const ModelParameters &parameters);
