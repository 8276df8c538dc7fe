#include "model/energybalance.h"
#include "model/motionmodel.h"
#include "tests/support/near.h"
#include "tests/support/nominalparameters.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

ModelParameters swinging(float h, float damping, float force)
{
    ModelParameters p = NominalParameters();
    p.TimeStep = p.PrintStep = h;
    p.Damping = damping;
    p.ForceAmplitude = force;
    p.InitialDeflection = 0.1f;
    return p;
}

EnergyBalance balanceOf(const ModelParameters &p, int maxPoints = 0)
{
    MotionModel motion;
    motion.AllocateSeries(p);
    motion.ComputeMotion(p);
    return ComputeEnergyBalance(motion, p, maxPoints);
}

double largest(const std::vector<float> &values)
{
    double worst = 0;
    for (float value : values)
        worst = std::max(worst, double(std::abs(value)));
    return worst;
}

} // namespace

class TestEnergyBalance : public QObject
{
    Q_OBJECT

private slots:
    void freeResidualIsTheIntegratorsEnergyError_data();
    void freeResidualIsTheIntegratorsEnergyError();
    void worksBalanceTheEnergy_data();
    void worksBalanceTheEnergy();
    void thinnedKeepsTheIntegrals();
};

void TestEnergyBalance::freeResidualIsTheIntegratorsEnergyError_data()
{
    QTest::addColumn<float>("step");
    QTest::newRow("0.02 s") << 0.02f;
    QTest::newRow("0.01 s") << 0.01f;
    QTest::newRow("0.005 s") << 0.005f;
}

// RK4 multiplies the energy of an undamped oscillator by |R(i w0 h)|², that is
// 1 − (w0 h)^6/72 + (w0 h)^8/576, every step: over a fixed time the residual
// grows with the fifth power of the step.
void TestEnergyBalance::freeResidualIsTheIntegratorsEnergyError()
{
    QFETCH(float, step);
    const ModelParameters p = swinging(step, 0, 0);
    const EnergyBalance balance = balanceOf(p);
    QCOMPARE(largest(balance.DamperWork), 0.0);
    QCOMPARE(largest(balance.DriveWork), 0.0);

    const double initial = balance.Kinetic[0] + balance.Spring[0];
    QCOMPARE(initial, p.Stiffness * 0.1 * 0.1 / 2);
    const double theta = std::sqrt(double(p.Stiffness) / p.Mass) * step;
    const double perStep = 1 - std::pow(theta, 6) / 72 + std::pow(theta, 8) / 576;
    const int last = balance.Count() - 1;
    const double expected = initial * (std::pow(perStep, last) - 1);
    QVERIFY2(Near(balance.Residual[last], expected, { .relative = 0.02 }),
        qPrintable(QString::number(balance.Residual[last] / expected)));
}

void TestEnergyBalance::worksBalanceTheEnergy_data()
{
    QTest::addColumn<float>("damping");
    QTest::addColumn<float>("force");
    QTest::newRow("damper only") << 4.0f << 0.0f;
    QTest::newRow("drive only") << 0.0f << 12.0f;
    QTest::newRow("both") << 4.0f << 12.0f;
}

void TestEnergyBalance::worksBalanceTheEnergy()
{
    QFETCH(float, damping);
    QFETCH(float, force);
    const EnergyBalance balance = balanceOf(swinging(0.001f, damping, force));
    const int last = balance.Count() - 1;
    QVERIFY(last >= 9999);
    const double change
        = balance.Kinetic[last] + balance.Spring[last] - balance.Kinetic[0] - balance.Spring[0];
    const double works = balance.DamperWork[last] + balance.DriveWork[last];
    QVERIFY(std::abs(change) > 1);
    // The trapezoidal rule's error of a few 10^-5 of the work, nothing unaccounted.
    QVERIFY2(std::abs(change - works)
            < 1e-4 * (std::abs(balance.DamperWork[last]) + std::abs(balance.DriveWork[last])),
        qPrintable(QStringLiteral("%1 against %2").arg(change).arg(works)));
    QVERIFY(damping > 0 ? balance.DamperWork[last] < 0 : balance.DamperWork[last] == 0);
}

void TestEnergyBalance::thinnedKeepsTheIntegrals()
{
    const ModelParameters p = swinging(0.01f, 4, 12);
    const EnergyBalance all = balanceOf(p);
    // Every 11th of the 1000 intervals, which leave 10 over: the last sample
    // comes on its own.
    const EnergyBalance thinned = balanceOf(p, 100);
    QCOMPARE(all.Count(), 1001);
    QCOMPARE(thinned.Count(), 92);
    for (int i = 0; i < thinned.Count(); ++i) {
        const int sample = std::min(11 * i, 1000);
        QCOMPARE(thinned.Sample[i], std::size_t(sample));
        QCOMPARE(thinned.Time[i], all.Time[sample]);
        QCOMPARE(thinned.DriveWork[i], all.DriveWork[sample]);
        QCOMPARE(thinned.Residual[i], all.Residual[sample]);
    }
}

QTEST_GUILESS_MAIN(TestEnergyBalance)
#include "tst_energybalance.moc"
