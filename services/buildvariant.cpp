#include "services/buildvariant.h"

namespace {

BuildVariant &installedVariant()
{
    static BuildVariant variant = MainBuild;
    return variant;
}

} // namespace

void SetBuildVariant(const BuildVariant &variant)
{
    installedVariant() = variant;
}

const BuildVariant &CurrentBuildVariant()
{
    return installedVariant();
}
