// One step of the explore window's slider: the motion recomputed and the
// chart painted anew, against the bare recomputation, for the shipped run
// and for one of 10^5 samples; and the same step with the resonance window
// following, until its curve and phase lag show the new values; and a
// slider dragged faster than the curve can be computed.

#include "analysis/backgroundmotion.h"
#include "analysis/explorechart.h"
#include "analysis/explorewindow.h"
#include "analysis/parameterslider.h"
#include "analysis/resonancewindow.h"
#include "bench/offscreenbenchmarks.h"
#include "bench/shippedparameters.h"
#include "model/explorepresets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>

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

// 250 steps of the damping slider at 57 a second, through the slider's own
// action, over 10^5 samples: the curves shown per step, the longest time
// without a new curve from the first step to the last curve, and the CPU time.
void BM_DraggedSlider(benchmark::State &state)
{
    constexpr int Steps = 250;
    constexpr int StepMilliseconds = 1000 / 57;
    ModelParameters parameters = ShippedParameters();
    parameters.StopTime = 1000;
    ExploreWindow window({}, nullptr);
    window.Open(parameters);
    while (window.Computing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QSlider &slider = *window.Fields[1]->Slider;
    for (auto _ : state) {
        slider.setValue(0);
        while (window.Computing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::vector<qint64> shown;
        QElapsedTimer clock;
        const auto connection = QObject::connect(&window, &ExploreWindow::MotionShown,
            [&shown, &clock] { shown.push_back(clock.elapsed()); });
        int stepsDone = 0;
        QTimer stepper;
        stepper.setTimerType(Qt::PreciseTimer);
        QObject::connect(&stepper, &QTimer::timeout, [&] {
            slider.triggerAction(QAbstractSlider::SliderSingleStepAdd);
            if (++stepsDone == Steps)
                stepper.stop();
        });
        const std::clock_t cpuStart = std::clock();
        clock.start();
        stepper.start(StepMilliseconds);
        while (stepsDone < Steps || window.Computing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        QObject::disconnect(connection);
        qint64 longestGap = shown.empty() ? clock.elapsed() : shown.front();
        for (std::size_t i = 1; i < shown.size(); ++i)
            longestGap = std::max(longestGap, shown[i] - shown[i - 1]);
        state.counters["curves_per_step"] = double(shown.size()) / Steps;
        state.counters["longest_gap_ms"] = double(longestGap);
        state.counters["cpu_s"] = cpuSeconds;
        state.counters["wall_s"] = clock.elapsed() / 1e3;
    }
}

BENCHMARK(BM_SliderStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DraggedSlider)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
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
            if (run.counters.count("curves_per_step"))
                m_drag = run.counters;
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
        if (!m_drag.empty()) {
            std::printf("slider dragged over 10^5 samples: %.2f curves per step, longest gap "
                        "%.0f ms, CPU %.2f s in %.2f s\n",
                double(m_drag["curves_per_step"]), double(m_drag["longest_gap_ms"]),
                double(m_drag["cpu_s"]), double(m_drag["wall_s"]));
        }
    }

private:
    std::map<std::string, double> m_milliseconds;
    std::map<std::string, double> m_exploreMilliseconds;
    benchmark::UserCounters m_drag;
};

} // namespace

int main(int argc, char **argv)
{
    StepReporter reporter;
    return RunOffscreenBenchmarks<QApplication>(argc, argv, reporter);
}
