#include "applylocalisation.h"
#include "errorreportingapplication.h"
#include "localisation.h"
#include "windowset.h"

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    SetLocalisationStep(ApplyLocalisation);
    return RunProgram();
}
