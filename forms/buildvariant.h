#pragma once

#include "modelparameters.h"

// What distinguishes the two builds of the program. Each executable links
// exactly one definition of CurrentBuildVariant.
struct BuildVariant
{
    ParameterFileNaming naming;
    const char *openFailureMessage;
};

const BuildVariant &CurrentBuildVariant();
