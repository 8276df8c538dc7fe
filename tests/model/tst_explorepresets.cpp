#include "model/derivedquantities.h"
#include "model/explorepresets.h"
#include "model/motionmodel.h"
#include "tests/support/near.h"
#include "tests/support/nominalparameters.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

Q_DECLARE_METATYPE(Preset)
Q_DECLARE_METATYPE(DampingRegime)

class TestExplorePresets : public QObject
{
    Q_OBJECT

private slots:
    void quantitiesOfTheShippedSwing();
    void quantitiesOfADampedSwing();
    void eachPresetGivesWhatItNames_data();
    void eachPresetGivesWhatItNames();
    void releasedMotionCrossesZeroAsItsRegimeSays_data();
    void releasedMotionCrossesZeroAsItsRegimeSays();
    void resonanceSwingsQTimesTheStaticDeflection();
};

namespace {

// The coordinate samples of the motion p gives.
std::vector<float> coordinates(const ModelParameters &p)
{
    MotionModel motion;
    motion.AllocateSeries(p);
    motion.ComputeMotion(p);
    const float *x = motion.ResultSeries[MotionModel::Coordinate].get();
    return { x, x + motion.PlayableLastIndex() + 1 };
}

// The times at which x changes sign, each between its two samples.
std::vector<double> zeroCrossings(const std::vector<float> &x, double printStep)
{
    std::vector<double> times;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if ((x[i - 1] < 0 && x[i] > 0) || (x[i - 1] > 0 && x[i] < 0))
            times.push_back((double(i - 1) + x[i - 1] / (double(x[i - 1]) - x[i])) * printStep);
    }
    return times;
}

} // namespace

void TestExplorePresets::quantitiesOfTheShippedSwing()
{
    const DerivedQuantities d = DeriveQuantities(NominalParameters());
    QVERIFY(Near(d.NaturalFrequency, std::sqrt(300.0), { 0, 1e-12 }));
    QCOMPARE(d.DampingRatio, 0.0);
    QVERIFY(std::isinf(d.QualityFactor));
    QCOMPARE(d.ResonanceFrequency, d.NaturalFrequency);
    QCOMPARE(d.Regime, DampingRegime::Undamped);
    QVERIFY(d.DrivenAtResonance); // the shipped drive is at w0

    // Without a natural frequency nothing else is derived.
    const DerivedQuantities none = DeriveQuantities(NominalWith(&ModelParameters::Mass, 0));
    QCOMPARE(none.Regime, DampingRegime::Undefined);
    QVERIFY(std::isnan(none.DampingRatio) && std::isnan(none.ResonanceFrequency));
}

void TestExplorePresets::quantitiesOfADampedSwing()
{
    // m = 2, k = 600: critical damping 69.28; b = 20.
    const DerivedQuantities d = DeriveQuantities(NominalWith(&ModelParameters::Damping, 20));
    QCOMPARE(d.Regime, DampingRegime::Underdamped);
    QVERIFY(!d.DrivenAtResonance); // the peak moved 9 % below w0

    // Past zeta = 1/sqrt(2) no peak, past 1 no period.
    const DerivedQuantities heavy = DeriveQuantities(NominalWith(&ModelParameters::Damping, 60));
    QVERIFY(std::isnan(heavy.ResonanceFrequency) && !heavy.DrivenAtResonance);
    QVERIFY(!std::isnan(heavy.DampedPeriod));
    QVERIFY(std::isnan(DeriveQuantities(NominalWith(&ModelParameters::Damping, 70)).DampedPeriod));
}

void TestExplorePresets::eachPresetGivesWhatItNames_data()
{
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<DampingRegime>("regime");
    QTest::addColumn<bool>("atResonance");
    QTest::addColumn<bool>("driven");
    QTest::addColumn<double>("detuning"); // the drive's frequency times this
    // The stop time in periods of w0: five, the resonance's five time
    // constants 1/(zeta w0) beyond them, the beats' two beat periods.
    QTest::addColumn<double>("periods");

    const double resonance = 5 + 5 / (0.05 * 2 * std::numbers::pi);
    QTest::newRow("free") << Preset::FreeOscillation << DampingRegime::Undamped << false << false
                          << 1.0 << 5.0;
    QTest::newRow("under") << Preset::Underdamped << DampingRegime::Underdamped << false << false
                           << 1.0 << 5.0;
    QTest::newRow("critical") << Preset::CriticallyDamped << DampingRegime::CriticallyDamped
                              << false << false << 1.0 << 5.0;
    QTest::newRow("over") << Preset::Overdamped << DampingRegime::Overdamped << false << false
                          << 1.0 << 5.0;
    QTest::newRow("resonance") << Preset::Resonance << DampingRegime::Underdamped << true << true
                               << 1.0 << resonance;
    // The band is a share of the resonance frequency: at 0.45 and 17 1/s a
    // band of fixed width would answer otherwise.
    QTest::newRow("1.5 % above resonance")
        << Preset::Resonance << DampingRegime::Underdamped << true << true << 1.015 << resonance;
    QTest::newRow("2.5 % below resonance")
        << Preset::Resonance << DampingRegime::Underdamped << false << true << 0.975 << resonance;
    QTest::newRow("beats") << Preset::Beats << DampingRegime::Undamped << false << true << 1.0
                           << 2 / BeatsDetuning;
}

// From a heavy, slow (w0 0.45 1/s), overdamped, undriven start, and from one
// without a natural frequency, which takes the nominal w0 of 17 1/s.
void TestExplorePresets::eachPresetGivesWhatItNames()
{
    QFETCH(Preset, preset);
    QFETCH(DampingRegime, regime);
    QFETCH(bool, atResonance);
    QFETCH(bool, driven);
    QFETCH(double, detuning);
    QFETCH(double, periods);
    ModelParameters heavy = NominalParameters();
    heavy.Mass = 5;
    heavy.Stiffness = 1;
    heavy.Damping = 500;
    heavy.ForceAmplitude = 0;
    for (const ModelParameters &start : { heavy, NominalWith(&ModelParameters::Stiffness, 0) }) {
        ModelParameters p = ApplyPreset(preset, start);
        p.ForceFrequency *= float(detuning);
        const DerivedQuantities d = DeriveQuantities(p);
        QCOMPARE(d.Regime, regime);
        QCOMPARE(d.DrivenAtResonance, atResonance);
        QCOMPARE(p.ForceAmplitude != 0, driven);
        // A released mass moves from a deflection; a driven one starts at rest.
        QCOMPARE(p.InitialDeflection == 0, driven);
        QCOMPARE(p.PlaneAngle, start.PlaneAngle);
        const double period = 2 * std::numbers::pi / d.NaturalFrequency;
        QVERIFY2(Near(p.StopTime, periods * period, { 0, 1e-4 }), // as the file holds them
            qPrintable(QString::number(p.StopTime)));
        QVERIFY(p.PrintStep <= period / 20 && p.TimeStep <= p.PrintStep);
    }
    QCOMPARE(ApplyPreset(Preset::HorizontalPlane, heavy).PlaneAngle, 0.0f);
}

void TestExplorePresets::releasedMotionCrossesZeroAsItsRegimeSays_data()
{
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<bool>("crosses");
    // Back within 1 % of the release deflection after ten time constants 1/w0.
    QTest::addColumn<bool>("settles");

    QTest::newRow("free") << Preset::FreeOscillation << true << false;
    QTest::newRow("under") << Preset::Underdamped << true << false;
    QTest::newRow("critical") << Preset::CriticallyDamped << false << true;
    QTest::newRow("over") << Preset::Overdamped << false << false;
}

// The computed motion, not the formulas, checks the damping and the period.
void TestExplorePresets::releasedMotionCrossesZeroAsItsRegimeSays()
{
    QFETCH(Preset, preset);
    QFETCH(bool, crosses);
    QFETCH(bool, settles);
    ModelParameters p = ApplyPreset(preset, NominalParameters());
    p.StopTime = 2; // five periods of w0 = 17 1/s
    const DerivedQuantities d = DeriveQuantities(p);
    const std::vector<float> x = coordinates(p);

    QCOMPARE(*std::min_element(x.begin(), x.end()) < 0, crosses);
    if (crosses) {
        const std::vector<double> zeros = zeroCrossings(x, p.PrintStep);
        QVERIFY(zeros.size() >= 4);
        const double spacing = (zeros.back() - zeros.front()) / double(zeros.size() - 1);
        QVERIFY2(
            Near(spacing, d.DampedPeriod / 2, { 0, 0.002 }), qPrintable(QString::number(spacing)));
    }
    const auto settled = x.begin() + std::lround(10 / d.NaturalFrequency / p.PrintStep);
    const float after = *std::max_element(
        settled, x.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
    QCOMPARE(std::abs(after) < 0.01 * p.InitialDeflection, settles);
}

// At resonance the steady amplitude is Q times the static deflection F0/k,
// that is F0 / (b w0).
void TestExplorePresets::resonanceSwingsQTimesTheStaticDeflection()
{
    ModelParameters p = ApplyPreset(Preset::Resonance, NominalParameters());
    p.StopTime = 20; // the start has died down to e^-13 by the last quarter
    const DerivedQuantities d = DeriveQuantities(p);
    const std::vector<float> x = coordinates(p);
    const auto [low, high] = std::minmax_element(x.begin() + x.size() * 3 / 4, x.end());
    const double amplitude = (double(*high) - *low) / 2;
    QVERIFY2(Near(amplitude, d.QualityFactor * p.ForceAmplitude / p.Stiffness, { 0, 0.05 }),
        qPrintable(QString::number(amplitude)));
}

QTEST_APPLESS_MAIN(TestExplorePresets)
#include "tst_explorepresets.moc"
