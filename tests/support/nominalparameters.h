#pragma once

#include "model/explorepresets.h"

// The parameters of the shipped parameter file, the ones a student starts from.
inline ModelParameters NominalParameters()
{
    return NominalModelParameters();
}

// The nominal parameters with another time step, print step and stop time.
inline ModelParameters NominalWithTimes(float timeStep, float printStep, float stopTime)
{
    ModelParameters parameters = NominalParameters();
    parameters.TimeStep = timeStep;
    parameters.PrintStep = printStep;
    parameters.StopTime = stopTime;
    return parameters;
}

// The nominal parameters with field set to value.
inline ModelParameters NominalWith(float ModelParameters::*field, float value)
{
    ModelParameters parameters = NominalParameters();
    parameters.*field = value;
    return parameters;
}
