#pragma once

#include "model/modelparameters.h"

// The one-click parameter sets of the explore window, each showing one
// phenomenon from where the user stands.
enum class Preset {
    FreeOscillation, // no damping, no drive, released from a deflection
    Underdamped, // zeta = 0.1, released
    CriticallyDamped, // b = 2 sqrt(k m), released
    Overdamped, // zeta = 2, released
    Resonance, // light damping, driven from rest at the resonance frequency
    Beats, // no damping, driven from rest close to w0, two beat periods long
    HorizontalPlane, // the plane angle 0
    Nominal, // the shipped parameter file's values
};
constexpr int PresetCount = 8;

// The values of the shipped parameter file.
ModelParameters NominalModelParameters();

// current with what preset sets, every value as the parameter file holds it.
// Mass and stiffness are kept where they give a natural frequency, otherwise
// taken from the nominal values.
ModelParameters ApplyPreset(Preset preset, const ModelParameters &current);

// The drive of the beats preset lies this share of w0 below it.
constexpr double BeatsDetuning = 0.1;
