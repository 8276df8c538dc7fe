// One step of the explore window's slider: the motion recomputed and the
// chart painted anew, against the bare recomputation, for the shipped run
// and for one of 10^5 samples; and the same step with the resonance window
// following, until its curve and phase lag show the new values.

#include "analysis/backgroundmotion.h"
#include "analysis/explorechart.h"
#include "analysis/resonancewindow.h"
#include "bench/offscreenbenchmarks.h"
#include "bench/shippedparameters.h"
#include "model/explorepresets.h"

#include <QApplication>
#include <QImage>
#include <QProgressBar>

#include <benchmark/benchmark.h>

#include <chrono>

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

// The shipped parameters, or the resonance preset's (zeta = 0.05).
ModelParameters resonanceCase(const benchmark::State &state)
{
    const ModelParameters shipped = ShippedParameters();
    return state.range(0) == 0 ? shipped : ApplyPreset(Preset::Resonance, shipped);
}

void waitForSweep(const ResonanceWindow &window)
{
    while (window.Progress->isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A damping step with the resonance window open: the explore curve computed
// and painted while the sweep runs beside it, then the wait for the sweep.
void BM_StepWithResonance(benchmark::State &state)
{
    ModelParameters parameters = resonanceCase(state);
    const float damping = parameters.Damping;
    ResonanceWindow resonance;
    resonance.Open(parameters, ParameterSource::Explore);
    waitForSweep(resonance);
    const ExploreCaptions captions;
    ExploreChart chart(captions);
    chart.resize(632, 410);
    QImage image(chart.size(), QImage::Format_RGB32);
    QImage resonanceImage(resonance.Chart->size(), QImage::Format_RGB32);
    double exploreSeconds = 0;
    bool stepped = false;
    for (auto _ : state) {
        stepped = !stepped;
        parameters.Damping = damping + (stepped ? 0.01f : 0);
        const auto start = std::chrono::steady_clock::now();
        resonance.Follow(parameters, ParameterSource::Explore);
        ComputedMotion computed = BackgroundMotion::Compute(parameters);
        chart.SetMotion(parameters, computed.Motion);
        chart.render(&image);
        exploreSeconds
            += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        waitForSweep(resonance);
        resonance.Chart->render(&resonanceImage);
    }
    state.counters["explore_ms"]
        = benchmark::Counter(exploreSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_SliderStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepWithResonance)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Recompute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Prints each case's step beside its recomputation after the usual table.
class StepReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            m_milliseconds[run.benchmark_name()]
                = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            if (const auto explore = run.counters.find("explore_ms"); explore != run.counters.end())
                m_exploreMilliseconds[run.benchmark_name()] = explore->second;
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
        for (const auto &[argument, name] : { std::pair { "0", "shipped run" },
                 std::pair { "1", "resonance preset, zeta 0.05" } }) {
            const std::string run = std::string("BM_StepWithResonance/") + argument + "/real_time";
            const auto whole = m_milliseconds.find(run);
            const auto explore = m_exploreMilliseconds.find(run);
            if (whole == m_milliseconds.end() || explore == m_exploreMilliseconds.end())
                continue;
            std::printf("%s, resonance window open: explore curve %.3f ms, resonance curve and "
                        "phase %.3f ms\n",
                name, explore->second, whole->second);
        }
    }

private:
    std::map<std::string, double> m_milliseconds;
    std::map<std::string, double> m_exploreMilliseconds;
};

} // namespace

int main(int argc, char **argv)
{
    StepReporter reporter;
    return RunOffscreenBenchmarks<QApplication>(argc, argv, reporter);
}
