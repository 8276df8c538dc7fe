#include "modelparameters.h"
#include "motionmodel.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// The nominal parameters of the shipped parameter file.
ModelParameters nominal()
{
    ModelParameters p;
    p.TimeStep = 0.01f;
    p.PrintStep = 0.01f;
    p.StopTime = 10;
    p.Mass = 2;
    p.Damping = 0;
    p.Stiffness = 600;
    p.ForceAmplitude = 12;
    p.ForceFrequency = 17.3205f;
    p.ForcePhase = 0;
    p.PlaneAngle = 30;
    p.Gravity = 9.8f;
    p.SpringLength = 0.4f;
    return p;
}

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
    QCOMPARE(model.SceneScale, 0.0f);
}

// Largest deviation of the coordinate from reference over samples 0 ... last,
// sample i taken at time i * p.
template<typename Reference>
double coordinateError(const MotionModel &model, double p, int last, Reference reference)
{
    double worst = 0;
    for (int i = 0; i <= last; ++i)
        worst = std::max(worst, std::abs(model.ResultSeries[MotionModel::Coordinate][i] - reference(i * p)));
    return worst;
}

} // namespace

Q_DECLARE_METATYPE(ModelParameters)

class TestMotionModel : public QObject
{
    Q_OBJECT

private slots:
    void nominalRun();
    void resonanceMatchesClosedForm();
    void dampedOscillationMatchesClosedForm();
    void sampling_data();
    void sampling();
    void intervalZeroRepeatsFirstSample();
    void degenerateTimesEndAtOnce_data();
    void degenerateTimesEndAtOnce();
    void rangesSpanSamplesAndZero_data();
    void rangesSpanSamplesAndZero();
    void failuresLeaveEmptyState();
    void computeNeverWritesBeyondCapacity();
};

void TestMotionModel::nominalRun()
{
    MotionModel model;
    compute(model, nominal());
    QCOMPARE(model.LastSampleIndex, 1000.0f);
    QCOMPARE(model.Capacity(), 1100);
    QCOMPARE(model.SamplingIntervalSteps(), std::int64_t(1));
    QCOMPARE(model.SamplesComputed(), 1001);
    QCOMPARE(model.PlayableLastIndex(), 1000);
    QCOMPARE(model.SceneScale, 250.0f);

    const double origin = 0.4f - 2 * 9.8f * std::sin(30 / 57.3) / 600;
    QVERIFY(model.OriginPosition < 0.384f && model.OriginPosition > 0.3836f);
    QVERIFY(std::abs(model.OriginPosition - origin) < 1e-7);

    for (int i = 0; i <= 1000; ++i)
        QCOMPARE(model.ResultSeries[MotionModel::ResistanceForce][i], 0.0f);
    QCOMPARE(model.SeriesRanges[MotionModel::ResistanceForce].min, 0.0f);
    QCOMPARE(model.SeriesRanges[MotionModel::ResistanceForce].max, 0.0f);

    // Resonance from rest: well over a metre either way by the end.
    QCOMPARE(model.ResultSeries[MotionModel::Coordinate][0], 0.0f);
    QVERIFY(model.SeriesRanges[MotionModel::Coordinate].max > 1.5f);
    QVERIFY(model.SeriesRanges[MotionModel::Coordinate].min < -1.5f);

    // Sample i belongs to time i * h: the driving force at i = 100.
    const double t = 100 * double(0.01f);
    QCOMPARE(model.ResultSeries[MotionModel::DrivingForce][100],
            float(std::sin(double(17.3205f) * t) * 12));
    QCOMPARE(model.ResultSeries[MotionModel::ElasticForce][100],
            float(-double(model.ResultSeries[MotionModel::Coordinate][100]) * 600));

    const float *x = model.ResultSeries[MotionModel::Coordinate].get();
    QCOMPARE(model.Value(MotionModel::Coordinate, -3), x[0]);
    QCOMPARE(model.Value(MotionModel::Coordinate, 5000), x[1000]);
    QCOMPARE(model.Value(MotionModel::Series(7), 0), 0.0f);
}

void TestMotionModel::resonanceMatchesClosedForm()
{
    MotionModel model;
    ModelParameters p = nominal();
    compute(model, p);

    // Driving at w0 = sqrt(300) from rest: x = F0/(2 m w0^2) (sin w0 t - w0 t cos w0 t).
    // The phase error of RK4 is about (w0 h)^5 / 120 per step, 1.3e-3 rad over
    // 1000 steps, or 2.3e-3 m on the final 1.73 m amplitude; the frequencies
    // differ by 8e-6 1/s, worth another 1.4e-4 m.
    const double w0 = std::sqrt(300.0);
    const auto resonance = [w0](double t) {
        return 12.0 / (2 * 2 * 300) * (std::sin(w0 * t) - w0 * t * std::cos(w0 * t));
    };
    QVERIFY(coordinateError(model, 0.01f, 1000, resonance) < 3e-3);

    // Against the exact solution for the frequencies the model uses (its
    // natural frequency is rounded to float), the error is RK4's alone and
    // falls with h^4.
    const double w = p.ForceFrequency;
    const double W = std::sqrt(600.0f / 2.0f);
    const auto exact = [w, W](double t) {
        return 6.0 / (W * W - w * w) * (std::sin(w * t) - w / W * std::sin(W * t));
    };
    const double coarse = coordinateError(model, 0.01f, 1000, exact);
    p.TimeStep = 0.005f;
    compute(model, p);
    QCOMPARE(model.SamplingIntervalSteps(), std::int64_t(2));
    const double fine = coordinateError(model, 0.01f, 1000, exact);
    QVERIFY2(coarse / fine > 12 && coarse / fine < 20, qPrintable(QString::number(coarse / fine)));
}

void TestMotionModel::dampedOscillationMatchesClosedForm()
{
    ModelParameters p = nominal();
    p.Mass = 1;
    p.Stiffness = 100;
    p.Damping = 2;
    p.ForceAmplitude = 0;
    p.InitialDeflection = 0.1f;
    p.InitialVelocity = 0.5f;
    MotionModel model;
    compute(model, p);

    // gamma = b / 2m = 1, wd = sqrt(w0^2 - gamma^2).
    const double x0 = p.InitialDeflection, v0 = p.InitialVelocity;
    const double wd = std::sqrt(99.0);
    const auto x = [&](double t) {
        return std::exp(-t) * (x0 * std::cos(wd * t) + (v0 + x0) / wd * std::sin(wd * t));
    };
    QVERIFY(coordinateError(model, 0.01f, 1000, x) < 1e-5);

    for (int i : { 0, 37, 500 }) {
        const double t = i * double(0.01f);
        const double v = std::exp(-t)
                * (v0 * std::cos(wd * t) - (x0 * wd + (v0 + x0) / wd) * std::sin(wd * t));
        QVERIFY(std::abs(model.ResultSeries[MotionModel::Velocity][i] - v) < 1e-4);
        QCOMPARE(model.ResultSeries[MotionModel::ResistanceForce][i],
                float(-double(model.ResultSeries[MotionModel::Velocity][i]) * 2));
        QCOMPARE(model.ResultSeries[MotionModel::DrivingForce][i], 0.0f);
    }
    QVERIFY(model.SeriesRanges[MotionModel::ResistanceForce].min < 0);
}

void TestMotionModel::sampling_data()
{
    QTest::addColumn<float>("h");
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("T");
    QTest::addColumn<int>("interval");
    QTest::addColumn<float>("lastSampleIndex");
    QTest::addColumn<int>("computed");
    QTest::addColumn<int>("capacity");

    // The quotient of the floats is just below 7; the factor makes it 7.
    QTest::newRow("h 0.1 p 0.7") << 0.1f << 0.7f << 7.0f << 7 << 10.0f << 10 << 110;
    QTest::newRow("h 0.001 p 0.003") << 0.001f << 0.003f << 0.3f << 3 << 100.0f << 100 << 200;
    // N = 1 while p = 1.5 h: sampled every h, more often than LastSampleIndex says.
    QTest::newRow("p no multiple of h") << 0.01f << 0.015f << 10.0f << 1 << 666.0f << 1001 << 1100;
    // N = 0: one sample before every step.
    QTest::newRow("p below h") << 0.1f << 0.01f << 1.0f << 0 << 100.0f << 11 << 200;
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

    ModelParameters params = nominal();
    params.TimeStep = h;
    params.PrintStep = p;
    params.StopTime = T;
    MotionModel model;
    compute(model, params);
    QCOMPARE(model.SamplingIntervalSteps(), std::int64_t(interval));
    QCOMPARE(model.LastSampleIndex, lastSampleIndex);
    QCOMPARE(model.SamplesComputed(), computed);
    QCOMPARE(model.Capacity(), capacity);
    QCOMPARE(model.ReadableSampleCount(), std::max(computed, int(lastSampleIndex) + 1));
    QCOMPARE(model.PlayableLastIndex(), int(lastSampleIndex));

    // The samples the integration did not reach repeat the last computed one.
    for (int i = computed; i <= int(lastSampleIndex); ++i) {
        for (const auto &series : model.ResultSeries)
            QCOMPARE(series[i], series[computed - 1]);
    }
}

// With N = 0, sample i + 1 is the state after i steps, i.e. sample i of the
// same run with p = h.
void TestMotionModel::intervalZeroRepeatsFirstSample()
{
    ModelParameters params = nominal();
    params.TimeStep = 0.1f;
    params.PrintStep = 0.1f;
    params.StopTime = 1;
    MotionModel everyStep;
    compute(everyStep, params);
    params.PrintStep = 0.001f;
    MotionModel belowStep;
    compute(belowStep, params);
    QCOMPARE(belowStep.SamplingIntervalSteps(), std::int64_t(0));
    for (int s = 0; s < MotionModel::SeriesCount; ++s) {
        QCOMPARE(belowStep.ResultSeries[s][1], belowStep.ResultSeries[s][0]);
        for (int i = 0; i < everyStep.SamplesComputed(); ++i)
            QCOMPARE(belowStep.ResultSeries[s][i + 1], everyStep.ResultSeries[s][i]);
    }
}

void TestMotionModel::degenerateTimesEndAtOnce_data()
{
    QTest::addColumn<float>("h");
    QTest::addColumn<float>("p");
    QTest::addColumn<float>("T");
    QTest::addColumn<float>("lastSampleIndex");

    QTest::newRow("T 0") << 0.01f << 0.01f << 0.0f << 0.0f;
    QTest::newRow("T negative") << 0.01f << 0.01f << -1.0f << -100.0f;
    QTest::newRow("T hugely negative") << 0.01f << 0.01f << -1e30f << float(std::trunc(double(-1e30f) / double(0.01f)));
    QTest::newRow("T NaN") << 0.01f << 0.01f << NaN << 0.0f;
    QTest::newRow("T infinite") << 0.01f << 0.01f << Inf << 0.0f;
    QTest::newRow("h 0") << 0.0f << 0.01f << 10.0f << 1000.0f;
    QTest::newRow("h negative") << -0.01f << 0.01f << 10.0f << 1000.0f;
    QTest::newRow("h NaN") << NaN << 0.01f << 10.0f << 1000.0f;
    QTest::newRow("h infinite") << Inf << 0.01f << 10.0f << 1000.0f;
    QTest::newRow("p 0") << 0.01f << 0.0f << 10.0f << 0.0f;
    QTest::newRow("p negative") << 0.01f << -0.01f << 10.0f << 0.0f;
    QTest::newRow("p NaN") << 0.01f << NaN << 10.0f << 0.0f;
    QTest::newRow("p infinite") << 0.01f << Inf << 10.0f << 0.0f;
}

// Sample 0 only, at once; every playable sample is sample 0.
void TestMotionModel::degenerateTimesEndAtOnce()
{
    QFETCH(float, h);
    QFETCH(float, p);
    QFETCH(float, T);
    QFETCH(float, lastSampleIndex);

    ModelParameters params = nominal();
    params.TimeStep = h;
    params.PrintStep = p;
    params.StopTime = T;
    params.InitialDeflection = 0.05f;
    MotionModel model;
    compute(model, params);
    QVERIFY(model.HasResult());
    QCOMPARE(model.SamplesComputed(), 1);
    QCOMPARE(model.LastSampleIndex, lastSampleIndex);
    QCOMPARE(model.PlayableLastIndex(), lastSampleIndex < 0 ? -1 : int(lastSampleIndex));
    QVERIFY(model.ReadableSampleCount() <= model.Capacity());
    for (int i = 0; i < model.ReadableSampleCount(); ++i)
        QCOMPARE(model.ResultSeries[MotionModel::Coordinate][i], 0.05f);
}

void TestMotionModel::rangesSpanSamplesAndZero_data()
{
    QTest::addColumn<ModelParameters>("params");
    QTest::newRow("nominal") << nominal();
    ModelParameters damped = nominal();
    damped.Damping = 3;
    damped.InitialDeflection = -0.2f;
    damped.ForcePhase = 45;
    QTest::newRow("damped, phase") << damped;
    // Sliding up the slope without spring or force: every series stays >= 0.
    ModelParameters sliding = nominal();
    sliding.Stiffness = 0;
    sliding.ForceAmplitude = 0;
    sliding.InitialVelocity = 1;
    QTest::newRow("positive only") << sliding;
}

void TestMotionModel::rangesSpanSamplesAndZero()
{
    QFETCH(ModelParameters, params);
    MotionModel model;
    compute(model, params);
    for (int s = 0; s < MotionModel::RangeCount; ++s) {
        float lo = 0, hi = 0;
        for (int i = 0; i < model.SamplesComputed(); ++i) {
            lo = std::min(lo, model.ResultSeries[s][i]);
            hi = std::max(hi, model.ResultSeries[s][i]);
        }
        QCOMPARE(model.SeriesRanges[s].min, lo);
        QCOMPARE(model.SeriesRanges[s].max, hi);
        QVERIFY(model.SeriesRanges[s].min <= 0 && model.SeriesRanges[s].max >= 0);
    }
}

// Every failure leaves a model that consumers can tell is empty, and that
// computes normally afterwards.
void TestMotionModel::failuresLeaveEmptyState()
{
    MotionModel model;
    QCOMPARE(model.Integrator.last, model.EquationCount - 1);
    verifyEmpty(model);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, model.ComputeMotion(nominal()));

    ModelParameters huge = nominal();
    huge.StopTime = 1e9f; // 10^11 samples
    compute(model, nominal());
    try {
        model.AllocateSeries(huge);
        QFAIL("no exception");
    } catch (const std::bad_alloc &error) {
        QCOMPARE(QByteArray(error.what()), QByteArray("Out of memory"));
    }
    verifyEmpty(model);

    ModelParameters longRun = nominal();
    longRun.TimeStep = 1e-5f;
    longRun.PrintStep = 10;
    longRun.StopTime = 10000; // 10^9 steps, only 1000 samples
    QVERIFY_THROWS_EXCEPTION(ComputationTooLarge, model.AllocateSeries(longRun));
    verifyEmpty(model);
    // Computing with other parameters than the series were made for.
    model.AllocateSeries(nominal());
    QVERIFY_THROWS_EXCEPTION(ComputationTooLarge, model.ComputeMotion(longRun));
    verifyEmpty(model);

    compute(model, nominal());
    QCOMPARE(model.PlayableLastIndex(), 1000);
    model.FreeSeries();
    verifyEmpty(model);
}

void TestMotionModel::computeNeverWritesBeyondCapacity()
{
    MotionModel model;
    model.AllocateSeries(nominal());
    ModelParameters finer = nominal();
    finer.TimeStep = 0.001f;
    finer.PrintStep = 0.001f;
    model.ComputeMotion(finer);
    QCOMPARE(model.SamplesComputed(), model.Capacity());
    QVERIFY(model.ReadableSampleCount() <= model.Capacity());
}

QTEST_GUILESS_MAIN(TestMotionModel)
#include "tst_motionmodel.moc"
