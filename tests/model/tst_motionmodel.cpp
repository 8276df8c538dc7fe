#include "model/motionmodel.h"
#include "tests/support/near.h"
#include "tests/support/nominalparameters.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(ModelParameters)

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

void compute(MotionModel &model, const ModelParameters &p)
{
    model.AllocateSeries(p);
    model.ComputeMotion(p);
}

void verifyEmpty(const MotionModel &model)
{
    QVERIFY(!model.HasResult());
    for (const auto &series : model.ResultSeries)
        QVERIFY(!series);
    QCOMPARE(model.LastSampleIndex, -1.0f);
    QCOMPARE(model.ReadableSampleCount(), 0);
    QCOMPARE(model.PlayableLastIndex(), -1);
    QCOMPARE(model.Value(MotionModel::Coordinate, 0), 0.0f);
    for (const SeriesRange &range : model.SeriesRanges)
        QVERIFY(range.min == 0 && range.max == 0);
    QCOMPARE(model.OriginPosition, 0.0f);
    QCOMPARE(model.SceneScale, 0.0f);
}

// The ranges span the computed samples and zero.
void verifyRanges(const MotionModel &model)
{
    for (int s = 0; s < MotionModel::RangeCount; ++s) {
        float lo = 0, hi = 0;
        for (int i = 0; i < model.SamplesComputed(); ++i) {
            lo = std::min(lo, model.ResultSeries[s][i]);
            hi = std::max(hi, model.ResultSeries[s][i]);
        }
        QCOMPARE(model.SeriesRanges[s].min, lo);
        QCOMPARE(model.SeriesRanges[s].max, hi);
    }
}

// Largest deviation of a series from reference over samples 0 ... 1000,
// sample i taken at time i * 0.01f.
template <typename Reference>
double deviation(const MotionModel &model, MotionModel::Series series, Reference reference)
{
    double worst = 0;
    for (int i = 0; i <= 1000; ++i)
        worst = std::max(
            worst, std::abs(model.ResultSeries[series][i] - reference(i * double(0.01f))));
    return worst;
}

// The five series straight from the integrator's stage rule and the sampling
// rule: one loop over the four stages, a fresh sine at every stage.
std::array<std::vector<float>, MotionModel::SeriesCount> plainMotion(const ModelParameters &p)
{
    const double h = p.TimeStep, b = p.Damping, k = p.Stiffness, F0 = p.ForceAmplitude;
    const double w = p.ForceFrequency, phase = p.ForcePhase / 57.3;
    const double bm = float(b / p.Mass), w0 = float(std::sqrt(k / p.Mass)), fm = float(F0 / p.Mass);
    const auto interval = std::int64_t(p.PrintStep * 1.0000001 / h);
    constexpr double weight[5] = { 0, 1, 2, 1, 1 };
    double y[3] = { 0, p.InitialDeflection, p.InitialVelocity }, ys[3], f[3], kk[5][3] = {};
    std::array<std::vector<float>, MotionModel::SeriesCount> series;
    const auto store = [&] {
        const double x = y[1], v = y[2];
        const float values[] = { float(x), float(v), float(-v * b), float(-x * k),
            float(std::sin(w * y[0] + phase) * F0) };
        for (int s = 0; s < MotionModel::SeriesCount; ++s)
            series[s].push_back(values[s]);
    };
    store();
    for (std::int64_t j = 0; y[0] < p.StopTime; ++j) {
        if (j >= interval) {
            j = 0;
            store();
        }
        std::copy(y, y + 3, ys);
        for (int s = 1; s <= 4; ++s) {
            f[0] = 1;
            f[1] = ys[2];
            f[2] = std::sin(w * ys[0] + phase) * fm + (-bm * ys[2] - w0 * w0 * ys[1]);
            for (int i = 0; i < 3; ++i) {
                ys[i] = ys[i] - 0.5 * kk[s - 1][i];
                kk[s][i] = h * f[i];
                if (s == 3)
                    kk[s][i] = 2 * kk[s][i];
                ys[i] = ys[i] + 0.5 * kk[s][i];
                y[i] = y[i] + weight[s] * kk[s][i] * (1.0 / 6);
            }
        }
    }
    return series;
}

} // namespace

class TestMotionModel : public QObject
{
    Q_OBJECT

private slots:
    void nominalRun();
    void resonanceMatchesClosedForm();
    void dampedOscillationMatchesClosedForm();
    void sameBitsAsThePlainIntegration_data();
    void sameBitsAsThePlainIntegration();
    void sampling_data();
    void sampling();
    void intervalZeroRepeatsFirstSample();
    void failuresLeaveEmptyState();
    void refusalsGiveExactFigures_data();
    void refusalsGiveExactFigures();
    void progressLeavesTheBitsAloneAndCancels();
    void warnings_data();
    void warnings();
};

void TestMotionModel::nominalRun()
{
    MotionModel model;
    compute(model, NominalParameters());
    QCOMPARE(model.SceneScale, 250.0f);
    const double origin = 0.4f - 2 * 9.8f * std::sin(30 / 57.3) / 600;
    QVERIFY(model.OriginPosition < 0.384f && model.OriginPosition > 0.3836f);
    QVERIFY(Near(model.OriginPosition, origin, { .absolute = 1e-7 }));

    for (int i = 0; i <= 1000; ++i)
        QCOMPARE(model.ResultSeries[MotionModel::ResistanceForce][i], 0.0f);
    QCOMPARE(model.SeriesRanges[MotionModel::ResistanceForce].min, 0.0f);
    QCOMPARE(model.SeriesRanges[MotionModel::ResistanceForce].max, 0.0f);
    verifyRanges(model);

    QCOMPARE(model.ResultSeries[MotionModel::ElasticForce][100],
        float(-double(model.ResultSeries[MotionModel::Coordinate][100]) * 600));
    const float *x = model.ResultSeries[MotionModel::Coordinate].get();
    QCOMPARE(model.Value(MotionModel::Coordinate, -3), x[0]);
    QCOMPARE(model.Value(MotionModel::Coordinate, 5000), x[1000]);
    QCOMPARE(model.Value(MotionModel::Series(7), 0), 0.0f);

    // Sample i belongs to time i * h; the phase is in degrees.
    for (float phase : { 0.0f, 45.0f }) {
        ModelParameters p = NominalParameters();
        p.ForcePhase = phase;
        compute(model, p);
        QVERIFY(deviation(model, MotionModel::DrivingForce, [phase](double t) {
            return 12 * std::sin(double(17.3205f) * t + phase / 57.3);
        }) < 1e-5);
    }
}

void TestMotionModel::resonanceMatchesClosedForm()
{
    MotionModel model;
    ModelParameters p = NominalParameters();
    compute(model, p);

    // Driving at w0 = sqrt(300) from rest: x = F0/(2 m w0^2) (sin w0 t - w0 t cos w0 t).
    // The phase error of RK4 is about (w0 h)^5 / 120 per step, 1.3e-3 rad over
    // 1000 steps, or 2.3e-3 m on the final 1.73 m amplitude; the frequencies
    // differ by 8e-6 1/s, worth another 1.4e-4 m.
    const double w0 = std::sqrt(300.0);
    QVERIFY(deviation(model, MotionModel::Coordinate, [w0](double t) {
        return 12.0 / (2 * 2 * 300) * (std::sin(w0 * t) - w0 * t * std::cos(w0 * t));
    }) < 3e-3);

    // Against the exact solution for the frequencies the model uses (its
    // natural frequency is rounded to float), the error is RK4's alone and
    // falls with h^4, also when every second step is sampled.
    const double w = p.ForceFrequency;
    const double W = std::sqrt(600.0f / 2.0f);
    const auto exact = [w, W](double t) {
        return 6.0 / (W * W - w * w) * (std::sin(w * t) - w / W * std::sin(W * t));
    };
    const double coarse = deviation(model, MotionModel::Coordinate, exact);
    p.TimeStep = 0.005f;
    compute(model, p);
    QCOMPARE(model.SamplingIntervalSteps(), std::int64_t(2));
    const double fine = deviation(model, MotionModel::Coordinate, exact);
    QVERIFY2(coarse / fine > 12 && coarse / fine < 20, qPrintable(QString::number(coarse / fine)));
}

void TestMotionModel::dampedOscillationMatchesClosedForm()
{
    ModelParameters p = NominalParameters();
    p.Mass = 2;
    p.Stiffness = 200;
    p.Damping = 4;
    p.ForceAmplitude = 0;
    p.InitialDeflection = 0.1f;
    p.InitialVelocity = 0.5f;
    MotionModel model;
    compute(model, p);

    // gamma = b / 2m = 1, wd = sqrt(w0^2 - gamma^2).
    const double x0 = p.InitialDeflection, v0 = p.InitialVelocity;
    const double wd = std::sqrt(99.0);
    QVERIFY(deviation(model, MotionModel::Coordinate, [&](double t) {
        return std::exp(-t) * (x0 * std::cos(wd * t) + (v0 + x0) / wd * std::sin(wd * t));
    }) < 1e-5);
    QVERIFY(deviation(model, MotionModel::Velocity, [&](double t) {
        return std::exp(-t)
            * (v0 * std::cos(wd * t) - (x0 * wd + (v0 + x0) / wd) * std::sin(wd * t));
    }) < 1e-4);
    for (int i : { 0, 37, 500 }) {
        QCOMPARE(model.ResultSeries[MotionModel::ResistanceForce][i],
            float(-double(model.ResultSeries[MotionModel::Velocity][i]) * 4));
    }
    verifyRanges(model);
}

void TestMotionModel::sameBitsAsThePlainIntegration_data()
{
    QTest::addColumn<ModelParameters>("parameters");
    ModelParameters p = NominalParameters();
    QTest::newRow("nominal") << p;
    p.Mass = 3; // b/m is no float: it must be rounded to one
    p.Damping = 1;
    p.InitialDeflection = 0.05f;
    p.InitialVelocity = -0.3f;
    QTest::newRow("damped, b/m inexact") << p;
    p.TimeStep = 0.005f;
    p.ForcePhase = 30;
    p.ForceAmplitude = -7;
    QTest::newRow("every second step, phase, negative force") << p;
    p = NominalWithTimes(0.01f, 0.015f, 5);
    p.ForceFrequency = 3;
    p.PlaneAngle = 45;
    QTest::newRow("p no multiple of h") << p;
    QTest::newRow("p below h") << NominalWithTimes(0.1f, 0.01f, 3);
}

// Bit for bit: any reordering of the arithmetic shows in some last place.
void TestMotionModel::sameBitsAsThePlainIntegration()
{
    QFETCH(ModelParameters, parameters);
    MotionModel model;
    compute(model, parameters);
    const auto expected = plainMotion(parameters);
    QCOMPARE(model.SamplesComputed(), int(expected[0].size()));
    for (int s = 0; s < MotionModel::SeriesCount; ++s) {
        for (int i = 0; i < model.SamplesComputed(); ++i)
            QCOMPARE(std::bit_cast<std::uint32_t>(model.ResultSeries[s][i]),
                std::bit_cast<std::uint32_t>(expected[s][i]));
    }
}

void TestMotionModel::sampling_data()
{
    QTest::addColumn<float>("h");
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("T");
    QTest::addColumn<int>("interval"); // -1: not specified (nothing is integrated)
    QTest::addColumn<float>("lastSampleIndex");
    QTest::addColumn<int>("computed");
    QTest::addColumn<int>("capacity"); // -1: not specified

    QTest::newRow("nominal times") << 0.01f << 0.01f << 10.0f << 1 << 1000.0f << 1001 << 1100;
    // The quotient of the floats is just below 7; the factor makes it 7.
    QTest::newRow("h 0.1 p 0.7") << 0.1f << 0.7f << 7.0f << 7 << 10.0f << 10 << 110;
    QTest::newRow("h 0.001 p 0.003") << 0.001f << 0.003f << 0.3f << 3 << 100.0f << 100 << 200;
    // N = 1 while p = 1.5 h: sampled every h, more often than LastSampleIndex says.
    QTest::newRow("p no multiple of h") << 0.01f << 0.015f << 10.0f << 1 << 666.0f << 1001 << 1100;
    // N = 0: one sample before every step.
    QTest::newRow("p below h") << 0.1f << 0.01f << 1.0f << 0 << 100.0f << 11 << 200;
    // T / h = 10.5: the last step starts at 1.0 s, which is below T and sampled.
    QTest::newRow("T between two steps") << 0.1f << 0.1f << 1.05f << 1 << 10.0f << 11 << 110;
    // 12 / 0.05f is 239.99999... in double, 240 once rounded to a float.
    QTest::newRow("T / p just below whole") << 0.01f << 0.05f << 12.0f << 5 << 239.0f << 241 << 340;

    // Sample 0 only, at once.
    QTest::newRow("T 0") << 0.01f << 0.01f << 0.0f << -1 << 0.0f << 1 << -1;
    QTest::newRow("T negative") << 0.01f << 0.01f << -1.0f << -1 << -100.0f << 1 << -1;
    QTest::newRow("T hugely negative")
        << 0.01f << 0.01f << -1e30f << -1 << float(std::trunc(double(-1e30f) / double(0.01f))) << 1
        << -1;
    QTest::newRow("T NaN") << 0.01f << 0.01f << NaN << -1 << 0.0f << 1 << -1;
    QTest::newRow("T infinite") << 0.01f << 0.01f << Inf << -1 << 0.0f << 1 << -1;
    QTest::newRow("h 0") << 0.0f << 0.01f << 10.0f << -1 << 1000.0f << 1 << -1;
    QTest::newRow("h negative") << -0.01f << 0.01f << 10.0f << -1 << 1000.0f << 1 << -1;
    QTest::newRow("h NaN") << NaN << 0.01f << 10.0f << -1 << 1000.0f << 1 << -1;
    QTest::newRow("h infinite") << Inf << 0.01f << 10.0f << -1 << 1000.0f << 1 << -1;
    QTest::newRow("p 0") << 0.01f << 0.0f << 10.0f << -1 << 0.0f << 1 << -1;
    QTest::newRow("p negative") << 0.01f << -0.01f << 10.0f << -1 << 0.0f << 1 << -1;
    QTest::newRow("p NaN") << 0.01f << NaN << 10.0f << -1 << 0.0f << 1 << -1;
    QTest::newRow("p infinite") << 0.01f << Inf << 10.0f << -1 << 0.0f << 1 << -1;
}

void TestMotionModel::sampling()
{
    QFETCH(float, h);
    QFETCH(float, p);
    QFETCH(float, T);
    QFETCH(int, interval);
    QFETCH(float, lastSampleIndex);
    QFETCH(int, computed);
    QFETCH(int, capacity);

    // A displaced start, so that no sample is all zeros.
    ModelParameters params = NominalWithTimes(h, p, T);
    params.InitialDeflection = 0.05f;
    MotionModel model;
    compute(model, params);
    QVERIFY(model.HasResult());
    if (interval >= 0)
        QCOMPARE(model.SamplingIntervalSteps(), std::int64_t(interval));
    if (capacity >= 0)
        QCOMPARE(model.Capacity(), capacity);
    QCOMPARE(model.LastSampleIndex, lastSampleIndex);
    QCOMPARE(model.SamplesComputed(), computed);
    const int last = lastSampleIndex < 0 ? -1 : int(lastSampleIndex);
    QCOMPARE(model.PlayableLastIndex(), last);
    QCOMPARE(model.ReadableSampleCount(), std::max(computed, last + 1));
    QVERIFY(model.ReadableSampleCount() <= model.Capacity());

    // The samples the integration did not reach repeat the last computed one.
    for (int i = computed; i <= last; ++i) {
        for (const auto &series : model.ResultSeries)
            QCOMPARE(series[i], series[computed - 1]);
    }
    verifyRanges(model); // with zero: in the one-sample runs x > 0, the elastic force < 0
}

// With N = 0, sample i + 1 is the state after i steps, i.e. sample i of the
// same run with p = h.
void TestMotionModel::intervalZeroRepeatsFirstSample()
{
    MotionModel everyStep, belowStep;
    compute(everyStep, NominalWithTimes(0.1f, 0.1f, 1));
    compute(belowStep, NominalWithTimes(0.1f, 0.001f, 1));
    QCOMPARE(belowStep.SamplingIntervalSteps(), std::int64_t(0));
    for (int s = 0; s < MotionModel::SeriesCount; ++s) {
        QCOMPARE(belowStep.ResultSeries[s][1], belowStep.ResultSeries[s][0]);
        for (int i = 0; i < everyStep.SamplesComputed(); ++i)
            QCOMPARE(belowStep.ResultSeries[s][i + 1], everyStep.ResultSeries[s][i]);
    }
}

// Every failure leaves a model that consumers can tell is empty, and that
// computes normally afterwards.
void TestMotionModel::failuresLeaveEmptyState()
{
    MotionModel model;
    verifyEmpty(model);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, model.ComputeMotion(NominalParameters()));

    compute(model, NominalParameters());
    QVERIFY_THROWS_EXCEPTION(
        ComputationTooLarge, model.AllocateSeries(NominalWithTimes(0.01f, 0.01f, 1e9f)));
    verifyEmpty(model);

    const ModelParameters longRun = NominalWithTimes(1e-5f, 10, 10000); // 10^9 steps, 1000 samples
    QVERIFY_THROWS_EXCEPTION(ComputationTooLarge, model.AllocateSeries(longRun));
    verifyEmpty(model);
    // Series made for other parameters: a longer run stops at their end, a
    // far longer one fails.
    model.AllocateSeries(NominalParameters());
    model.ComputeMotion(NominalWithTimes(0.001f, 0.001f, 10));
    QCOMPARE(model.SamplesComputed(), model.Capacity());
    QVERIFY(model.ReadableSampleCount() <= model.Capacity());
    QVERIFY_THROWS_EXCEPTION(ComputationTooLarge, model.ComputeMotion(longRun));
    verifyEmpty(model);

    compute(model, NominalParameters());
    QCOMPARE(model.PlayableLastIndex(), 1000);
    model.FreeSeries();
    verifyEmpty(model);
}

void TestMotionModel::refusalsGiveExactFigures_data()
{
    QTest::addColumn<ModelParameters>("parameters");
    QTest::addColumn<int>("reason");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("needed");
    QTest::addColumn<double>("allowed");
    QTest::addColumn<double>("fitting"); // to 6 digits; 0 for none
    QTest::newRow("steps") << NominalWithTimes(1e-6f, 0.01f, 100)
                           << int(ComputationRefusal::TooManySteps) << double(1e-6f) << 100000001.0
                           << 1e8 << 0.0;
    QTest::newRow("samples") << NominalWithTimes(0.01f, 0.01f, 1e9f)
                             << int(ComputationRefusal::TooManySamples) << double(0.01f)
                             << 100000002236.0 << 24999901.0 << 40.0002;
    // Sampled every h, more often than p says.
    QTest::newRow("samples every step")
        << NominalWithTimes(0.01f, 0.015f, 300000) << int(ComputationRefusal::TooManySampledSteps)
        << double(0.01f) << 30000001.0 << 24999901.0 << 0.0120001;
}

void TestMotionModel::refusalsGiveExactFigures()
{
    QFETCH(ModelParameters, parameters);
    QFETCH(int, reason);
    QFETCH(double, step);
    QFETCH(double, needed);
    QFETCH(double, allowed);
    QFETCH(double, fitting);
    MotionModel model;
    try {
        model.AllocateSeries(parameters);
        QFAIL("not refused");
    } catch (const ComputationTooLarge &error) {
        const ComputationRefusal &refusal = error.Refusal();
        QCOMPARE(int(refusal.reason), reason);
        QCOMPARE(refusal.stopTime, double(parameters.StopTime));
        QCOMPARE(refusal.step, step);
        QCOMPARE(refusal.needed, needed);
        QCOMPARE(refusal.allowed, allowed);
        QCOMPARE(
            QString::number(refusal.fittingPrintStep, 'g', 6), QString::number(fitting, 'g', 6));
    }
}

// 300,000 steps: progress is asked several times.
void TestMotionModel::progressLeavesTheBitsAloneAndCancels()
{
    const ModelParameters parameters = NominalWithTimes(1e-4f, 0.01f, 30);
    MotionModel plain, watched;
    compute(plain, parameters);
    watched.AllocateSeries(parameters);
    std::vector<std::int64_t> told;
    QVERIFY(watched.ComputeMotion(parameters, [&](std::int64_t done, std::int64_t total) {
        told.push_back(done);
        return total == 300001; // 30 / 0.000099999997, rounded up
    }));
    QCOMPARE(told, (std::vector<std::int64_t> { 65536, 131072, 196608, 262144 }));
    QCOMPARE(watched.ReadableSampleCount(), plain.ReadableSampleCount());
    for (int s = 0; s < MotionModel::SeriesCount; ++s)
        QVERIFY(std::memcmp(watched.ResultSeries[s].get(), plain.ResultSeries[s].get(),
                    sizeof(float) * plain.ReadableSampleCount())
            == 0);

    watched.AllocateSeries(parameters);
    QVERIFY(!watched.ComputeMotion(parameters, [](std::int64_t, std::int64_t) { return false; }));
    verifyEmpty(watched);
}

void TestMotionModel::warnings_data()
{
    QTest::addColumn<ModelParameters>("parameters");
    QTest::addColumn<int>("stillness");
    QTest::addColumn<int>("nonFinite");
    QTest::addColumn<double>("nonFiniteTime");
    QTest::newRow("nominal") << NominalParameters() << int(MotionWarning::Moving)
                             << int(MotionWarning::Finite) << 0.0;
    QTest::newRow("mass 0") << NominalWith(&ModelParameters::Mass, 0) << int(MotionWarning::Moving)
                            << int(MotionWarning::FromTime) << double(0.01f);
    QTest::newRow("stiffness 0") << NominalWith(&ModelParameters::Stiffness, 0)
                                 << int(MotionWarning::Moving) << int(MotionWarning::InOrigin)
                                 << 0.0;
    QTest::newRow("time step 0") << NominalWith(&ModelParameters::TimeStep, 0)
                                 << int(MotionWarning::TimeStepNotPositive)
                                 << int(MotionWarning::Finite) << 0.0;
    QTest::newRow("print step -1")
        << NominalWith(&ModelParameters::PrintStep, -1) << int(MotionWarning::PrintStepNotPositive)
        << int(MotionWarning::Finite) << 0.0;
    QTest::newRow("stop time -5") << NominalWith(&ModelParameters::StopTime, -5)
                                  << int(MotionWarning::Moving) << int(MotionWarning::Finite)
                                  << 0.0;
}

void TestMotionModel::warnings()
{
    QFETCH(ModelParameters, parameters);
    QFETCH(int, stillness);
    QFETCH(int, nonFinite);
    QFETCH(double, nonFiniteTime);
    MotionModel model;
    compute(model, parameters);
    const MotionWarning warning = model.Warning(parameters);
    QCOMPARE(int(warning.stillness), stillness);
    QCOMPARE(int(warning.nonFinite), nonFinite);
    QCOMPARE(warning.nonFiniteTime, nonFiniteTime);
    QCOMPARE(
        warning.Any(), stillness != MotionWarning::Moving || nonFinite != MotionWarning::Finite);
    // The figures a message quotes are the parameters as given.
    QCOMPARE(warning.timeStep, double(parameters.TimeStep));
    QCOMPARE(warning.printStep, double(parameters.PrintStep));
}

QTEST_GUILESS_MAIN(TestMotionModel)
#include "tst_motionmodel.moc"
