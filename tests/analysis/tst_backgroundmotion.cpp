#include "analysis/backgroundmotion.h"
#include "tests/support/nominalparameters.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

class BackgroundMotionTest : public QObject
{
    Q_OBJECT

private slots:
    void runningComputationIsShownAndTheNewestFollows();
};

// Requests faster than the computation: the one running is shown when it
// ends, those overtaken before they start are dropped, the newest comes last.
void BackgroundMotionTest::runningComputationIsShownAndTheNewestFollows()
{
    qRegisterMetaType<ComputedMotion>();
    BackgroundMotion computer;
    QSignalSpy computed(&computer, &BackgroundMotion::Computed);
    // 10^7 steps, most of a second: every later request comes while it runs.
    ModelParameters parameters = NominalWithTimes(0.0001f, 0.1f, 1000);
    for (int i = 1; i <= 10; ++i) {
        parameters.Damping = float(i);
        computer.Request(parameters);
        if (i == 1)
            QThread::msleep(100); // the worker takes it up
    }
    QVERIFY(computer.Busy());
    QTRY_VERIFY_WITH_TIMEOUT(!computer.Busy(), 60000);
    QCOMPARE(computed.size(), 2);
    for (const auto &[index, damping] : { std::pair { 0, 1.0f }, std::pair { 1, 10.0f } }) {
        const auto motion = computed.at(index).at(0).value<ComputedMotion>();
        QVERIFY(motion.Result == ComputedMotion::Done && motion.Motion);
        QCOMPARE(motion.Parameters.Damping, damping);
    }
}

QTEST_GUILESS_MAIN(BackgroundMotionTest)
#include "tst_backgroundmotion.moc"
