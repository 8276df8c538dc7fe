#include "model/sampletime.h"

#include "model/modelparameters.h"
#include "model/motionmodel.h"

#include <algorithm>

double SampleTime(const MotionModel &motion, const ModelParameters &parameters, int index)
{
    const double h = parameters.TimeStep;
    const auto interval = motion.SamplingIntervalSteps();
    if (interval == 0)
        return std::max(index - 1, 0) * h;
    return static_cast<double>(index) * static_cast<double>(interval) * h;
}
