#include "services/localisationhook.h"

#include "model/seam.h"

#include <utility>

namespace {

Seam<LocalisationStep> &installedStep()
{
    static Seam<LocalisationStep> step;
    return step;
}

} // namespace

LocalisationStep SetLocalisationStep(LocalisationStep step)
{
    return installedStep().Install(std::move(step));
}

void RunLocalisationStep(QWidget &window, LocalisationSection section)
{
    if (const LocalisationStep &step = *installedStep())
        step(window, section);
}
