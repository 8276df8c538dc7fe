// One step of the explore window's slider: the motion recomputed and the
// chart painted anew, against the bare recomputation, for the shipped run
// and for one of 10^5 samples.

#include "analysis/backgroundmotion.h"
#include "analysis/explorechart.h"
#include "bench/offscreenbenchmarks.h"
#include "bench/shippedparameters.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// The shipped parameters (1,000 samples), or with a stop time for 10^5.
ModelParameters caseParameters(const benchmark::State &state)
{
    ModelParameters parameters = ShippedParameters();
    if (state.range(0) != 0)
        parameters.StopTime = 1000;
    return parameters;
}

void BM_SliderStep(benchmark::State &state)
{
    const ModelParameters parameters = caseParameters(state);
    const ExploreCaptions captions;
    ExploreChart chart(captions);
    chart.resize(632, 410); // as the window has it
    QImage image(chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        ComputedMotion computed = BackgroundMotion::Compute(parameters);
        chart.SetMotion(parameters, computed.Motion);
        chart.render(&image);
    }
    benchmark::DoNotOptimize(image.constBits());
}

void BM_Recompute(benchmark::State &state)
{
    const ModelParameters parameters = caseParameters(state);
    for (auto _ : state) {
        ComputedMotion computed = BackgroundMotion::Compute(parameters);
        benchmark::DoNotOptimize(computed.Motion.get());
    }
}

BENCHMARK(BM_SliderStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recompute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Prints each case's step beside its recomputation after the usual table.
class StepReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration)
                m_milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime()
                    / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[argument, name] :
            { std::pair { "0", "shipped run" }, std::pair { "1", "10^5 samples" } }) {
            const auto step = m_milliseconds.find(std::string("BM_SliderStep/") + argument);
            const auto bare = m_milliseconds.find(std::string("BM_Recompute/") + argument);
            if (step == m_milliseconds.end() || bare == m_milliseconds.end())
                continue;
            std::printf("%s: slider step %.3f ms, bare recompute %.3f ms\n", name, step->second,
                bare->second);
        }
    }

private:
    std::map<std::string, double> m_milliseconds;
};

} // namespace

int main(int argc, char **argv)
{
    StepReporter reporter;
    return RunOffscreenBenchmarks<QApplication>(argc, argv, reporter);
}
