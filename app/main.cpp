#include "app/applylocalisation.h"
#include "app/errorreportingapplication.h"
#include "app/windowset.h"
#include "glpanel/panelfailure.h"
#include "services/buildvariant.h"
#include "services/localisationhook.h"
#include "services/messagebox.h"

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    // Compiled once per build: MIRVANE_FIXED_NAME makes the fixed-name build.
#ifdef MIRVANE_FIXED_NAME
    SetBuildVariant(FixedNameBuild);
#else
    SetBuildVariant(MainBuild);
#endif
    SetLocalisationStep(ApplyLocalisation);
    SetPanelFailureReport([](const QString &text) { ShowMessageBox(text); });
    return RunProgram();
}
