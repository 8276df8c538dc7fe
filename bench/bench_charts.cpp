// A paint of the time graphs with both curves and markers over 10^6 samples,
// against QPainter drawing the same two polylines from precomputed points.

#include "bench/offscreenbenchmarks.h"
#include "forms/timegraphplot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int W = 669;
constexpr int H = 361;
constexpr int Samples = 1'000'000;
constexpr float PrintStep = 1e-5f;
constexpr double Duration = Samples * double(PrintStep);

struct Curves
{
    std::vector<float> coordinate, velocity;
};

const Curves &curves()
{
    static const Curves c = [] {
        Curves made;
        for (int i = 0; i <= Samples; ++i) {
            const double t = i * double(PrintStep);
            made.coordinate.push_back(float(0.9 * std::sin(17.3 * t)));
            made.velocity.push_back(float(9 * std::cos(17.3 * t)));
        }
        return made;
    }();
    return c;
}

QImage canvasImage()
{
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(QColor(239, 239, 239));
    return image;
}

QPen curvePen(const QColor &colour)
{
    return QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void BM_TimeGraph(benchmark::State &state)
{
    TimeGraphPlot plot;
    plot.Duration = Duration;
    plot.PrintStep = PrintStep;
    plot.Markers = true;
    QImage image = canvasImage();
    for (auto _ : state) {
        QPainter canvas(&image);
        plot.DrawAxes(canvas, -1, 1, -10, 10, H, W);
        plot.DrawCurve(canvas, curves().coordinate, -1, 1, H, W, QStringLiteral("1"));
        plot.DrawCurve(canvas, curves().velocity, -10, 10, H, W, QStringLiteral("2"));
    }
    benchmark::DoNotOptimize(image.constBits());
}

QPolygon precomputed(const std::vector<float> &series, float lower, float upper)
{
    const float scale = (H - 20) / (upper - lower);
    QPolygon points;
    for (int i = 0; i < Samples; ++i)
        points.append(QPoint(30 + int(double(i) * (W - 60) / Samples),
            H - 20 - int(scale * std::max(0.0f, series[i] - lower))));
    return points;
}

void BM_BaselinePolylines(benchmark::State &state)
{
    const QPolygon coordinate = precomputed(curves().coordinate, -1, 1);
    const QPolygon velocity = precomputed(curves().velocity, -10, 10);
    QImage image = canvasImage();
    for (auto _ : state) {
        QPainter canvas(&image);
        canvas.setPen(curvePen(Qt::yellow));
        canvas.drawPolyline(coordinate);
        canvas.setPen(curvePen(Qt::red));
        canvas.drawPolyline(velocity);
    }
    benchmark::DoNotOptimize(image.constBits());
}

BENCHMARK(BM_TimeGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselinePolylines)->Unit(benchmark::kMillisecond);

// Prints the ratio of the two times after the usual table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_times[run.run_name.function_name]
                = { run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit };
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto plot = m_times.find("BM_TimeGraph");
        const auto baseline = m_times.find("BM_BaselinePolylines");
        if (plot == m_times.end() || baseline == m_times.end())
            return;
        const auto [plotReal, plotCpu] = plot->second;
        const auto [baseReal, baseCpu] = baseline->second;
        std::printf("time graph %.4f s (CPU %.4f s), baseline %.4f s (CPU %.4f s), ratio %.3f "
                    "(CPU %.3f)\n",
            plotReal, plotCpu, baseReal, baseCpu, plotReal / baseReal, plotCpu / baseCpu);
    }

private:
    // Real and CPU seconds per paint.
    std::map<std::string, std::pair<double, double>> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return RunOffscreenBenchmarks<QGuiApplication>(argc, argv, reporter);
}
