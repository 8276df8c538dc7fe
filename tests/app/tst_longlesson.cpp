#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "app/analysiswindows.h"
#include "app/errorreportingapplication.h"
#include "output/outputdialogs.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/scenemenuaccess.h"
#include "tests/support/scopedhook.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <malloc.h>

namespace {

// Bytes the program holds on the heap.
qint64 heapInUse()
{
    return qint64(mallinfo2().uordblks);
}

} // namespace

// A lesson repeats the same round: every window opened through its controls,
// its picture and data exported through Qt's own save dialog, then closed.
// No round may leave the program larger than the one before.
class LongLessonTest : public QObject
{
    Q_OBJECT

private slots:
    void roundsLeaveNoGrowth();

private:
    void round(TForm2 &main);
    // Prints, copies and saves what menu offers, as each file of names.
    void exportAll(const PictureMenu &menu, const QStringList &names);
    // Saves under the next name in the test's folder, emptied first: an
    // overwrite would bring up Qt's question.
    void answerSaveDialog();

    QTemporaryDir m_folder;
    QString m_name;
};

void LongLessonTest::answerSaveDialog()
{
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || !dialog->windowHandle()->isExposed())
        return;
    const QDir folder(m_folder.path());
    for (const QString &file : folder.entryList(QDir::Files))
        QVERIFY(QFile::remove(folder.filePath(file)));
    dialog->setDirectory(folder);
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(m_name);
    QMetaObject::invokeMethod(dialog, "accept"); // as the Save button does
}

void LongLessonTest::exportAll(const PictureMenu &menu, const QStringList &names)
{
    const auto trigger = [&menu](const QString &text) {
        for (QAction *entry : menu.Menu()->actions()) {
            if (entry->text() == text)
                entry->trigger();
        }
    };
    trigger(menu.Texts().Print);
    trigger(menu.Texts().Copy);
    for (const QString &name : names) {
        m_name = name;
        trigger(
            name.endsWith(QLatin1String(".csv")) ? menu.Texts().ExportCsv : menu.Texts().SaveImage);
        QVERIFY2(QFile::exists(m_folder.filePath(name)), qPrintable(name));
    }
}

void LongLessonTest::round(TForm2 &main)
{
    const QStringList chart { "chart.png", "chart.bmp", "chart.svg", "series.csv" };
    exportAll(*main.SceneMenu, { "scene.png", "scene.bmp", "series.csv" });

    whenShown<TForm3>([](TForm3 &) {}); // accepted as it is
    QTest::mouseClick(main.Button2, Qt::LeftButton);

    bool choiceAnswered = false;
    whenShown<TForm9>([&choiceAnswered](TForm9 &) { choiceAnswered = true; });
    whenShown<TForm8>([&](TForm8 &graphs) {
        QTRY_VERIFY(choiceAnswered && !Form9->isVisible());
        exportAll(*graphs.PaintBox1Menu, chart);
    });
    QTest::mouseClick(main.Button1, Qt::LeftButton);

    whenShown<TForm5>([&](TForm5 &portrait) { exportAll(*portrait.PaintBox1Menu, chart); });
    QTest::mouseClick(main.Button4, Qt::LeftButton);

    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(main, 0); },
        [&](ResonanceWindow &resonance) { exportAll(*resonance.ChartMenu, chart); }));
    QVERIFY(whileOpen<EnergyWindow>([&] { clickSceneMenuEntry(main, 1); },
        [&](EnergyWindow &energy) { exportAll(*energy.ChartMenu, chart); }));

    clickSceneMenuEntry(main, 2);
    auto *explore = main.findChild<ExploreWindow *>();
    QVERIFY(explore && QTest::qWaitForWindowExposed(explore));
    QTRY_VERIFY(!explore->Computing());
    exportAll(*explore->ChartMenu, chart);
    QTest::mouseClick(explore->CloseButton, Qt::LeftButton);
    QVERIFY(!explore->isVisible());
}

void LongLessonTest::roundsLeaveNoGrowth()
{
    QVERIFY(m_folder.isValid());
    const QString pdf = m_folder.filePath(QStringLiteral("page.pdf"));
    const ScopedHook<DialogAnswers, SetDialogAnswers> printToPdf(
        { .saveFile = {}, .print = [&pdf](QPrinter &printer) {
             printer.setOutputFileName(pdf); // a PDF by the suffix
             return true;
         } });
    QTimer saveDialog;
    connect(&saveDialog, &QTimer::timeout, this, &LongLessonTest::answerSaveDialog);
    saveDialog.start(10);
    MainWindowFixture fixture;
    new AnalysisWindows(fixture.window()); // a child of the main window

    // The first rounds make what is made once: windows, caches, fonts.
    for (int i = 0; i < 3; ++i)
        round(fixture.window());
    const qint64 before = heapInUse();
    constexpr int Rounds = 5;
    for (int i = 0; i < Rounds; ++i)
        round(fixture.window());
    // A save dialog made per export left its icons in Qt's pixmap cache, half
    // a megabyte a round; what Qt itself keeps per opening of its dialogs
    // stays well under this bound.
    const qint64 growth = (heapInUse() - before) / Rounds;
    QVERIFY2(growth < 200 * 1024, qPrintable(QStringLiteral("%1 bytes a round").arg(growth)));
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    LongLessonTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_longlesson.moc"
