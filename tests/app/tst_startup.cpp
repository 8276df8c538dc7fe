#include "errorreportingapplication.h"
#include "windowset.h"

#include "choice.h"
#include "field.h"
#include "graph.h"
#include "input1.h"
#include "localisation.h"
#include "messageboxcapture.h"
#include "parameterfile.h"
#include "phaseportrait.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace {

const char nominalText[] = "0.01000,\n0.01000,\n10.00000,\n2.00000,\n0.00000,\n600.00000,\n"
                           "12.00000,\n17.32050,\n0.00000,\n30.000000,\n9.80000,\n0.40000,\n"
                           "0.000000,\n0.00000,\n";

// Installs a localisation step for the lifetime of the object.
class ScopedLocalisationStep
{
public:
    explicit ScopedLocalisationStep(LocalisationStep step)
        : m_previous(SetLocalisationStep(std::move(step)))
    {
    }
    ~ScopedLocalisationStep() { SetLocalisationStep(std::move(m_previous)); }

private:
    LocalisationStep m_previous;
};

QString parameterFile()
{
    return QString::fromStdString(ParameterFilePath());
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void windowsAreCreatedInOrder();
    void startShowsTheMainWindowWithItsParameters();
    void missingParameterFileEndsTheProgram();
    void refusedComputationIsShownAndTheProgramGoesOn();
    void startupErrorIsShownOnceAndLoopIsNotEntered();
    void handlerErrorIsShownAndLoopGoesOn();
};

void StartupTest::cleanup()
{
    QFile::remove(parameterFile());
}

void StartupTest::windowsAreCreatedInOrder()
{
    QList<int> sections;
    ScopedLocalisationStep step([&](QWidget &, int section) { sections.append(section); });
    {
        WindowSet windows;
        QCOMPARE(sections, (QList<int> { 0, 1, 2, 3, 4 }));
        QCOMPARE(Form2->windowTitle(), QStringLiteral("Визуализация"));
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Параметры моделирования"));
        QCOMPARE(Form8->windowTitle(), QStringLiteral("Графики"));
        QCOMPARE(Form9->windowTitle(), QString());
        QCOMPARE(Form5->windowTitle(), QStringLiteral("Фазовый портрет"));
        QCOMPARE(Form2->size(), QSize(807, 467));
        QCOMPARE(Form3->size(), QSize(741, 385));
        QCOMPARE(Form8->size(), QSize(700, 473));
        QCOMPARE(Form9->size(), QSize(250, 138));
        QCOMPARE(Form5->size(), QSize(621, 473));
        QCOMPARE(Form2->pos(), QPoint(60, 113));
        QCOMPARE(Form5->pos(), QPoint(86, 87));
        for (QWidget *window : QList<QWidget *> { Form2, Form3, Form8, Form9, Form5 })
            QVERIFY(!window->isVisible());
    }
    QVERIFY(!Form2 && !Form3 && !Form8 && !Form9 && !Form5);
}

void StartupTest::startShowsTheMainWindowWithItsParameters()
{
    QFile file(parameterFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(nominalText);
    file.close();

    MessageBoxCapture boxes;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        checked = true;
        QVERIFY(Form2->isVisible());
        QVERIFY(!Form3->isVisible());
        QCOMPARE(Form2->ModelParameters.Stiffness, 600.0f);
        QCOMPARE(Form2->ModelParameters.ForceFrequency, 17.3205f);
        Form2->close();
    });
    QCOMPARE(RunProgram(), 0);
    QVERIFY(checked);
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(!Form2);
}

void StartupTest::missingParameterFileEndsTheProgram()
{
    MessageBoxCapture boxes;
    // Only a loop left running would reach this and end the test anyway.
    bool stillRunning = false;
    QTimer::singleShot(3000, [&] {
        stillRunning = true;
        QApplication::exit(1);
    });
    QCOMPARE(RunProgram(), 0);
    QVERIFY(!stillRunning);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("Can't open data file"));
    QCOMPARE(boxes.boxes[0].caption, QStringLiteral(" "));
    QCOMPARE(boxes.boxes[0].kind, MessageBoxKind::Plain);
}

void StartupTest::refusedComputationIsShownAndTheProgramGoesOn()
{
    QByteArray text(nominalText);
    text.replace("\n10.00000,", "\n1000000000.00000,"); // 10^11 samples: too many
    QFile file(parameterFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    MessageBoxCapture boxes;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        checked = true;
        QVERIFY(Form2->isVisible());
        QVERIFY(!Form2->Motion.HasResult());
        QCOMPARE(Form2->Readouts[0]->text(), QStringLiteral("Время, сек"));
        Form2->close();
    });
    QCOMPARE(RunProgram(), 0);
    QVERIFY(checked);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].kind, MessageBoxKind::Error);
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("Out of memory"));
}

void StartupTest::startupErrorIsShownOnceAndLoopIsNotEntered()
{
    QList<int> sections;
    ScopedLocalisationStep step([&](QWidget &, int section) {
        sections.append(section);
        if (section == 2)
            throw std::runtime_error("broken localisation file");
    });
    MessageBoxCapture boxes;
    bool loopRan = false;
    QTimer::singleShot(0, [&] { loopRan = true; });
    QCOMPARE(RunProgram(), 0);
    QCOMPARE(sections, (QList<int> { 0, 1, 2 }));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("broken localisation file"));
    QCOMPARE(boxes.boxes[0].kind, MessageBoxKind::Error);
    QVERIFY(!Form2 && !Form3);
    QCoreApplication::processEvents();
    QVERIFY(loopRan); // only now, outside the program's run
}

void StartupTest::handlerErrorIsShownAndLoopGoesOn()
{
    MessageBoxCapture boxes;
    bool later = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("handler failed"); });
    QTimer::singleShot(10, [&] {
        later = true;
        QApplication::exit(0);
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(later);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("handler failed"));
    QCOMPARE(boxes.boxes[0].kind, MessageBoxKind::Error);
}

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
