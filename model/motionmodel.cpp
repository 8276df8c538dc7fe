#include "model/motionmodel.h"

#include "model/modelparameters.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The physics turns degrees into radians with this divisor, not 180/pi.
constexpr double DegreesPerRadian = 57.3;

// Lets a print step that is a whole multiple of the time step in decimal give
// that multiple, although the quotient of the two floats may lie just below.
constexpr double IntervalFactor = 1.0000001;

constexpr double SceneUnitsPerMetre = 250.0;

// N · h and p differ by about a float's rounding (10^-7) when p is a whole
// multiple of h in decimal.
constexpr double SpacingTolerance = 1e-6;

// sin(w t + phase), the bulk of a step's cost, remembered for the last time
// asked: stages 2 and 3 share their time, and stage 4 often has the time of
// the next step's start, where the sample and stage 1 ask again.
class DrivingSine
{
public:
    DrivingSine(double frequency, double phase)
        : m_frequency(frequency)
        , m_phase(phase)
    { }

    double operator()(double t)
    {
        if (t != m_time) {
            m_time = t;
            m_sine = std::sin(m_frequency * t + m_phase);
        }
        return m_sine;
    }

private:
    const double m_frequency;
    const double m_phase;
    double m_time = std::numeric_limits<double>::quiet_NaN(); // equals no time
    double m_sine = 0;
};

// Writes the five series of one sample and widens their ranges: a plain
// struct whose call the step loop inlines, where every step may be a sample.
struct SampleStore
{
    std::array<float *, MotionModel::SeriesCount> series;
    double damping = 0;
    double stiffness = 0;
    double amplitude = 0;
    std::array<SeriesRange, MotionModel::RangeCount> ranges {};
    int firstNonFinite = -1;

    void operator()(int index, double x, double v, double sine)
    {
        const std::array<float, MotionModel::SeriesCount> values { static_cast<float>(x),
            static_cast<float>(v), static_cast<float>(-v * damping),
            static_cast<float>(-x * stiffness), static_cast<float>(sine * amplitude) };
        for (int s = 0; s < MotionModel::SeriesCount; ++s)
            series[s][index] = values[s];
        for (int r = 0; r < MotionModel::RangeCount; ++r)
            ranges[r].Include(values[r]);
        if (firstNonFinite < 0) {
            for (const float value : values) {
                if (!std::isfinite(value))
                    firstNonFinite = index;
            }
        }
    }
};

struct Plan
{
    bool integrates = false;
    std::int64_t interval = 0; // N, steps between samples
    std::int64_t steps = 0; // about how many the integration takes
    float lastSampleIndex = 0;
    int capacity = 1;
};

[[noreturn]] void refuseSteps(double stopTime, double timeStep, double steps)
{
    throw ComputationTooLarge({ .reason = ComputationRefusal::TooManySteps,
        .stopTime = stopTime,
        .step = timeStep,
        .needed = std::ceil(steps),
        .allowed = MotionModel::MaxIntegrationSteps });
}

// Floats per series for samples spacing apart from 0 to stopTime: one each,
// and 100 to spare.
int checkedCapacity(double stopTime, double spacing, ComputationRefusal::Reason reason)
{
    const double capacity = std::trunc(stopTime / spacing + 100);
    if (!(capacity <= MotionModel::MaxSeriesCapacity)) {
        constexpr int MaxSamples = MotionModel::MaxSeriesCapacity - 99;
        throw ComputationTooLarge({ .reason = reason,
            .stopTime = stopTime,
            .step = spacing,
            .needed = std::trunc(stopTime / spacing) + 1,
            .allowed = MaxSamples,
            // The spacing at which they would just fit, rounded up for a message.
            .fittingPrintStep = stopTime / (MaxSamples - 1) * (1 + 1e-6) });
    }
    return static_cast<int>(std::max(1.0, capacity));
}

// Everything the two operations derive from the time parameters, with the
// degenerate cases settled so that nothing loops or overruns: a print step
// that is not positive and finite, or a stop time that is not finite, gives
// LastSampleIndex 0 and sample 0 only; a time step that is not positive and
// finite gives sample 0 only, repeated up to LastSampleIndex.
Plan planFor(const ModelParameters &parameters)
{
    const double h = parameters.TimeStep;
    const double p = parameters.PrintStep;
    const double stop = parameters.StopTime;

    Plan plan;
    if (!(std::isfinite(p) && p > 0 && std::isfinite(stop))) {
        plan.capacity = 100;
        return plan;
    }
    plan.lastSampleIndex = static_cast<float>(std::trunc(stop / p));
    plan.capacity = checkedCapacity(stop, p, ComputationRefusal::TooManySamples);
    if (!(std::isfinite(h) && h > 0))
        return plan;

    const double steps = stop / h;
    if (steps > MotionModel::MaxIntegrationSteps)
        refuseSteps(stop, h, steps);
    plan.steps = static_cast<std::int64_t>(std::max(0.0, std::ceil(steps)));

    const double interval = p * IntervalFactor / h;
    // Beyond any step count the limit allows; keeps the conversion defined.
    constexpr double LargestInterval = 4e18;
    plan.interval = interval < LargestInterval ? static_cast<std::int64_t>(interval)
                                               : static_cast<std::int64_t>(LargestInterval);
    plan.integrates = true;

    // Samples fall every N steps (every step for N = 0), which is more often
    // than every print step when p is no whole multiple of h: size for them.
    const double spacing = static_cast<double>(std::max<std::int64_t>(plan.interval, 1)) * h;
    plan.capacity = std::max(
        plan.capacity, checkedCapacity(stop, spacing, ComputationRefusal::TooManySampledSteps));
    return plan;
}

} // namespace

MotionModel::MotionModel() = default;

int MotionModel::PlayableLastIndex() const
{
    if (!m_hasResult)
        return -1;
    return static_cast<int>(std::clamp<double>(LastSampleIndex, -1, m_readableSamples - 1));
}

float MotionModel::Value(Series series, int index) const
{
    if (!m_hasResult || series < 0 || series >= SeriesCount)
        return 0;
    return ResultSeries[series][std::clamp(index, 0, m_readableSamples - 1)];
}

void MotionModel::FreeSeries()
{
    for (auto &series : ResultSeries)
        series.reset();
    m_hasResult = false;
    m_capacity = 0;
    m_samplesComputed = 0;
    m_readableSamples = 0;
    m_samplingInterval = 0;
    m_firstNonFinite = -1;
    LastSampleIndex = -1;
    for (auto &range : SeriesRanges)
        range.Reset();
    OriginPosition = 0;
    SceneScale = 0;
}

std::optional<ComputationRefusal> MotionModel::RefusalFor(const ModelParameters &parameters)
{
    try {
        planFor(parameters);
    } catch (const ComputationTooLarge &refused) {
        return refused.Refusal();
    }
    return std::nullopt;
}

void MotionModel::AllocateSeries(const ModelParameters &parameters)
{
    FreeSeries();
    const Plan plan = planFor(parameters);
    try {
        for (auto &series : ResultSeries)
            series = std::make_unique_for_overwrite<float[]>(plan.capacity);
    } catch (const std::bad_alloc &) {
        FreeSeries();
        throw OutOfMemory();
    }
    m_capacity = plan.capacity;
    LastSampleIndex = plan.lastSampleIndex;
}

MotionWarning MotionModel::Warning(const ModelParameters &parameters) const
{
    if (!m_hasResult)
        return {};
    MotionWarning warning;
    warning.timeStep = parameters.TimeStep;
    warning.printStep = parameters.PrintStep;
    const double h = warning.timeStep;
    const double p = warning.printStep;
    if (!(std::isfinite(p) && p > 0)) {
        warning.stillness = MotionWarning::PrintStepNotPositive;
    } else if (LastSampleIndex >= 1) {
        if (!(std::isfinite(h) && h > 0)) {
            warning.stillness = MotionWarning::TimeStepNotPositive;
        } else {
            // Every step when N = 0, sample 1 repeating sample 0; otherwise N
            // steps, which the two float steps give to within their rounding.
            warning.sampleSpacing
                = static_cast<double>(std::max<std::int64_t>(m_samplingInterval, 1)) * h;
            warning.timesNotOfStates = m_samplingInterval == 0
                || std::abs(warning.sampleSpacing - p) > SpacingTolerance * p;
        }
    }
    if (m_firstNonFinite >= 0) {
        warning.nonFinite = MotionWarning::FromTime;
        warning.nonFiniteTime = m_firstNonFinite * p;
    } else if (!std::isfinite(OriginPosition)) {
        warning.nonFinite = MotionWarning::InOrigin;
    }
    return warning;
}

bool MotionModel::ComputeMotion(
    const ModelParameters &parameters, const ComputationProgress &progress)
{
    if (!ResultSeries[Coordinate])
        throw std::logic_error("ComputeMotion: no series allocated");
    m_hasResult = false;
    Plan plan;
    try {
        plan = planFor(parameters);
    } catch (...) {
        FreeSeries();
        throw;
    }

    const double mass = parameters.Mass;
    const double damping = parameters.Damping;
    const double stiffness = parameters.Stiffness;
    const double amplitude = parameters.ForceAmplitude;
    const double frequency = parameters.ForceFrequency;
    const double phase = parameters.ForcePhase / DegreesPerRadian;

    // Held as floats; the stiffness term squares the rounded natural frequency.
    const double dampingPerMass = static_cast<float>(damping / mass);
    const double naturalFrequency = static_cast<float>(std::sqrt(stiffness / mass));
    const double forcePerMass = static_cast<float>(amplitude / mass);
    const double naturalFrequencySquared = naturalFrequency * naturalFrequency;

    OriginPosition = static_cast<float>(parameters.SpringLength
        - std::sin(parameters.PlaneAngle / DegreesPerRadian)
            * (mass * static_cast<double>(parameters.Gravity)) / stiffness);

    runge &rk = Integrator;
    double *y = rk.y;
    for (int i = 0; i <= rk.last; ++i)
        y[i] = 0;
    y[1] = parameters.InitialDeflection;
    y[2] = parameters.InitialVelocity;

    DrivingSine drivingSine(frequency, phase);
    SampleStore store { .series = { ResultSeries[Coordinate].get(), ResultSeries[Velocity].get(),
                            ResultSeries[ResistanceForce].get(), ResultSeries[ElasticForce].get(),
                            ResultSeries[DrivingForce].get() },
        .damping = damping,
        .stiffness = stiffness,
        .amplitude = amplitude };
    const auto storeSample = [&](int index) { store(index, y[1], y[2], drivingSine(y[0])); };
    storeSample(0);

    int sample = 1;
    if (plan.integrates) {
        const double h = parameters.TimeStep;
        const double stop = parameters.StopTime;
        // planFor bounds the steps by the limit; this only guarantees the end.
        auto stepsLeft = static_cast<std::int64_t>(2 * MaxIntegrationSteps);
        std::int64_t j = 0;
        std::int64_t done = 0;
        while (y[0] < stop) {
            if (j >= plan.interval) {
                if (sample >= m_capacity)
                    break;
                j = 0;
                storeSample(sample);
                ++sample;
            }
            if (y[0] + h == y[0] || stepsLeft-- == 0)
                break;
            rk.start_step();
            while (rk.stage < 5) {
                const double t = rk.ys[0], x = rk.ys[1], v = rk.ys[2];
                rk.f[0] = 1;
                rk.f[1] = v;
                rk.f[2] = drivingSine(t) * forcePerMass
                    + (-dampingPerMass * v - naturalFrequencySquared * x);
                rk.stage_step(h);
            }
            ++j;
            if (progress && ++done % ProgressInterval == 0 && !progress(done, plan.steps)) {
                FreeSeries();
                return false;
            }
        }
    }
    SeriesRanges = store.ranges;
    m_firstNonFinite = store.firstNonFinite;

    // Samples up to LastSampleIndex that the integration did not reach
    // repeat the last computed one, so no consumer reads an unwritten value.
    const int last = static_cast<int>(std::clamp<double>(LastSampleIndex, -1, m_capacity - 1));
    for (int index = sample; index <= last; ++index) {
        for (auto &values : ResultSeries)
            values[index] = values[sample - 1];
    }

    m_samplesComputed = sample;
    m_readableSamples = std::max(sample, last + 1);
    m_samplingInterval = plan.integrates ? plan.interval : 0;
    SceneScale = SceneUnitsPerMetre;
    m_hasResult = true;
    return true;
}
