#include "runge.h"

#include <QTest>

#include <cmath>

namespace {

// One step, evaluating rhs(ys, f) before each stage.
template<typename Rhs>
void step(runge &rk, double h, Rhs rhs)
{
    rk.start_step();
    while (rk.stage < 5) {
        rhs(rk.ys, rk.f);
        rk.stage_step(h);
    }
}

void exponential(const double *ys, double *f)
{
    f[0] = ys[0];
}

// t' = 1, x' = v, v' = -x from (0, 1, 0) up to t = 1: distance from
// (cos 1, -sin 1).
double oscillatorError(int steps)
{
    runge rk(3);
    rk.y[0] = 0;
    rk.y[1] = 1;
    rk.y[2] = 0;
    for (int n = 0; n < steps; ++n) {
        step(rk, 1.0 / steps, [](const double *ys, double *f) {
            f[0] = 1;
            f[1] = ys[2];
            f[2] = -ys[1];
        });
    }
    return std::hypot(rk.y[1] - std::cos(1.0), rk.y[2] + std::sin(1.0));
}

} // namespace

class TestRunge : public QObject
{
    Q_OBJECT

private slots:
    void exponentialStep_data();
    void exponentialStep();
    void constantRightHandSide_data();
    void constantRightHandSide();
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
    step(rk, h, exponential);
    const double expected = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
    QVERIFY(std::abs(rk.y[0] - expected) <= 4e-16);
    QCOMPARE(rk.stage, 5);
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
    QTest::newRow("zero step") << 0.25 << 1e6 << 0.0;
}

// Every component gains h c.
void TestRunge::constantRightHandSide()
{
    QFETCH(double, start);
    QFETCH(double, c);
    QFETCH(double, h);
    runge rk(3);
    for (int i = 0; i <= rk.last; ++i)
        rk.y[i] = start + i;
    step(rk, h, [&](const double *, double *f) {
        for (int i = 0; i < 3; ++i)
            f[i] = c;
    });
    for (int i = 0; i <= rk.last; ++i) {
        const double expected = start + i + h * c;
        QVERIFY(std::abs(rk.y[i] - expected) <= 1e-14 * (1 + std::abs(expected)));
    }
}

// The second step starts from y alone, whatever ys held.
void TestRunge::continuesFromStateAfterStep()
{
    const double h = 0.1;
    runge rk(1);
    rk.y[0] = 1;
    step(rk, h, exponential);
    rk.ys[0] = 1e9;
    step(rk, h, exponential);
    const double one = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
    QVERIFY(std::abs(rk.y[0] - one * one) <= 1e-15);
}

// A stage outside a step must neither change y nor write past k[4].
void TestRunge::extraStageChangesNothing()
{
    runge rk(1);
    rk.y[0] = 2;
    rk.f[0] = 1;
    rk.stage_step(0.5);
    QCOMPARE(rk.y[0], 2.0);
    step(rk, 0.5, [](const double *, double *f) { f[0] = 1; });
    const double after = rk.y[0];
    rk.stage_step(0.5);
    QCOMPARE(rk.y[0], after);
    QCOMPARE(rk.stage, 5);
}

// Halving the step must cut the global error about sixteenfold.
void TestRunge::fourthOrderConvergence()
{
    const double ratio = oscillatorError(20) / oscillatorError(40);
    QVERIFY2(ratio > 14 && ratio < 18, qPrintable(QString::number(ratio)));
}

QTEST_GUILESS_MAIN(TestRunge)
#include "tst_runge.moc"
