#include "services/buildvariant.h"

#include "model/seam.h"

namespace {

Seam<BuildVariant> &installedVariant()
{
    static Seam<BuildVariant> variant(MainBuild);
    return variant;
}

} // namespace

BuildVariant SetBuildVariant(BuildVariant variant)
{
    return installedVariant().Install(variant);
}

const BuildVariant &CurrentBuildVariant()
{
    return *installedVariant();
}
