// ComputeMotion against a hand-written RK4 loop doing the same job: the same
// right-hand side, the same five series stored at every print step.

#include "bench/runbenchmarks.h"
#include "bench/shippedparameters.h"
#include "model/motionmodel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

// 10^7 steps of 10^-4 s, one sample per step.
ModelParameters benchmarkParameters()
{
    ModelParameters p = ShippedParameters();
    p.StopTime = 1000;
    p.TimeStep = 1e-4f;
    p.PrintStep = 1e-4f;
    return p;
}

// The rate of benchmarkParameters' 10^7 steps, which RatioReporter compares.
void countSteps(benchmark::State &state)
{
    state.counters["steps_per_second"]
        = benchmark::Counter(1e7, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ComputeMotion(benchmark::State &state)
{
    const ModelParameters p = benchmarkParameters();
    MotionModel model;
    model.AllocateSeries(p);
    for (auto _ : state) {
        model.ComputeMotion(p);
        benchmark::DoNotOptimize(model.ResultSeries[0][model.SamplesComputed() - 1]);
    }
    countSteps(state);
}

// Textbook RK4 on (x, v) with the time kept apart, written for speed: state
// in locals, the first stage sharing the sample's sine and, with
// ShareMidpoint, the two midpoint stages sharing theirs.
template <bool ShareMidpoint> void BM_BaselineRk4(benchmark::State &state)
{
    const ModelParameters p = benchmarkParameters();
    const double h = p.TimeStep;
    const double stop = p.StopTime;
    const double b = p.Damping, k = p.Stiffness, F0 = p.ForceAmplitude, w = p.ForceFrequency;
    const double phase = p.ForcePhase / 57.3;
    const double bm = float(b / p.Mass);
    const double w0 = float(std::sqrt(k / p.Mass));
    const double w0sq = w0 * w0;
    const double fm = float(F0 / p.Mass);
    const std::size_t capacity = std::size_t(stop / h) + 100;
    std::unique_ptr<float[]> series[5];
    for (auto &s : series)
        s = std::make_unique_for_overwrite<float[]>(capacity);

    for (auto _ : state) {
        double t = 0, x = p.InitialDeflection, v = p.InitialVelocity;
        std::size_t i = 0;
        while (t < stop && i < capacity) {
            const double s1 = std::sin(w * t + phase);
            series[0][i] = float(x);
            series[1][i] = float(v);
            series[2][i] = float(-v * b);
            series[3][i] = float(-x * k);
            series[4][i] = float(s1 * F0);
            ++i;
            const double s2 = std::sin(w * (t + 0.5 * h) + phase);
            const double s4 = std::sin(w * (t + h) + phase);
            const double kx1 = h * v;
            const double kv1 = h * (s1 * fm - bm * v - w0sq * x);
            const double kx2 = h * (v + 0.5 * kv1);
            const double kv2 = h * (s2 * fm - bm * (v + 0.5 * kv1) - w0sq * (x + 0.5 * kx1));
            const double kx3 = h * (v + 0.5 * kv2);
            const double s3 = ShareMidpoint ? s2 : std::sin(w * (t + 0.5 * h) + phase);
            const double kv3 = h * (s3 * fm - bm * (v + 0.5 * kv2) - w0sq * (x + 0.5 * kx2));
            const double kx4 = h * (v + kv3);
            const double kv4 = h * (s4 * fm - bm * (v + kv3) - w0sq * (x + kx3));
            x += (kx1 + 2 * kx2 + 2 * kx3 + kx4) * (1.0 / 6);
            v += (kv1 + 2 * kv2 + 2 * kv3 + kv4) * (1.0 / 6);
            t += h;
        }
        benchmark::DoNotOptimize(series[0][i - 1]);
    }
    countSteps(state);
}

// Several runs each, so that first touches of the 200 MB of series spread out.
BENCHMARK(BM_ComputeMotion)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BaselineRk4<true>)->Name("BM_BaselineRk4")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BaselineRk4<false>)
    ->Name("BM_BaselineRk4FourSines")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

// Prints the ratio of the two rates after the usual table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // The mean over repetitions where there are any, else the single run.
        for (const Run &run : runs) {
            const auto counter = run.counters.find("steps_per_second");
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (counter != run.counters.end() && (mean || run.run_type == Run::RT_Iteration))
                m_rates[run.run_name.function_name] = counter->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto model = m_rates.find("BM_ComputeMotion");
        if (model == m_rates.end())
            return;
        for (const char *name : { "BM_BaselineRk4", "BM_BaselineRk4FourSines" }) {
            const auto baseline = m_rates.find(name);
            if (baseline != m_rates.end() && baseline->second > 0) {
                std::printf("ComputeMotion %.3g steps/s, %s %.3g steps/s, ratio %.3f\n",
                    model->second, name, baseline->second, model->second / baseline->second);
            }
        }
    }

private:
    std::map<std::string, double> m_rates;
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return RunBenchmarks(argc, argv, reporter);
}
