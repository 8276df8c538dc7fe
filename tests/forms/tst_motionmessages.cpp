#include "forms/motionmessages.h"
#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "tests/support/nominalparameters.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(ModelParameters)

// The main window's sentences, from what the model reports for real parameters.
class MotionMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    // The user's separators, which the figures take.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
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
    QTest::newRow("steps")
        << NominalWithTimes(1e-6f, 0.01f, 100)
        << "Время расчета 100 с при шаге расчета 1E-6 с требует шагов интегрирования: "
           "100\u00a0000\u00a0001, а допускается не более 100\u00a0000\u00a0000. Увеличьте шаг "
           "расчета или уменьшите время расчета.";
    QTest::newRow("samples") << NominalWithTimes(0.01f, 0.01f, 1e9f)
                             << "Время расчета 1E9 с при шаге печати 0,01 с требует точек: "
                                "100\u00a0000\u00a0002\u00a0236, а допускается не более "
                                "24\u00a0999\u00a0901. Задайте шаг печати не меньше 40,0002 с "
                                "или уменьшите время расчета.";
    QTest::newRow("samples every step")
        << NominalWithTimes(0.01f, 0.015f, 300000)
        << "Время расчета 300000 с при интервале между точками 0,01 с требует точек: "
           "30\u00a0000\u00a0001, а допускается не более 24\u00a0999\u00a0901. Задайте шаг "
           "печати не меньше 0,0120001 с или уменьшите время расчета.";
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
                            << "Начиная с момента 0,01 с расчет дает значения";
    QTest::newRow("stiffness 0") << NominalWith(&ModelParameters::Stiffness, 0)
                                 << "Положение начала системы координат";
    QTest::newRow("time step 0") << NominalWith(&ModelParameters::TimeStep, 0)
                                 << "Шаг расчета 0 с не больше 0";
    QTest::newRow("print step -1")
        << NominalWith(&ModelParameters::PrintStep, -1) << "Шаг печати -1 с не больше 0";
    // Still at time 0, as asked for.
    QTest::newRow("stop time below the print step")
        << NominalWith(&ModelParameters::StopTime, 0.005f) << QString();
    QTest::newRow("print step below the time step")
        << NominalWithTimes(0.1f, 0.01f, 1)
        << "Шаг печати 0,01 с не кратен шагу расчета 0,1 с: точки отстоят друг от друга на 0,1 с";
    QTest::newRow("print step 1.5 time steps")
        << NominalWithTimes(0.01f, 0.015f, 1) << "точки отстоят друг от друга на 0,01 с";
    // N h and p differ in the last bits only.
    QTest::newRow("print step 7 time steps") << NominalWithTimes(0.1f, 0.7f, 7) << QString();
    // The rounding grows with the steps: a tolerance in seconds would miss the
    // first (3 h is 10^-7 s short of p) and warn on the second (7 h is p in
    // decimal, 2·10^-5 s off in floats).
    QTest::newRow("print step just over 3 time steps")
        << NominalWithTimes(0.0033333f, 0.01f, 1) << "точки отстоят друг от друга на 0,0099999 с";
    ModelParameters slow = NominalWithTimes(100.1f, 700.7f, 1401.4f);
    slow.Stiffness = 0.001f; // keeps steps of 100 s finite
    QTest::newRow("print step 7 long time steps") << slow << QString();
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
    // Whole numbers side by side, fourteen in all: no "," typed as decimal point.
    QTest::newRow("one line") << QByteArray("0.01,0.01,10,2,0,600,12,17.3205,0,30,9.8,0.4,0,0,")
                              << QString();
    QTest::newRow("missing line")
        << QByteArray("0.01,\n0.01,\n10,\n")
        << "Файл параметров F: прочитано значений: 3 из 14; строка 4 отсутствует или пуста. "
           "Остальные параметры сохраняют прежние значения.";
    QTest::newRow("stopped") << QByteArray("0.01,\n0.01,\nten,\n")
                             << "Файл параметров F: прочитано значений: 2 из 14; чтение "
                                "остановилось на строке 3 («ten,»). Остальные параметры "
                                "сохраняют прежние значения.";
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
