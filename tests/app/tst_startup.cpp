#include "analysis/energywindow.h"
#include "analysis/resonancewindow.h"
#include "app/applylocalisation.h"
#include "app/errorreportingapplication.h"
#include "app/localisationfile.h"
#include "app/windowset.h"
#include "forms/choice.h"
#include "forms/field.h"
#include "forms/graph.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"
#include "output/outputdialogs.h"
#include "services/parameterfilelocation.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/messageboxcapture.h"
#include "tests/support/nominalparameters.h"
#include "tests/support/scenemenuaccess.h"
#include "tests/support/scopedhook.h"
#include "tests/support/scopedlocalisationstep.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace {

QString parameterFile()
{
    return QString::fromStdString(ParameterFilePath());
}

// Runs the whole program on a parameter file of the test's own; check runs
// once the event loop has started, then the main window is closed.
bool runProgramWith(const ModelParameters &parameters, const std::function<void()> &check)
{
    if (!WriteParameterFile(ParameterFilePath(), parameters))
        return false;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        checked = true;
        check();
        Form2->close();
    });
    return RunProgram() == 0 && checked && !Form2;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void windowsAreCreatedInOrder();
    void qtSpeaksTheCaptionsLanguage_data();
    void qtSpeaksTheCaptionsLanguage();
    void shippedFilesSpeakTheirFoldersLanguage();
    void startShowsTheMainWindowWithItsParameters();
    void missingParameterFileEndsTheProgram();
    void refusedComputationIsShownAndTheProgramGoesOn();
    void writePastTheFileSizeLimitIsShownAndTheProgramGoesOn();
    void startupErrorIsShownOnceAndLoopIsNotEntered();
    void handlerErrorIsShownAndLoopGoesOn();
};

void StartupTest::cleanup()
{
    QFile::remove(parameterFile());
    QFile::remove(LocalisationFilePath());
}

void StartupTest::windowsAreCreatedInOrder()
{
    QList<int> sections;
    ScopedLocalisationStep step(
        [&](QWidget &, LocalisationSection section) { sections.append(int(section)); });
    {
        WindowSet windows;
        QCOMPARE(sections, (QList<int> { 0, 1, 2, 3, 4 }));
        QCOMPARE(Form2->windowTitle(), QStringLiteral("Визуализация"));
        QCOMPARE(Form3->windowTitle(), QStringLiteral("Параметры моделирования"));
        QCOMPARE(Form8->windowTitle(), QStringLiteral("Графики"));
        QCOMPARE(Form9->windowTitle().trimmed(), QString()); // no text in its title bar
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

void StartupTest::qtSpeaksTheCaptionsLanguage_data()
{
    QTest::addColumn<QByteArray>("xml"); // the caption file, none when empty
    QTest::addColumn<QString>("cancel");

    const QByteArray sections = "<s/><s/><s/><s/></l>";
    QTest::newRow("no file") << QByteArray() << "Отмена";
    QTest::newRow("Cyrillic") << "<l><s><e CharSet=\"204\"/></s>" + sections << "Отмена";
    QTest::newRow("Cyrillic in the low bits")
        << "<l><s><e CharSet=\"460\"/></s>" + sections << "Отмена";
    QTest::newRow("Latin") << "<l><s><e CharSet=\"0\"/></s>" + sections << "Cancel";
    QTest::newRow("the later entry counts")
        << "<l><s><e CharSet=\"204\"/><e CharSet=\"0\"/></s>" + sections << "Cancel";
    QTest::newRow("named, over the character set")
        << "<l Language=\"uk\"><s><e CharSet=\"204\"/></s>" + sections << "Скасувати";
    QTest::newRow("named German") << "<l Language=\"de\"><s><e CharSet=\"0\"/></s>" + sections
                                  << "Abbrechen";
    QTest::newRow("no translation of Qt's")
        << "<l Language=\"xx\"><s><e CharSet=\"204\"/></s>" + sections << "Cancel";
}

void StartupTest::qtSpeaksTheCaptionsLanguage()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, cancel);
    if (!xml.isEmpty()) {
        QFile file(LocalisationFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(xml), xml.size());
    }
    MessageBoxCapture boxes;
    {
        WindowSet windows;
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().at(0)->text(), cancel);
    }
    QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().at(0)->text(), "Cancel");
    QVERIFY(boxes.boxes.isEmpty());
}

void StartupTest::shippedFilesSpeakTheirFoldersLanguage()
{
    const QDir locales(QStringLiteral(MIRVANE_LOCALE_DIR));
    const QStringList languages = locales.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QVERIFY(languages.contains("en"));
    for (const QString &language : languages)
        QCOMPARE(
            LocaleLanguage(ReadLocaleFile(locales.filePath(language + "/mirvane.xml"))), language);
}

void StartupTest::startShowsTheMainWindowWithItsParameters()
{
    MessageBoxCapture boxes;
    QVERIFY(runProgramWith(NominalParameters(), [] {
        QVERIFY(Form2->isVisible());
        QVERIFY(!Form3->isVisible());
        QCOMPARE(Form2->ModelParameters.Stiffness, 600.0f);
        QCOMPARE(Form2->ModelParameters.ForceFrequency, 17.3205f);

        // The scene menu's first two entries open the windows beyond the
        // design, as children of the main window.
        int opened = 0;
        QVERIFY(
            whileOpen<ResonanceWindow>([] { Form2->SceneMenu->Menu()->actions().at(0)->trigger(); },
                [&](ResonanceWindow &window) { opened += window.parentWidget() == Form2; }));
        QVERIFY(
            whileOpen<EnergyWindow>([] { Form2->SceneMenu->Menu()->actions().at(1)->trigger(); },
                [&](EnergyWindow &window) { opened += window.parentWidget() == Form2; }));
        QCOMPARE(opened, 2);
    }));
    QVERIFY(boxes.boxes.isEmpty());
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
    ModelParameters parameters = NominalParameters();
    parameters.StopTime = 1e9; // 10^11 samples: too many
    MessageBoxCapture boxes;
    QVERIFY(runProgramWith(parameters, [] {
        QVERIFY(Form2->isVisible());
        QVERIFY(!Form2->Motion.HasResult());
        QCOMPARE(Form2->Readouts[0]->text(), QStringLiteral("Время, сек"));
        QCOMPARE(Form2->Timer1->interval(), 10); // as the track bar says
    }));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].kind, MessageBoxKind::Error);
    QVERIFY(
        boxes.boxes[0].text.startsWith(QStringLiteral("Время расчета 1E9 с при шаге печати 0")));
}

// The system would end the program for such a write, unless the program
// ignores the signal; then the write fails as on a full disk.
void StartupTest::writePastTheFileSizeLimitIsShownAndTheProgramGoesOn()
{
    QTemporaryDir folder;
    const QString csv = folder.filePath(QStringLiteral("series.csv"));
    const ScopedHook<DialogAnswers, SetDialogAnswers> answers(
        { .saveFile = [&csv](const SaveFileRequest &) { return SaveFileAnswer { csv }; },
            .print = {} });
    MessageBoxCapture boxes;
    QVERIFY(runProgramWith(NominalParameters(), [] {
        const FileSizeLimit fullDisk(100);
        clickMenuEntry(Form2->OpenGLPanel1->PanelWindow(), Form2->SceneMenu->Menu(),
            Form2->SceneMenu->Texts().ExportCsv);
    }));
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY2(boxes.boxes[0].text.startsWith(QStringLiteral("Не удалось записать файл ")),
        qPrintable(boxes.boxes[0].text));
    QVERIFY(!QFile::exists(csv));
}

void StartupTest::startupErrorIsShownOnceAndLoopIsNotEntered()
{
    QList<int> sections;
    ScopedLocalisationStep step([&](QWidget &, LocalisationSection section) {
        sections.append(int(section));
        if (section == LocalisationSection::Graphs)
            throw std::runtime_error("broken localisation file");
    });
    MessageBoxCapture boxes;
    bool loopRan = false;
    QTimer::singleShot(0, [&] { loopRan = true; });
    QCOMPARE(RunProgram(), 0);
    QCOMPARE(sections, (QList<int> { 0, 1, 2 }));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("broken localisation file"));
    QCOMPARE(boxes.boxes[0].caption, QStringLiteral("mirvane"));
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
