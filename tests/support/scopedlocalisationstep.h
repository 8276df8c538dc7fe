#pragma once

#include "services/localisationhook.h"

// Installs a localisation step for the lifetime of the object.
class ScopedLocalisationStep
{
public:
    explicit ScopedLocalisationStep(LocalisationStep step)
        : m_previous(SetLocalisationStep(std::move(step)))
    { }
    ~ScopedLocalisationStep() { SetLocalisationStep(std::move(m_previous)); }
    ScopedLocalisationStep(const ScopedLocalisationStep &) = delete;
    ScopedLocalisationStep &operator=(const ScopedLocalisationStep &) = delete;

private:
    LocalisationStep m_previous;
};
