#pragma once

#include <cstddef>
#include <vector>

class MotionModel;
struct ModelParameters;

// Where the mechanical energy of a computed motion goes, per computed sample:
// the energies from the stored coordinate and velocity, the works of the
// damper and of the driving force by the trapezoidal rule on the samples, and
// the balance residual E(t) − E(0) − W_damper − W_drive. Without damping and
// drive the works are zero and the residual is the integration's own error;
// otherwise the trapezoidal rule adds its O(p²) error.
struct EnergyBalance
{
    std::vector<float> Time; // s
    std::vector<std::size_t> Sample; // the motion's sample index
    std::vector<float> Kinetic; // J, m v² / 2
    std::vector<float> Spring; // J, k x² / 2, x from the equilibrium
    std::vector<float> DamperWork; // J, integral of −b v² dt
    std::vector<float> DriveWork; // J, integral of F v dt
    std::vector<float> Residual; // J

    int Count() const { return static_cast<int>(Time.size()); }
};

// Empty without a result. The integrals run over every computed sample; with
// maxPoints > 1 only every n-th sample is kept (and the last), n chosen so
// that at most maxPoints remain: enough to draw, bounded in memory.
EnergyBalance ComputeEnergyBalance(
    const MotionModel &motion, const ModelParameters &parameters, int maxPoints = 0);
