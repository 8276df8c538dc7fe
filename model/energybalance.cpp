#include "model/energybalance.h"

#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "model/sampletime.h"

#include <algorithm>

EnergyBalance ComputeEnergyBalance(
    const MotionModel &motion, const ModelParameters &parameters, int maxPoints)
{
    EnergyBalance balance;
    const int count = motion.HasResult() ? motion.SamplesComputed() : 0;
    if (count == 0)
        return balance;
    const int stride
        = maxPoints > 1 ? std::max(1, (count - 1 + maxPoints - 2) / (maxPoints - 1)) : 1;
    const int kept = (count - 1) / stride + 1 + ((count - 1) % stride != 0);
    for (auto *series : { &balance.Time, &balance.Kinetic, &balance.Spring, &balance.DamperWork,
             &balance.DriveWork, &balance.Residual })
        series->reserve(kept);
    balance.Sample.reserve(kept);

    const double m = parameters.Mass, k = parameters.Stiffness, b = parameters.Damping;
    const float *x = motion.ResultSeries[MotionModel::Coordinate].get();
    const float *v = motion.ResultSeries[MotionModel::Velocity].get();
    const float *force = motion.ResultSeries[MotionModel::DrivingForce].get();
    const auto kinetic = [&](int i) { return m * v[i] * v[i] / 2; };
    const auto spring = [&](int i) { return k * x[i] * x[i] / 2; };
    const auto damperPower = [&](int i) { return -b * v[i] * v[i]; };
    const auto drivePower = [&](int i) { return double(force[i]) * v[i]; };

    const double initialEnergy = kinetic(0) + spring(0);
    double damperWork = 0, driveWork = 0;
    double previousTime = 0;
    for (int i = 0; i < count; ++i) {
        const double t = SampleTime(motion, parameters, i);
        if (i > 0) {
            const double dt = t - previousTime;
            damperWork += (damperPower(i - 1) + damperPower(i)) * dt / 2;
            driveWork += (drivePower(i - 1) + drivePower(i)) * dt / 2;
        }
        previousTime = t;
        if (i % stride != 0 && i != count - 1)
            continue;
        const double energy = kinetic(i) + spring(i);
        balance.Time.push_back(static_cast<float>(t));
        balance.Sample.push_back(std::size_t(i));
        balance.Kinetic.push_back(static_cast<float>(kinetic(i)));
        balance.Spring.push_back(static_cast<float>(spring(i)));
        balance.DamperWork.push_back(static_cast<float>(damperWork));
        balance.DriveWork.push_back(static_cast<float>(driveWork));
        balance.Residual.push_back(
            static_cast<float>(energy - initialEnergy - damperWork - driveWork));
    }
    return balance;
}
