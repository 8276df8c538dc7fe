#include "model/frequencysweep.h"

#include "model/derivedquantities.h"
#include "model/sampletime.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

double SteadyStateAmplitude(const ModelParameters &parameters, double frequency)
{
    const double m = parameters.Mass;
    const double w0 = NaturalFrequency(parameters);
    const double detuning = w0 * w0 - frequency * frequency;
    const double friction = parameters.Damping * frequency / m;
    return parameters.ForceAmplitude / m / std::sqrt(detuning * detuning + friction * friction);
}

namespace {

constexpr double DegreesPerRadian = 180 / std::numbers::pi;

double drivePeriod(const ModelParameters &parameters)
{
    return 2 * std::numbers::pi / parameters.ForceFrequency;
}

// The span at the end of the run the measurements read: the last quarter, or
// one drive period when that is longer, as a shorter span would miss an extreme.
double measuredSpan(const ModelParameters &parameters)
{
    return std::max(drivePeriod(parameters), parameters.StopTime / 4.0);
}

} // namespace

double MeasuredAmplitude(const MotionModel &motion, const ModelParameters &parameters)
{
    const double from = parameters.StopTime - measuredSpan(parameters);
    const float *x
        = motion.HasResult() ? motion.ResultSeries[MotionModel::Coordinate].get() : nullptr;
    float lowest = std::numeric_limits<float>::infinity();
    float highest = -lowest;
    int samples = 0;
    // The latest samples first: stop at the start of the last quarter.
    for (int i = motion.SamplesComputed() - 1; x && i >= 0; --i) {
        if (SampleTime(motion, parameters, i) < from)
            break;
        lowest = std::min(lowest, x[i]);
        highest = std::max(highest, x[i]);
        ++samples;
    }
    if (samples < 2)
        return std::numeric_limits<double>::quiet_NaN();
    return (double(highest) - lowest) / 2;
}

double SteadyStatePhaseLag(const ModelParameters &parameters, double frequency)
{
    const double restoring = parameters.Stiffness - parameters.Mass * frequency * frequency;
    return std::atan2(parameters.Damping * frequency, restoring) * DegreesPerRadian;
}

double MeasuredPhaseLag(const MotionModel &motion, const ModelParameters &parameters)
{
    const int last = motion.SamplesComputed() - 1;
    const float *x
        = motion.HasResult() ? motion.ResultSeries[MotionModel::Coordinate].get() : nullptr;
    if (!x || last < 2)
        return std::numeric_limits<double>::quiet_NaN();
    // Whole periods, so that the fit's sine and cosine stay nearly orthogonal
    // to each other and to the constant.
    const double period = drivePeriod(parameters);
    const double end = SampleTime(motion, parameters, last);
    const double from = end - std::max(1.0, std::floor(measuredSpan(parameters) / period)) * period;
    const double frequency = parameters.ForceFrequency;
    const double phase = parameters.ForcePhase / DegreesPerRadian;

    // The normal equations of the fit, in the basis 1, sin, cos.
    double m[3][3] = {}, r[3] = {};
    int samples = 0;
    for (int i = last; i >= 0; --i) {
        const double t = SampleTime(motion, parameters, i);
        if (t < from)
            break;
        const double basis[3]
            = { 1, std::sin(frequency * t + phase), std::cos(frequency * t + phase) };
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column)
                m[row][column] += basis[row] * basis[column];
            r[row] += basis[row] * x[i];
        }
        ++samples;
    }
    if (samples < 3)
        return std::numeric_limits<double>::quiet_NaN();
    // Cramer's rule for the sine's and the cosine's coefficients.
    const auto determinant = [](const double(&a)[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
            - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
            + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const auto replaced = [&](int column) {
        double a[3][3];
        for (int row = 0; row < 3; ++row) {
            for (int c = 0; c < 3; ++c)
                a[row][c] = c == column ? r[row] : m[row][c];
        }
        return determinant(a);
    };
    // x = A sin(θ − lag) = A cos(lag) sin θ − A sin(lag) cos θ. Both
    // coefficients share the positive determinant of the normal equations.
    const double sine = replaced(1), cosine = replaced(2);
    const double lag = std::atan2(-cosine, sine) * DegreesPerRadian;
    return lag < -90 ? lag + 360 : lag;
}

std::vector<float> FrequencySweep::DefaultFrequencies(const ModelParameters &parameters)
{
    const double w0 = NaturalFrequency(parameters);
    if (std::isnan(w0))
        return {};
    std::vector<float> frequencies(DefaultPointCount);
    for (int i = 0; i < DefaultPointCount; ++i) {
        const double share = double(i) / (DefaultPointCount - 1);
        frequencies[i]
            = static_cast<float>(w0 * (DefaultLowest + share * (DefaultHighest - DefaultLowest)));
    }
    return frequencies;
}

FrequencySweep::Refusal FrequencySweep::Check(
    const ModelParameters &parameters, std::size_t pointCount)
{
    if (std::isnan(NaturalFrequency(parameters)))
        return Refusal::NoNaturalFrequency;
    if (parameters.ForceAmplitude == 0)
        return Refusal::NoDrivingForce;
    const double h = parameters.TimeStep, p = parameters.PrintStep, stop = parameters.StopTime;
    const auto usable = [](double value) { return std::isfinite(value) && value > 0; };
    if (!(usable(h) && usable(p) && usable(stop)))
        return Refusal::NoMotion;
    if (!(stop / h * double(pointCount) <= MaxTotalSteps))
        return Refusal::TooMuchWork;
    return Refusal::None;
}

FrequencySweep::FrequencySweep(const ModelParameters &parameters, std::vector<float> frequencies)
    : m_parameters(parameters)
    , m_frequencies(std::move(frequencies))
    , m_refusal(Check(parameters, m_frequencies.size()))
    , m_points(m_frequencies.size())
{
    for (std::size_t i = 0; i < m_points.size(); ++i)
        m_points[i].Frequency = m_frequencies[i];
}

FrequencySweep::~FrequencySweep()
{
    Cancel();
    Wait();
}

int FrequencySweep::DefaultThreads()
{
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void FrequencySweep::Start(int threads)
{
    if (m_refusal != Refusal::None || !m_workers.empty())
        return;
    threads = std::clamp(threads, 1, std::max(PointCount(), 1));
    m_activeWorkers = threads;
    for (int i = 0; i < threads; ++i)
        m_workers.emplace_back(&FrequencySweep::work, this);
}

void FrequencySweep::Run(int threads)
{
    Start(threads);
    Wait();
}

void FrequencySweep::Cancel()
{
    m_cancelled = true;
}

void FrequencySweep::Wait()
{
    for (auto &worker : m_workers) {
        if (worker.joinable())
            worker.join();
    }
}

std::vector<SweepPoint> FrequencySweep::Points() const
{
    const std::lock_guard lock(m_mutex);
    return m_points;
}

FrequencySweep::Failure FrequencySweep::GetFailure() const
{
    const std::lock_guard lock(m_mutex);
    return m_failure;
}

void FrequencySweep::work()
{
    MotionModel motion;
    ModelParameters parameters = m_parameters;
    while (!m_cancelled) {
        const int index = m_next++;
        if (index >= PointCount())
            break;
        parameters.ForceFrequency = m_frequencies[index];
        Failure failure = Failure::None;
        try {
            motion.AllocateSeries(parameters);
            motion.ComputeMotion(parameters);
        } catch (const std::bad_alloc &) {
            failure = Failure::OutOfMemory;
        } catch (const ComputationTooLarge &) {
            failure = Failure::TooLarge;
        }
        if (failure != Failure::None) {
            const std::lock_guard lock(m_mutex);
            if (m_failure == Failure::None)
                m_failure = failure;
            m_cancelled = true;
            break;
        }
        const double amplitude = MeasuredAmplitude(motion, parameters);
        const double phaseLag = MeasuredPhaseLag(motion, parameters);
        {
            const std::lock_guard lock(m_mutex);
            m_points[index].Amplitude = amplitude;
            m_points[index].PhaseLag = phaseLag;
            m_points[index].Done = true;
        }
        ++m_done;
    }
    --m_activeWorkers;
}
