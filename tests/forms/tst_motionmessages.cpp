#include "forms/motionmessages.h"
#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "tests/support/nominalparameters.h"

#include <QDir>
#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(ModelParameters)

// The main window's sentences, from what the model reports for real parameters.
class MotionMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    void refusalsQuoteExactFigures_data();
    void refusalsQuoteExactFigures();
    void warningsNameTheCause_data();
    void warningsNameTheCause();
    void readingWarningsQuoteTheLine_data();
    void readingWarningsQuoteTheLine();
};

void MotionMessagesTest::refusalsQuoteExactFigures_data()
{
    QTest::addColumn<ModelParameters>("parameters");
    QTest::addColumn<QString>("message");
    QTest::newRow("steps") << NominalWithTimes(1e-6f, 0.01f, 100)
                           << "Stop time 100 s with time step 1e-06 s needs 100000001 integration "
                              "steps; at most 100000000 are allowed. Choose a larger time step or "
                              "a shorter stop time.";
    QTest::newRow("samples") << NominalWithTimes(0.01f, 0.01f, 1e9f)
                             << "Stop time 1e+09 s with print step 0.01 s needs 100000002236 "
                                "samples; at most 24999901 are allowed. Choose a print step of at "
                                "least 40.0002 s or a shorter stop time.";
    QTest::newRow("samples every step") << NominalWithTimes(0.01f, 0.015f, 300000)
                                        << "Stop time 300000 s with sampling interval 0.01 s needs "
                                           "30000001 samples; at most 24999901 are allowed. Choose "
                                           "a print step of at least 0.0120001 s or a shorter "
                                           "stop time.";
}

void MotionMessagesTest::refusalsQuoteExactFigures()
{
    QFETCH(ModelParameters, parameters);
    QFETCH(QString, message);
    MotionModel model;
    try {
        model.AllocateSeries(parameters);
        QFAIL("not refused");
    } catch (const ComputationTooLarge &error) {
        QCOMPARE(RefusalMessage(MotionMessageTexts(), error.Refusal()), message);
    }
}

void MotionMessagesTest::warningsNameTheCause_data()
{
    QTest::addColumn<ModelParameters>("parameters");
    QTest::addColumn<QString>("warning"); // a part of it
    QTest::newRow("nominal") << NominalParameters() << QString();
    QTest::newRow("mass 0") << NominalWith(&ModelParameters::Mass, 0)
                            << "not numbers (NAN or INF) from the time 0.01 s on";
    QTest::newRow("stiffness 0") << NominalWith(&ModelParameters::Stiffness, 0)
                                 << "in the origin position";
    QTest::newRow("time step 0") << NominalWith(&ModelParameters::TimeStep, 0)
                                 << "The time step 0 s is not above 0";
    QTest::newRow("print step -1")
        << NominalWith(&ModelParameters::PrintStep, -1) << "The print step -1 s is not above 0";
    // Still at time 0, as asked for.
    QTest::newRow("stop time below the print step")
        << NominalWith(&ModelParameters::StopTime, 0.005f) << QString();
    QTest::newRow("print step below the time step")
        << NominalWithTimes(0.1f, 0.01f, 1)
        << "The print step 0.01 s is no whole multiple of the time step 0.1 s: the samples are "
           "0.1 s apart";
    QTest::newRow("print step 1.5 time steps")
        << NominalWithTimes(0.01f, 0.015f, 1) << "the samples are 0.01 s apart";
    // N h and p differ in the last bits only.
    QTest::newRow("print step 7 time steps") << NominalWithTimes(0.1f, 0.7f, 7) << QString();
}

void MotionMessagesTest::warningsNameTheCause()
{
    QFETCH(ModelParameters, parameters);
    QFETCH(QString, warning);
    MotionModel model;
    model.AllocateSeries(parameters);
    model.ComputeMotion(parameters);
    const QString text = MotionWarningMessage(MotionMessageTexts(), model.Warning(parameters));
    QCOMPARE(text.isEmpty(), warning.isEmpty());
    QVERIFY2(text.contains(warning), qPrintable(text));
}

void MotionMessagesTest::readingWarningsQuoteTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("warning");
    QTest::newRow("whole") << QByteArray("0.01,\n0.01,\n10,\n2,\n0,\n600,\n12,\n17.3,\n0,\n30,\n"
                                         "9.8,\n0.4,\n0,\n0,\n")
                           << QString();
    QTest::newRow("missing line")
        << QByteArray("0.01,\n0.01,\n10,\n")
        << "The parameter file F: only 3 of 14 values were read; line 4 is missing or empty. The "
           "other parameters keep their previous values.";
    QTest::newRow("stopped") << QByteArray("0.01,\n0.01,\nten,\n")
                             << "The parameter file F: only 2 of 14 values were read; the reading "
                                "stopped on line 3 (\"ten,\"). The other parameters keep their "
                                "previous values.";
}

// The window's own test covers the shared line and the empty file.
void MotionMessagesTest::readingWarningsQuoteTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, warning);
    const QString path = QDir::temp().filePath(QStringLiteral("motionmessages.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    ModelParameters parameters;
    ParameterFileReading reading;
    QVERIFY(ReadParameterFile(path.toStdString(), parameters, &reading));
    QFile::remove(path);
    QCOMPARE(ReadingWarningMessage(MotionMessageTexts(), reading, QStringLiteral("F")), warning);
}

QTEST_GUILESS_MAIN(MotionMessagesTest)
#include "tst_motionmessages.moc"
