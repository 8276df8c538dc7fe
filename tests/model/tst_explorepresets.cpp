#include "model/derivedquantities.h"
#include "model/explorepresets.h"
#include "tests/support/near.h"
#include "tests/support/nominalparameters.h"

#include <QTest>

#include <cmath>
#include <numbers>

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
};

void TestExplorePresets::quantitiesOfTheShippedSwing()
{
    const DerivedQuantities d = DeriveQuantities(NominalParameters());
    QVERIFY(Near(d.NaturalFrequency, std::sqrt(300.0), { 0, 1e-12 }));
    QCOMPARE(d.DampingRatio, 0.0);
    QVERIFY(std::isinf(d.QualityFactor));
    QCOMPARE(d.ResonanceFrequency, d.NaturalFrequency);
    QVERIFY(Near(d.DampedPeriod, 2 * std::numbers::pi / d.NaturalFrequency, { 0, 1e-12 }));
    QCOMPARE(d.Regime, DampingRegime::Undamped);
    QVERIFY(d.DrivenAtResonance); // the shipped drive is at w0

    // Without a natural frequency nothing else is derived.
    const DerivedQuantities none = DeriveQuantities(NominalWith(&ModelParameters::Mass, 0));
    QCOMPARE(none.Regime, DampingRegime::Undefined);
    QVERIFY(std::isnan(none.DampingRatio) && std::isnan(none.ResonanceFrequency));
}

void TestExplorePresets::quantitiesOfADampedSwing()
{
    // m = 2, k = 600: critical damping 2 sqrt(1200) = 69.28; b = 20.
    const DerivedQuantities d = DeriveQuantities(NominalWith(&ModelParameters::Damping, 20));
    const double zeta = 20 / (2 * std::sqrt(1200.0));
    QVERIFY(Near(d.CriticalDamping, 2 * std::sqrt(1200.0), { 0, 1e-12 }));
    QVERIFY(Near(d.DampingRatio, zeta, { 0, 1e-12 }));
    QVERIFY(Near(d.QualityFactor, 1 / (2 * zeta), { 0, 1e-12 }));
    QVERIFY(Near(d.ResonanceFrequency, std::sqrt(300 * (1 - 2 * zeta * zeta)), { 0, 1e-12 }));
    QVERIFY(Near(
        d.DampedPeriod, 2 * std::numbers::pi / std::sqrt(300 * (1 - zeta * zeta)), { 0, 1e-12 }));
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

    QTest::newRow("free") << Preset::FreeOscillation << DampingRegime::Undamped << false << false
                          << 1.0;
    QTest::newRow("under") << Preset::Underdamped << DampingRegime::Underdamped << false << false
                           << 1.0;
    QTest::newRow("critical") << Preset::CriticallyDamped << DampingRegime::CriticallyDamped
                              << false << false << 1.0;
    QTest::newRow("over") << Preset::Overdamped << DampingRegime::Overdamped << false << false
                          << 1.0;
    QTest::newRow("resonance") << Preset::Resonance << DampingRegime::Underdamped << true << true
                               << 1.0;
    // The band is a share of the resonance frequency: at 0.45 and 17 1/s a
    // band of fixed width would answer otherwise.
    QTest::newRow("1.5 % above resonance")
        << Preset::Resonance << DampingRegime::Underdamped << true << true << 1.015;
    QTest::newRow("2.5 % below resonance")
        << Preset::Resonance << DampingRegime::Underdamped << false << true << 0.975;
    QTest::newRow("beats") << Preset::Beats << DampingRegime::Undamped << false << true << 1.0;
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
        if (preset == Preset::Beats) {
            const double beat = 2 * std::numbers::pi / (d.NaturalFrequency - p.ForceFrequency);
            QVERIFY(Near(p.StopTime, 2 * beat, { 0, 1e-4 })); // as the file holds them
        }
    }
    QCOMPARE(ApplyPreset(Preset::HorizontalPlane, heavy).PlaneAngle, 0.0f);
}

QTEST_APPLESS_MAIN(TestExplorePresets)
#include "tst_explorepresets.moc"
