#include "motionmodel.h"

#include "clocale.h"
#include "modelparameters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// The physics turns degrees into radians with this divisor, not 180/pi.
constexpr double DegreesPerRadian = 57.3;

// Lets a print step that is a whole multiple of the time step in decimal give
// that multiple, although the quotient of the two floats may lie just below.
constexpr double IntervalFactor = 1.0000001;

constexpr double SceneUnitsPerMetre = 250.0;

// sin(w t + phase), the bulk of a step's cost. A step needs it at three
// distinct times: its start (shared with the sample taken there), its
// midpoint (stages 2 and 3) and its end, which is mostly the next step's
// start. These follow from the start time alone, in the integrator's own
// arithmetic, so the next step's sines are computed during this one, between
// its stages, where the processor overlaps them with the integration. at()
// compares the exact time, which is cheaper than forming the argument again
// and picks the same sine: a prediction that misses costs a fresh sine.
class DrivingSine
{
public:
    enum Slot { Start, Middle, End, Slots };

    DrivingSine(double frequency, double phase, double h)
        : m_frequency(frequency)
        , m_phase(phase)
        , m_h(h)
    {
    }

    double at(double t, Slot expected) const
    {
        if (t == m_current[expected].time) [[likely]]
            return m_current[expected].sine;
        return std::sin(m_frequency * t + m_phase);
    }

    // At the start of every step, with its time.
    void beginStep(double t)
    {
        if (t == m_next.start) [[likely]] {
            m_current[Start] = m_current[End];
            m_current[Middle] = m_next.middle;
            m_current[End] = m_next.end;
        } else {
            m_current[Start] = make(t);
            m_current[Middle] = make(middleOf(t));
            m_current[End] = make(endOf(t));
        }
        m_next.start = following(t);
    }
    // Sines of the next step, spread over the stages of this one.
    void prepareMiddle() { m_next.middle = make(middleOf(m_next.start)); }
    void prepareEnd() { m_next.end = make(endOf(m_next.start)); }

private:
    struct Value
    {
        double time = std::numeric_limits<double>::quiet_NaN();
        double sine = 0;
    };
    Value make(double t) const
    {
        return { t, std::sin(m_frequency * t + m_phase) };
    }
    double middleOf(double t) const { return (t - 0.5 * 0.0) + 0.5 * (m_h * 1.0); }
    double endOf(double t) const
    {
        const double k = m_h * 1.0;
        double point = t - 0.5 * 0.0;
        point = point + 0.5 * k;
        point = point - 0.5 * k;
        point = point + 0.5 * k;
        point = point - 0.5 * k;
        return point + 0.5 * (2 * k);
    }
    double following(double t) const
    {
        const double k = m_h * 1.0;
        double next = t + 1 * k * (1.0 / 6);
        next = next + 2 * k * (1.0 / 6);
        next = next + 1 * (2 * k) * (1.0 / 6);
        return next + 1 * k * (1.0 / 6);
    }

    const double m_frequency;
    const double m_phase;
    const double m_h;
    Value m_current[Slots];
    struct
    {
        double start = std::numeric_limits<double>::quiet_NaN();
        Value middle, end;
    } m_next;
};

struct Plan
{
    bool integrates = false;
    std::int64_t interval = 0; // N, steps between samples
    float lastSampleIndex = 0;
    int capacity = 1;
};

[[noreturn]] void refuseSteps(double stopTime, double timeStep, double steps)
{
    const ScopedCLocale cLocale;
    char text[256];
    std::snprintf(text, sizeof text,
            "Stop time %g s with time step %g s needs %.3g integration steps; "
            "at most %.0f are allowed. Choose a larger time step or a shorter stop time.",
            stopTime, timeStep, steps, MotionModel::MaxIntegrationSteps);
    throw ComputationTooLarge(text);
}

int checkedCapacity(double samples)
{
    if (!(samples <= MotionModel::MaxSeriesCapacity))
        throw OutOfMemory();
    return static_cast<int>(std::max(1.0, samples));
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
        plan.capacity = checkedCapacity(100);
        return plan;
    }
    plan.lastSampleIndex = static_cast<float>(std::trunc(stop / p));
    plan.capacity = checkedCapacity(std::trunc(stop / p + 100));
    if (!(std::isfinite(h) && h > 0))
        return plan;

    const double steps = stop / h;
    if (steps > MotionModel::MaxIntegrationSteps)
        refuseSteps(stop, h, steps);

    const double interval = p * IntervalFactor / h;
    // Beyond any step count the limit allows; keeps the conversion defined.
    constexpr double LargestInterval = 4e18;
    plan.interval = interval < LargestInterval ? static_cast<std::int64_t>(interval)
                                               : static_cast<std::int64_t>(LargestInterval);
    plan.integrates = true;

    // Samples fall every N steps (every step for N = 0), which is more often
    // than every print step when p is no whole multiple of h: size for them.
    const double spacing = static_cast<double>(std::max<std::int64_t>(plan.interval, 1)) * h;
    plan.capacity = std::max(plan.capacity, checkedCapacity(std::trunc(stop / spacing + 100)));
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
    LastSampleIndex = -1;
    for (auto &range : SeriesRanges)
        range.Reset();
    OriginPosition = 0;
    SceneScale = 0;
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

void MotionModel::ComputeMotion(const ModelParameters &parameters)
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
    const double *ys = rk.ys;
    double *f = rk.f;
    for (int i = 0; i <= rk.last; ++i)
        y[i] = 0;
    y[1] = parameters.InitialDeflection;
    y[2] = parameters.InitialVelocity;

    // Locals while integrating: the compiler cannot tell members apart from
    // the series' floats.
    std::array<float *, SeriesCount> series;
    for (int s = 0; s < SeriesCount; ++s)
        series[s] = ResultSeries[s].get();
    std::array<SeriesRange, RangeCount> ranges;
    const auto store = [&](int index, double drivingSine) {
        const double x = y[1], v = y[2];
        series[Coordinate][index] = static_cast<float>(x);
        series[Velocity][index] = static_cast<float>(v);
        series[ResistanceForce][index] = static_cast<float>(-v * damping);
        series[ElasticForce][index] = static_cast<float>(-x * stiffness);
        series[DrivingForce][index] = static_cast<float>(drivingSine * amplitude);
        for (int r = 0; r < RangeCount; ++r)
            ranges[r].Include(series[r][index]);
    };
    store(0, std::sin(frequency * y[0] + phase));

    int sample = 1;
    if (plan.integrates) {
        const double h = parameters.TimeStep;
        const double stop = parameters.StopTime;
        const std::int64_t interval = plan.interval;
        DrivingSine drivingSine(frequency, phase, h);
        // The right-hand side at the stage point, then the stage. A step is
        // exactly four of them; written out, they inline into one block.
        const auto stage = [&](DrivingSine::Slot slot) __attribute__((always_inline)) {
            const double t = ys[0], x = ys[1], v = ys[2];
            const double acceleration = drivingSine.at(t, slot) * forcePerMass
                    + (-dampingPerMass * v - naturalFrequencySquared * x);
            f[0] = 1;
            f[1] = v;
            f[2] = acceleration;
            rk.stage_step(h);
        };
        // planFor bounds the steps by the limit; this only guarantees the end.
        auto stepsLeft = static_cast<std::int64_t>(2 * MaxIntegrationSteps);
        std::int64_t j = 0;
        while (y[0] < stop) {
            drivingSine.beginStep(y[0]);
            if (j >= interval) {
                if (sample >= m_capacity)
                    break;
                j = 0;
                store(sample, drivingSine.at(y[0], DrivingSine::Start));
                ++sample;
            }
            if (y[0] + h == y[0] || stepsLeft-- == 0)
                break;
            rk.start_step();
            stage(DrivingSine::Start);
            drivingSine.prepareMiddle();
            stage(DrivingSine::Middle);
            stage(DrivingSine::Middle);
            drivingSine.prepareEnd();
            stage(DrivingSine::End);
            ++j;
        }
    }
    SeriesRanges = ranges;

    // Samples up to LastSampleIndex that the integration did not reach
    // repeat the last computed one, so no consumer reads an unwritten value.
    const int last = static_cast<int>(std::clamp<double>(LastSampleIndex, -1, m_capacity - 1));
    for (int index = sample; index <= last; ++index) {
        for (float *values : series)
            values[index] = values[sample - 1];
    }

    m_samplesComputed = sample;
    m_readableSamples = std::max(sample, last + 1);
    m_samplingInterval = plan.integrates ? plan.interval : 0;
    SceneScale = SceneUnitsPerMetre;
    m_hasResult = true;
}
