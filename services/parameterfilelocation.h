#pragma once

#include "model/modelparameters.h"

#include <string>

// The running program's parameter file, derived afresh at every call.
std::string ParameterFilePath();

// The build's "can't open" box; then asks the application to end as soon as
// control is back in the event loop.
void ReportParameterFileFailure();
