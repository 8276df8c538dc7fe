#pragma once

#include "model/modelparameters.h"

// The parameters of the shipped parameter file, the ones a student starts from.
inline ModelParameters NominalParameters()
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
