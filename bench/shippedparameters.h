#pragma once

#include "model/modelparameters.h"

#include <stdexcept>

// The parameters a student starts from: those of the shipped parameter file,
// whose path the build gives as MIRVANE_SHIPPED_PARAMETERS.
inline ModelParameters ShippedParameters()
{
    ModelParameters parameters;
    ParameterFileReading reading;
    if (!ReadParameterFile(MIRVANE_SHIPPED_PARAMETERS, parameters, &reading)
        || reading.ValuesRead != ModelParameters::Count)
        throw std::runtime_error("cannot read " MIRVANE_SHIPPED_PARAMETERS);
    return parameters;
}
