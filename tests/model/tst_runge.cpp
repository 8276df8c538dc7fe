#include "model/runge.h"
#include "tests/support/near.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

// One step, evaluating rhs(ys, f) before each stage.
template <typename Rhs> void step(runge &rk, double h, Rhs rhs)
{
    rk.start_step();
    while (rk.stage < 5) {
        rhs(rk.ys, rk.f);
        rk.stage_step(h);
    }
}

// Room for rounding alone: a wrong stage point or weight is off by a power of h.
constexpr Tolerance Rounding { .absolute = 1e-14, .relative = 1e-14 };

} // namespace

class TestRunge : public QObject
{
    Q_OBJECT

private slots:
    void linearProblems_data();
    void linearProblems();
    void constantRightHandSide_data();
    void constantRightHandSide();
    void stageOutsideStepChangesNothing();
};

void TestRunge::linearProblems_data()
{
    QTest::addColumn<double>("h");
    QTest::newRow("0.1") << 0.1;
    QTest::newRow("0.5") << 0.5;
    QTest::newRow("backwards") << -0.2;
}

// For y' = A y a step multiplies y by the Taylor polynomial of e^(hA) up to
// h^4, starting from y alone whatever ys holds: y' = y with one equation,
// and t' = 1, x' = v, v' = -x with three, a rotation by c ~ cos h and
// s ~ sin h.
void TestRunge::linearProblems()
{
    QFETCH(double, h);
    const double e = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
    const std::complex<double> rotation(1 - h * h / 2 + h * h * h * h / 24, -(h - h * h * h / 6));
    runge growth(1), oscillator(3);
    growth.y[0] = 1;
    oscillator.y[0] = 0;
    oscillator.y[1] = 1;
    oscillator.y[2] = 0;
    for (int n = 1; n <= 2; ++n) {
        growth.ys[0] = oscillator.ys[0] = oscillator.ys[1] = oscillator.ys[2] = 1e9;
        step(growth, h, [](const double *ys, double *f) { f[0] = ys[0]; });
        step(oscillator, h, [](const double *ys, double *f) {
            f[0] = 1;
            f[1] = ys[2];
            f[2] = -ys[1];
        });
        QVERIFY(Near(growth.y[0], std::pow(e, n), Rounding));
        const std::complex<double> xv = std::pow(rotation, n);
        QVERIFY(Near(oscillator.y[0], n * h, Rounding));
        QVERIFY(Near(oscillator.y[1], xv.real(), Rounding));
        QVERIFY(Near(oscillator.y[2], xv.imag(), Rounding));
    }
}

void TestRunge::constantRightHandSide_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("h");
    QTest::newRow("time component") << 3 << 1.0 << 0.01;
    QTest::newRow("negative slope") << 2 << -2.5 << 0.1;
    QTest::newRow("large step") << 3 << 4.0 << 10.0;
    QTest::newRow("zero step") << 3 << 1e6 << 0.0;
    QTest::newRow("zero step, one equation") << 1 << 1e6 << 0.0;
}

// Every component gains h c.
void TestRunge::constantRightHandSide()
{
    QFETCH(int, n);
    QFETCH(double, c);
    QFETCH(double, h);
    runge rk(n);
    for (int i = 0; i < n; ++i)
        rk.y[i] = 0.25 + i;
    step(rk, h, [&](const double *, double *f) { std::fill(f, f + n, c); });
    for (int i = 0; i < n; ++i)
        QVERIFY(Near(rk.y[i], 0.25 + i + h * c, Rounding));
}

// Neither before the first step nor after a finished one may a stage change y
// (or write past k[4]).
void TestRunge::stageOutsideStepChangesNothing()
{
    runge rk(1);
    rk.y[0] = 2;
    rk.f[0] = 1;
    rk.stage_step(0.5);
    QCOMPARE(rk.y[0], 2.0);
    step(rk, 0.5, [](const double *, double *f) { f[0] = 1; });
    QCOMPARE(rk.y[0], 2.5);
    rk.stage_step(0.5);
    QCOMPARE(rk.y[0], 2.5);
    QCOMPARE(rk.stage, 5);
}

QTEST_GUILESS_MAIN(TestRunge)
#include "tst_runge.moc"
