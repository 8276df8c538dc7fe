// The default frequency sweep of the shipped parameters, on one worker thread
// against one per core, in the same run.

#include "bench/runbenchmarks.h"
#include "bench/shippedparameters.h"
#include "model/frequencysweep.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

void BM_Sweep(benchmark::State &state)
{
    const ModelParameters p = ShippedParameters();
    const std::vector<float> frequencies = FrequencySweep::DefaultFrequencies(p);
    const int threads = state.range(0) == 0 ? FrequencySweep::DefaultThreads() : 1;
    for (auto _ : state) {
        FrequencySweep sweep(p, frequencies);
        sweep.Run(threads);
        benchmark::DoNotOptimize(sweep.PointsDone());
    }
    state.counters["threads"] = threads;
}

BENCHMARK(BM_Sweep)->Arg(1)->Name("BM_SweepSerial")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sweep)->Arg(0)->Name("BM_SweepParallel")->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the speed-up of the parallel sweep after the usual table.
class SpeedUpReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (mean || run.run_type == Run::RT_Iteration)
                m_seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / 1e3;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto serial = m_seconds.find("BM_SweepSerial");
        const auto parallel = m_seconds.find("BM_SweepParallel");
        if (serial != m_seconds.end() && parallel != m_seconds.end() && parallel->second > 0)
            std::printf("Sweep serial %.4f s, parallel %.4f s on %d threads, speed-up %.2f\n",
                serial->second, parallel->second, FrequencySweep::DefaultThreads(),
                serial->second / parallel->second);
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char **argv)
{
    SpeedUpReporter reporter;
    return RunBenchmarks(argc, argv, reporter);
}
