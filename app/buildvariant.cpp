#include "buildvariant.h"

// Compiled once per build: MIRVANE_FIXED_NAME selects the fixed-name build.
const BuildVariant &CurrentBuildVariant()
{
#ifdef MIRVANE_FIXED_NAME
    static constexpr BuildVariant variant { ParameterFileNaming::Fixed, "Can't open mirvane.dat" };
#else
    static constexpr BuildVariant variant { ParameterFileNaming::AfterExecutable,
        "Can't open data file" };
#endif
    return variant;
}
