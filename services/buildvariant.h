#pragma once

#include "model/modelparameters.h"

// What distinguishes the two builds of the program. main() installs its
// build's variant before any window is made; until then the main build's holds.
struct BuildVariant
{
    ParameterFileNaming naming;
    const char *openFailureMessage;
};

inline constexpr BuildVariant MainBuild { ParameterFileNaming::AfterExecutable,
    "Can't open data file" };
inline constexpr BuildVariant FixedNameBuild { ParameterFileNaming::Fixed,
    "Can't open mirvane.dat" };

// Returns the variant replaced.
BuildVariant SetBuildVariant(BuildVariant variant);
const BuildVariant &CurrentBuildVariant();
