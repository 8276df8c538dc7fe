#include "services/localisationhook.h"

#include <utility>

namespace {

LocalisationStep &installedStep()
{
    static LocalisationStep step;
    return step;
}

} // namespace

LocalisationStep SetLocalisationStep(LocalisationStep step)
{
    return std::exchange(installedStep(), std::move(step));
}

void RunLocalisationStep(QWidget &window, LocalisationSection section)
{
    if (installedStep())
        installedStep()(window, section);
}
