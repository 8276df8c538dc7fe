#include "model/derivedquantities.h"
#include "model/frequencysweep.h"
#include "tests/support/near.h"
#include "tests/support/nominalparameters.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

ModelParameters damped(float damping)
{
    ModelParameters p = NominalParameters();
    p.Damping = damping;
    return p;
}

// What a point measured at frequency against the exact value, for a failure.
QString against(float frequency, double measured, double exact)
{
    return QStringLiteral("w %1: %2 against %3").arg(frequency).arg(measured).arg(exact);
}

} // namespace

class TestFrequencySweep : public QObject
{
    Q_OBJECT

private slots:
    void matchesSteadyState_data();
    void matchesSteadyState();
    void phaseLagFollowsTheFormula_data();
    void phaseLagFollowsTheFormula();
    void parallelEqualsSerial();
    void cancelKeepsThePointsDone();
    void refusals_data();
    void refusals();
};

void TestFrequencySweep::matchesSteadyState_data()
{
    QTest::addColumn<float>("damping");
    QTest::newRow("light damping") << 4.0f;
    QTest::newRow("peak well below w0") << 20.0f;
}

void TestFrequencySweep::matchesSteadyState()
{
    QFETCH(float, damping);
    const ModelParameters p = damped(damping);
    FrequencySweep sweep(p, FrequencySweep::DefaultFrequencies(p));
    sweep.Run();
    const std::vector<SweepPoint> points = sweep.Points();
    QCOMPARE(int(points.size()), FrequencySweep::DefaultPointCount);
    const double w0 = NaturalFrequency(p);
    QCOMPARE(points.front().Frequency, float(0.1 * w0));
    QCOMPARE(points.back().Frequency, float(3.0 * w0));

    const double decay = p.Damping / (2 * p.Mass);
    int checked = 0;
    const SweepPoint *peak = &points.front();
    for (const SweepPoint &point : points) {
        QVERIFY(point.Done);
        if (point.Amplitude > peak->Amplitude)
            peak = &point;
        // The measurement starts at 3/4 T or one period before T.
        const double start = std::min(0.75 * p.StopTime, p.StopTime - 2 * M_PI / point.Frequency);
        if (std::exp(-decay * start) > 1e-3)
            continue; // the transient is still there
        ++checked;
        const double exact = SteadyStateAmplitude(p, point.Frequency);
        QVERIFY2(Near(point.Amplitude, exact, { .relative = 0.02 }),
            qPrintable(against(point.Frequency, point.Amplitude, exact)));
    }
    QVERIFY(checked > 190);

    const double resonance = std::sqrt(w0 * w0 - damping * damping / (2 * p.Mass * p.Mass));
    const double step = points[1].Frequency - points[0].Frequency;
    QVERIFY(Near(peak->Frequency, resonance, { .absolute = step }));
}

void TestFrequencySweep::phaseLagFollowsTheFormula_data()
{
    QTest::addColumn<double>("ratio"); // zeta
    QTest::newRow("zeta 0.05") << 0.05;
    QTest::newRow("zeta 0.2") << 0.2;
    QTest::newRow("zeta 0.5") << 0.5;
}

void TestFrequencySweep::phaseLagFollowsTheFormula()
{
    QFETCH(double, ratio);
    ModelParameters p = NominalParameters();
    p.Damping = float(2 * ratio * std::sqrt(p.Stiffness * p.Mass));
    p.StopTime = 20; // the transient of zeta 0.05 gone by the last quarter
    p.ForcePhase = 30; // the lag is measured from the drive's own phase
    FrequencySweep sweep(p, FrequencySweep::DefaultFrequencies(p));
    sweep.Run();
    const std::vector<SweepPoint> points = sweep.Points();
    const double w0 = NaturalFrequency(p);
    for (const SweepPoint &point : points) {
        const double exact = SteadyStatePhaseLag(p, point.Frequency);
        QVERIFY2(Near(point.PhaseLag, exact, { .absolute = 2 }),
            qPrintable(against(point.Frequency, point.PhaseLag, exact)));
    }
    QVERIFY(Near(points.front().PhaseLag, 0, { .absolute = 10 }));
    QVERIFY(Near(points.back().PhaseLag, 180, { .absolute = 30 }));
    // 90 degrees is passed between two neighbouring points around w0.
    const auto crossing = std::find_if(
        points.begin(), points.end(), [](const SweepPoint &point) { return point.PhaseLag >= 90; });
    QVERIFY(crossing != points.begin() && crossing != points.end());
    const double step = points[1].Frequency - points[0].Frequency;
    QVERIFY(std::abs(crossing->Frequency - w0) <= step);
    QVERIFY(std::abs(std::prev(crossing)->Frequency - w0) <= step);
}

void TestFrequencySweep::parallelEqualsSerial()
{
    const ModelParameters p = damped(4);
    FrequencySweep serial(p, FrequencySweep::DefaultFrequencies(p));
    serial.Run(1);
    FrequencySweep parallel(p, FrequencySweep::DefaultFrequencies(p));
    parallel.Run(4);
    QCOMPARE(parallel.PointsDone(), parallel.PointCount());
    const auto a = serial.Points(), b = parallel.Points();
    for (std::size_t i = 0; i < a.size(); ++i)
        QCOMPARE(b[i].Amplitude, a[i].Amplitude);
}

void TestFrequencySweep::cancelKeepsThePointsDone()
{
    ModelParameters p = damped(4);
    p.StopTime = 100;
    p.TimeStep = p.PrintStep = 0.001f; // 10^5 steps a point
    FrequencySweep sweep(p, FrequencySweep::DefaultFrequencies(p));
    sweep.Start(2);
    while (sweep.PointsDone() < 3)
        QTest::qWait(1);
    sweep.Cancel();
    sweep.Wait();
    QVERIFY(sweep.Finished());
    QVERIFY(sweep.Cancelled());
    QVERIFY(sweep.PointsDone() < sweep.PointCount());
    int done = 0;
    for (const SweepPoint &point : sweep.Points())
        done += point.Done && point.Amplitude > 0;
    QCOMPARE(done, sweep.PointsDone());
}

void TestFrequencySweep::refusals_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<float>("value");
    QTest::addColumn<FrequencySweep::Refusal>("refusal");
    QTest::addColumn<FrequencySweep::Failure>("failure");
    using R = FrequencySweep::Refusal;
    using F = FrequencySweep::Failure;
    // Field numbers in file order: 0 time step, 1 print step, 2 stop time, 3 mass, 5 stiffness,
    // 6 force amplitude.
    QTest::newRow("no mass") << 3 << 0.0f << R::NoNaturalFrequency << F::None;
    QTest::newRow("negative stiffness") << 5 << -600.0f << R::NoNaturalFrequency << F::None;
    QTest::newRow("no driving force") << 6 << 0.0f << R::NoDrivingForce << F::None;
    QTest::newRow("zero time step") << 0 << 0.0f << R::NoMotion << F::None;
    QTest::newRow("print step NaN") << 1 << NAN << R::NoMotion << F::None;
    QTest::newRow("negative stop time") << 2 << -1.0f << R::NoMotion << F::None;
    QTest::newRow("endless stop time") << 2 << INFINITY << R::NoMotion << F::None;
    QTest::newRow("10^10 steps") << 2 << 5e5f << R::TooMuchWork << F::None;
    // Started, the first point finds more samples than a series holds.
    QTest::newRow("10^8 samples") << 1 << 1e-7f << R::None << F::TooLarge;
}

void TestFrequencySweep::refusals()
{
    QFETCH(int, field);
    QFETCH(float, value);
    QFETCH(FrequencySweep::Refusal, refusal);
    QFETCH(FrequencySweep::Failure, failure);
    ModelParameters p = NominalParameters();
    *p.fields()[field] = value;
    FrequencySweep sweep(p, std::vector<float>(FrequencySweep::DefaultPointCount, 17));
    QCOMPARE(sweep.GetRefusal(), refusal);
    sweep.Run();
    QVERIFY(sweep.Finished());
    QCOMPARE(sweep.PointsDone(), 0);
    QCOMPARE(sweep.GetFailure(), failure);
}

QTEST_GUILESS_MAIN(TestFrequencySweep)
#include "tst_frequencysweep.moc"
