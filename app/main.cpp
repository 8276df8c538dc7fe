#include "errorreportingapplication.h"
#include "windowset.h"

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    return RunProgram();
}
