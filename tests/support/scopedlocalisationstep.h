#pragma once

#include "services/localisationhook.h"
#include "tests/support/scopedhook.h"

// Installs a localisation step for the lifetime of the object.
using ScopedLocalisationStep = ScopedHook<LocalisationStep, SetLocalisationStep>;
