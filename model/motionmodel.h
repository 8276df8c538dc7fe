#pragma once

#include "model/runge.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

struct ModelParameters;

// Span of one series and zero: both fields start at 0 for every computation.
struct SeriesRange
{
    float max = 0;
    float min = 0;

    void Reset()
    {
        max = 0;
        min = 0;
    }
    void Include(float value)
    {
        if (min > value)
            min = value;
        if (value > max)
            max = value;
    }
};

// The series cannot be allocated.
class OutOfMemory : public std::bad_alloc
{
public:
    const char *what() const noexcept override { return "Out of memory"; }
};

// Why MotionModel refuses parameters, with the figures a message needs.
struct ComputationRefusal
{
    enum Reason {
        TooManySteps, // step is the time step; needed and allowed count steps
        TooManySamples, // step is the print step; needed and allowed count samples
        TooManySampledSteps, // as TooManySamples, sampled every sampling interval (step)
    };
    Reason reason = TooManySteps;
    double stopTime = 0; // s
    double step = 0; // s
    double needed = 0;
    double allowed = 0;
    // For the samples: the smallest print step that fits, rounded up a little.
    double fittingPrintStep = 0; // s
};

// The parameters ask for more integration work than MotionModel allows.
class ComputationTooLarge : public std::runtime_error
{
public:
    explicit ComputationTooLarge(const ComputationRefusal &refusal)
        : std::runtime_error("computation too large")
        , m_refusal(refusal)
    { }
    const ComputationRefusal &Refusal() const { return m_refusal; }

private:
    ComputationRefusal m_refusal;
};

// Why a computed result shows no motion, or what of it cannot be trusted;
// Any() is false when nothing. A stop time below one print step is none: the
// still scene at time 0 is what such parameters ask for.
struct MotionWarning
{
    enum Stillness {
        Moving,
        PrintStepNotPositive, // only sample 0: printStep is not above 0
        TimeStepNotPositive, // timeStep is not above 0: every sample repeats sample 0
    };
    enum NonFinite {
        Finite,
        FromTime, // the samples from nonFiniteTime on are NAN or INF
        InOrigin, // the origin position is
    };
    Stillness stillness = Moving;
    NonFinite nonFinite = Finite;
    // The samples lie sampleSpacing apart in time, not printStep: sample k is
    // shown at k · printStep but holds the state at another time.
    bool timesNotOfStates = false;
    double timeStep = 0; // s, as the parameters give them
    double printStep = 0;
    double sampleSpacing = 0; // s
    double nonFiniteTime = 0; // s

    bool Any() const { return stillness != Moving || timesNotOfStates || nonFinite != Finite; }
};

// Integration steps done and about how many the computation takes; false
// cancels it.
using ComputationProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// The whole motion of the mass, computed at once and sampled once per print
// step. Consumers read the public members; only the three operations write them.
//
// Empty state (after construction, FreeSeries or a failed operation): no
// series arrays, LastSampleIndex -1, ranges (0, 0), OriginPosition and
// SceneScale 0, HasResult() false.
//
// After a successful ComputeMotion, every sample 0 ... LastSampleIndex holds a
// value: samples the integration did not reach (print step below the time
// step, rounding at the last one) repeat the last computed sample. The
// integration may also produce a few samples beyond LastSampleIndex
// (a print step that is no whole multiple of the time step); all samples
// below ReadableSampleCount() may be read.
class MotionModel
{
public:
    enum Series : int {
        Coordinate, // m
        Velocity, // m/s
        ResistanceForce, // N, -b v
        ElasticForce, // N, -k x
        DrivingForce, // N, F0 sin(w t + phase)
        SeriesCount
    };
    static constexpr int RangeCount = 4; // DrivingForce has no range

    // Work limits, so that no parameter set can stall the program: more
    // integration steps than this are refused with ComputationTooLarge
    // (10^8 steps take a few seconds) ...
    static constexpr double MaxIntegrationSteps = 1e8;
    // ... and so are series longer than this (5 series of 25 million floats
    // are 500 MB).
    static constexpr int MaxSeriesCapacity = 25'000'000;
    // A few milliseconds of integration.
    static constexpr std::int64_t ProgressInterval = 1 << 16;

    MotionModel();
    MotionModel(const MotionModel &) = delete;
    MotionModel &operator=(const MotionModel &) = delete;

    // Replaces any series held before with arrays sized for parameters and
    // sets LastSampleIndex = trunc(StopTime / PrintStep). Throws OutOfMemory
    // or ComputationTooLarge, leaving the empty state.
    void AllocateSeries(const ModelParameters &parameters);
    // Returns to the empty state.
    void FreeSeries();
    // What AllocateSeries and ComputeMotion would refuse parameters with,
    // found without allocating; none when they take them.
    static std::optional<ComputationRefusal> RefusalFor(const ModelParameters &parameters);
    // Integrates from time 0 to StopTime and fills the series, the ranges,
    // OriginPosition and SceneScale. Needs AllocateSeries for the same
    // parameters (std::logic_error without series). A non-positive or
    // non-finite time step, print step or stop time gives sample 0 only.
    // Throws ComputationTooLarge (or OutOfMemory, for parameters that
    // AllocateSeries refuses), leaving the empty state. With progress, tells
    // it the steps done every ProgressInterval steps; when it answers false,
    // returns false at once in the empty state. The result does not depend on
    // progress.
    bool ComputeMotion(const ModelParameters &parameters, const ComputationProgress &progress = {});

    bool HasResult() const { return m_hasResult; }
    // Floats allocated per series; 0 without series.
    int Capacity() const { return m_capacity; }
    // Samples the integration produced; 0 without a result.
    int SamplesComputed() const { return m_samplesComputed; }
    // Samples 0 ... ReadableSampleCount() - 1 hold values; 0 without a result.
    int ReadableSampleCount() const { return m_readableSamples; }
    // The last index playback may show: LastSampleIndex limited to the
    // readable samples; negative when there is nothing to play (sample 0 is
    // still readable whenever HasResult()).
    int PlayableLastIndex() const;
    // Integration steps between two samples in the last computation (N), as
    // the time and print steps give it; 0 when samples are taken before every
    // step, or when those steps leave nothing to integrate.
    std::int64_t SamplingIntervalSteps() const { return m_samplingInterval; }

    // Why the last result, computed from parameters, shows no motion or
    // cannot be trusted; nothing without a result.
    MotionWarning Warning(const ModelParameters &parameters) const;

    // Sample index of a series with the index clamped to the readable
    // samples; 0 without a result.
    float Value(Series series, int index) const;

    const int EquationCount = 3; // t, x, v in the integrator's vectors
    runge Integrator { EquationCount };
    // Indexed by Series; each array holds Capacity() floats.
    std::array<std::unique_ptr<float[]>, SeriesCount> ResultSeries;
    float LastSampleIndex = -1; // a whole number
    // Ranges of Coordinate, Velocity, ResistanceForce and ElasticForce.
    std::array<SeriesRange, RangeCount> SeriesRanges;
    float OriginPosition = 0; // m from the spring's fixed end, along the plane
    float SceneScale = 0; // scene units per metre, 250 after a computation

private:
    bool m_hasResult = false;
    int m_capacity = 0;
    int m_samplesComputed = 0;
    int m_readableSamples = 0;
    std::int64_t m_samplingInterval = 0;
    // The first sample with a value that is not a finite number (a mass or
    // stiffness of 0 divides by zero, a huge force overflows), or -1.
    int m_firstNonFinite = -1;
};
