#include "runge.h"

#include <QTest>

#include <cmath>

namespace {

bool closeTo(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance;
}

// x' = v, v' = -x from (1, 0) up to time 1 in steps of h.
double oscillatorError(int steps)
{
    runge rk(2);
    const double h = 1.0 / steps;
    rk.y[0] = 1;
    rk.y[1] = 0;
    for (int n = 0; n < steps; ++n) {
        rk.start_step();
        while (rk.stage < 5) {
            rk.f[0] = rk.ys[1];
            rk.f[1] = -rk.ys[0];
            rk.stage_step(h);
        }
    }
    return std::hypot(rk.y[0] - std::cos(1.0), rk.y[1] + std::sin(1.0));
}

} // namespace

class TestRunge : public QObject
{
    Q_OBJECT

private slots:
    void exponentialStep_data();
    void exponentialStep();
    void stagePoints();
    void constantRightHandSide_data();
    void constantRightHandSide();
    void zeroStepKeepsState();
    void continuesFromStateAfterStep();
    void extraStageChangesNothing();
    void fourthOrderConvergence();
};

void TestRunge::exponentialStep_data()
{
    QTest::addColumn<double>("h");
    QTest::newRow("0.1") << 0.1;
    QTest::newRow("0.5") << 0.5;
    QTest::newRow("backwards") << -0.2;
}

// y' = y: one step is the Taylor polynomial of e^h up to h^4.
void TestRunge::exponentialStep()
{
    QFETCH(double, h);
    runge rk(1);
    rk.y[0] = 1;
    rk.start_step();
    while (rk.stage < 5) {
        rk.f[0] = rk.ys[0];
        rk.stage_step(h);
    }
    const double expected = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
    QVERIFY(closeTo(rk.y[0], expected, 4e-16));
    QCOMPARE(rk.stage, 5);
}

void TestRunge::stagePoints()
{
    const double h = 0.1;
    runge rk(1);
    rk.y[0] = 1;
    rk.start_step();
    double seen[4];
    for (int s = 0; s < 4; ++s) {
        seen[s] = rk.ys[0];
        rk.f[0] = rk.ys[0];
        rk.stage_step(h);
    }
    const double k1 = h;
    const double k2 = h * (1 + k1 / 2);
    const double k3 = h * (1 + k2 / 2);
    QCOMPARE(seen[0], 1.0);
    QVERIFY(closeTo(seen[1], 1 + k1 / 2, 1e-16));
    QVERIFY(closeTo(seen[2], 1 + k2 / 2, 1e-16));
    QVERIFY(closeTo(seen[3], 1 + k3, 1e-16));
    QVERIFY(closeTo(rk.k[3][0], 2 * k3, 1e-16));
    QCOMPARE(rk.k[0][0], 0.0);
}

void TestRunge::constantRightHandSide_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("h");
    QTest::newRow("time component") << 0.0 << 1.0 << 0.01;
    QTest::newRow("negative slope") << 3.0 << -2.5 << 0.1;
    QTest::newRow("large step") << -1.0 << 4.0 << 10.0;
}

void TestRunge::constantRightHandSide()
{
    QFETCH(double, start);
    QFETCH(double, c);
    QFETCH(double, h);
    runge rk(3);
    for (int i = 0; i <= rk.last; ++i)
        rk.y[i] = start + i;
    rk.start_step();
    while (rk.stage < 5) {
        for (int i = 0; i <= rk.last; ++i)
            rk.f[i] = c;
        rk.stage_step(h);
    }
    for (int i = 0; i <= rk.last; ++i)
        QVERIFY(closeTo(rk.y[i], start + i + h * c, 1e-14 * (1 + std::abs(start + i + h * c))));
}

void TestRunge::zeroStepKeepsState()
{
    runge rk(2);
    rk.y[0] = 0.25;
    rk.y[1] = -7;
    rk.start_step();
    while (rk.stage < 5) {
        rk.f[0] = 1e6;
        rk.f[1] = -3;
        rk.stage_step(0);
    }
    QCOMPARE(rk.y[0], 0.25);
    QCOMPARE(rk.y[1], -7.0);
}

// Two steps of y' = y, with ys spoiled in between: the second step must
// start from y alone.
void TestRunge::continuesFromStateAfterStep()
{
    const double h = 0.1;
    runge rk(1);
    rk.y[0] = 1;
    for (int n = 0; n < 2; ++n) {
        rk.ys[0] = 1e9;
        rk.start_step();
        while (rk.stage < 5) {
            rk.f[0] = rk.ys[0];
            rk.stage_step(h);
        }
    }
    const double one = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
    QVERIFY(closeTo(rk.y[0], one * one, 1e-15));
}

// A fifth stage (or a stage before any step) must not write past k[4].
void TestRunge::extraStageChangesNothing()
{
    runge rk(1);
    rk.y[0] = 2;
    rk.f[0] = 1;
    rk.stage_step(0.5);
    QCOMPARE(rk.y[0], 2.0);
    rk.start_step();
    while (rk.stage < 5)
        rk.stage_step(0.5);
    const double after = rk.y[0];
    rk.stage_step(0.5);
    QCOMPARE(rk.y[0], after);
    QCOMPARE(rk.stage, 5);
}

// Halving the step must cut the global error about sixteenfold.
void TestRunge::fourthOrderConvergence()
{
    const double coarse = oscillatorError(20);
    const double fine = oscillatorError(40);
    QVERIFY(coarse > 0);
    const double ratio = coarse / fine;
    QVERIFY2(ratio > 14 && ratio < 18, qPrintable(QString::number(ratio)));
}

QTEST_GUILESS_MAIN(TestRunge)
#include "tst_runge.moc"
