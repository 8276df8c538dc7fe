#pragma once

#include "model/modelparameters.h"
#include "model/motionmodel.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

// The closed-form steady-state amplitude at the drive frequency w:
// (F0/m) / sqrt((w0² − w²)² + (b w / m)²), infinite at resonance without damping.
double SteadyStateAmplitude(const ModelParameters &parameters, double frequency);

// The amplitude the sweep reads from a computed motion: half the peak-to-peak
// coordinate over the samples in the last quarter of the stop time, or in the
// last drive period when that is longer; NaN when fewer than two samples lie
// there.
double MeasuredAmplitude(const MotionModel &motion, const ModelParameters &parameters);

// The closed-form steady state's lag behind the drive at frequency w, in
// degrees: atan2(b w, k − m w²), 0 far below w0, 90 at w0, 180 far above.
double SteadyStatePhaseLag(const ModelParameters &parameters, double frequency);

// The lag of the computed motion's fundamental behind the drive
// F0 sin(w t + phase), in degrees from −90 to 270: x fitted by least squares
// with c + a sin(w t + phase) + b cos(w t + phase) over the whole drive periods
// that fit in the amplitude's window, ending at the last sample. NaN when
// fewer than three samples lie there.
double MeasuredPhaseLag(const MotionModel &motion, const ModelParameters &parameters);

struct SweepPoint
{
    float Frequency = 0; // 1/s, as ForceFrequency holds it
    double Amplitude = 0; // m, MeasuredAmplitude
    double PhaseLag = 0; // degrees, MeasuredPhaseLag
    bool Done = false;
};

// The motion of one parameter set computed for a list of drive frequencies,
// only ForceFrequency changed, the points spread over worker threads. Points
// may be read while the sweep runs; a cancelled sweep keeps the points done.
class FrequencySweep
{
public:
    enum class Refusal {
        None,
        NoNaturalFrequency, // mass or stiffness not positive
        NoDrivingForce, // force amplitude 0: every frequency gives the same motion
        NoMotion, // time step, print step or stop time not positive and finite
        TooMuchWork, // more than MaxTotalSteps integration steps in all
    };
    // Why a point stopped the sweep.
    enum class Failure {
        None,
        OutOfMemory, // the point's series could not be allocated
        TooLarge, // the motion model refused the point's times
    };

    static constexpr int DefaultPointCount = 200;
    static constexpr double DefaultLowest = 0.1; // in units of w0
    static constexpr double DefaultHighest = 3.0;
    // A few seconds of work on one core; cancelling waits for one point.
    static constexpr double MaxTotalSteps = 5 * MotionModel::MaxIntegrationSteps;

    // DefaultPointCount frequencies evenly from DefaultLowest w0 to
    // DefaultHighest w0; empty without a natural frequency.
    static std::vector<float> DefaultFrequencies(const ModelParameters &parameters);
    static Refusal Check(const ModelParameters &parameters, std::size_t pointCount);

    FrequencySweep(const ModelParameters &parameters, std::vector<float> frequencies);
    ~FrequencySweep(); // cancels and waits for the workers
    FrequencySweep(const FrequencySweep &) = delete;
    FrequencySweep &operator=(const FrequencySweep &) = delete;

    // Starts the workers and returns; does nothing when refused or started before.
    void Start(int threads = DefaultThreads());
    // Start and Wait.
    void Run(int threads = DefaultThreads());
    // No point starts after this; the points running finish.
    void Cancel();
    // Waits for the workers to end.
    void Wait();

    Refusal GetRefusal() const { return m_refusal; }
    bool Finished() const { return m_activeWorkers.load() == 0; }
    bool Cancelled() const { return m_cancelled.load(); }
    int PointCount() const { return static_cast<int>(m_frequencies.size()); }
    int PointsDone() const { return m_done.load(); }
    std::vector<SweepPoint> Points() const;
    // What a point raised; the sweep stopped there.
    Failure GetFailure() const;

    static int DefaultThreads();

private:
    void work();

    const ModelParameters m_parameters;
    const std::vector<float> m_frequencies;
    const Refusal m_refusal;

    std::atomic<int> m_next { 0 };
    std::atomic<int> m_done { 0 };
    std::atomic<int> m_activeWorkers { 0 };
    std::atomic<bool> m_cancelled { false };
    mutable std::mutex m_mutex; // guards m_points and m_failure
    std::vector<SweepPoint> m_points;
    Failure m_failure = Failure::None;
    std::vector<std::thread> m_workers;
};
