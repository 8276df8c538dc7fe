#include "forms/input1.h"
#include "glpanel/openglpanel.h"
#include "glpanel/replacefile.h"
#include "output/outputdialogs.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/panelfailurecapture.h"
#include "tests/support/printedpage.h"
#include "tests/support/scenemenuaccess.h"
#include "tests/support/scopedhook.h"
#include "widgets/paintbox.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <QSaveFile>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Answers the save and print dialogs with files in a folder of the test's own.
class AnsweredDialogs
{
public:
    AnsweredDialogs()
        : m_previous(SetDialogAnswers({ [this](const SaveFileRequest &) {
                                           ++asked;
                                           return SaveFileAnswer { saveAs, filter };
                                       },
            [this](QPrinter &printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(path(printTo));
                printer.setPageOrientation(orientation);
                paintArea = printer.pageLayout().paintRect(QPageLayout::Inch);
                return true;
            } }))
    { }
    ~AnsweredDialogs() { SetDialogAnswers(std::move(m_previous)); }

    QString path(const QString &name) const { return m_folder.filePath(name); }

    QString saveAs;
    QString printTo = QStringLiteral("print.pdf");
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QRectF paintArea; // of the last page printed, in inches
    int filter = 0;
    int asked = 0;

private:
    QTemporaryDir m_folder;
    DialogAnswers m_previous;
};

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The reading end of a pipe, emptied while it lives: a writer that took the
// pipe for a file would neither block in open() nor on the full pipe.
class DrainedPipe
{
public:
    explicit DrainedPipe(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK))
        , m_reader([this] {
            char buffer[4096];
            while (!m_done) {
                if (::read(m_fd, buffer, sizeof buffer) <= 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        })
    { }
    ~DrainedPipe()
    {
        m_done = true;
        m_reader.join();
        ::close(m_fd);
    }
    DrainedPipe(const DrainedPipe &) = delete;
    DrainedPipe &operator=(const DrainedPipe &) = delete;

private:
    int m_fd;
    std::atomic<bool> m_done = false;
    std::thread m_reader;
};

} // namespace

class PictureMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void graphsExportTheSeriesAsTheToolWrites();
    void saveDialogOpensInDocumentsThenInTheLastFolder();
    void saveDialogsProposeTheWindowsNameAndTheLastType();
    void sceneSavesItsPicture();
    void portraitPrintsCopiesAndReportsAFailedWrite();
    void failedExportKeepsTheOldFile_data();
    void failedExportKeepsTheOldFile();
    void nothingToExportBeforeAComputation();
    void sceneWithoutAPicturePrintsNoFile();
    void printedPagesFillThePrintableArea_data();
    void printedPagesFillThePrintableArea();
};

void PictureMenuTest::graphsExportTheSeriesAsTheToolWrites()
{
    MainWindowFixture fixture;
    AnsweredDialogs dialogs;
    // A "," locale must not reach the program's own CSV; the spreadsheet's takes it.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    whenShown<TForm9>([](TForm9 &) {});
    Form8->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form8));
    QTRY_VERIFY(!Form9->isVisible());
    for (const int filter : { 0, 1 }) {
        dialogs.filter = filter;
        dialogs.saveAs = dialogs.path(QStringLiteral("series%1.csv").arg(filter));
        clickMenuEntry(Form8->PaintBox1, Form8->PaintBox1Menu->Menu(),
            QStringLiteral("Экспорт данных (CSV)…"));
    }
    std::setlocale(LC_ALL, previous.c_str());
    QLocale::setDefault(QLocale::c());
    Form8->done(1);

    QProcess tool;
    tool.start(QStringLiteral(MIRVANE_SERIES),
        { QStringLiteral("--export"), QString::fromStdString(ParameterFilePath()) });
    QVERIFY(tool.waitForFinished());
    QByteArray expected = tool.readAllStandardOutput();
    QCOMPARE(expected.count('\n'), 1002);
    // Units in the header; times with the print step's decimals, no "-0" where the forces
    // start at rest.
    QVERIFY(expected.startsWith("t_s,x_m,v_m_per_s,F_resistance_N,F_elastic_N,F_drive_N\n"
                                "0.00,0,0,0,0,0\n0.01,"));
    QCOMPARE(readAll(dialogs.path(QStringLiteral("series0.csv"))), expected);
    QCOMPARE(readAll(dialogs.path(QStringLiteral("series1.csv"))),
        expected.replace(',', ';').replace('.', ','));
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

// The real dialog: first in the documents folder, then where the last file went.
void PictureMenuTest::saveDialogOpensInDocumentsThenInTheLastFolder()
{
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    const QString lesson = documents + QStringLiteral("/lesson");
    QVERIFY(QDir().mkpath(lesson));
    const QByteArray previousHome = qgetenv("HOME");
    const auto restore = qScopeGuard([&previousHome] { qputenv("HOME", previousHome); });
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME"); // where the desktop may name another documents folder
    QStringList folders;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        folders.append(dialog->directory().absolutePath());
        dialog->setDirectory(lesson);
        QMetaObject::invokeMethod(dialog, "accept"); // as the Save button does
    });
    answer.start(10);
    const SaveFileRequest request { QStringLiteral("CSV"), QStringLiteral("mirvane.csv"),
        { QStringLiteral("CSV (*.csv)"), QStringLiteral("CSV; (*.csv)") }, 1 };
    const SaveFileAnswer chosen = AskSaveFileName(nullptr, request);
    QCOMPARE(chosen.fileName, lesson + QStringLiteral("/mirvane.csv"));
    QCOMPARE(chosen.filter, 1); // as offered
    AskSaveFileName(nullptr, request);
    QCOMPARE(folders, (QStringList { documents, lesson }));
}

// Each window proposes a name of its own; the file type chosen last, in any
// window, comes first in the next dialog.
void PictureMenuTest::saveDialogsProposeTheWindowsNameAndTheLastType()
{
    MainWindowFixture fixture;
    QTemporaryDir folder;
    QStringList proposed; // "name filter" of each dialog
    int chosenFilter = 0;
    const ScopedHook<DialogAnswers, SetDialogAnswers> answers(
        { .saveFile =
                [&](const SaveFileRequest &request) {
                    proposed.append(
                        request.suggestedName + ' ' + QString::number(request.selectedFilter));
                    return SaveFileAnswer { folder.filePath(request.suggestedName), chosenFilter };
                },
            .print = {} });
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    QWindow *scene = fixture.window().OpenGLPanel1->PanelWindow();
    const auto save
        = [&](auto *picture, const PictureMenu &menu, const QString &entry, int filter) {
              chosenFilter = filter;
              clickMenuEntry(picture, menu.Menu(), entry);
          };
    const PictureMenu &portrait = *Form5->PaintBox1Menu;
    const PictureMenu &sceneMenu = *fixture.window().SceneMenu;
    const QString csv = QStringLiteral("Экспорт данных (CSV)…");
    const QString image = QStringLiteral("Сохранить изображение…");
    // The spreadsheet's CSV and SVG, which the scene does not offer.
    save(Form5->PaintBox1, portrait, csv, 1);
    save(Form5->PaintBox1, portrait, image, 2);
    proposed.clear(); // of what earlier tests chose
    save(scene, sceneMenu, csv, 0);
    save(Form5->PaintBox1, portrait, csv, 0);
    save(scene, sceneMenu, image, 1);
    save(Form5->PaintBox1, portrait, image, 2);
    save(Form5->PaintBox1, portrait, image, 0);
    Form5->done(1);
    QCOMPARE(proposed,
        (QStringList { "mirvane-scene.csv 1", "mirvane-portrait.csv 0", "mirvane-scene.png 0",
            "mirvane-portrait.bmp 1", "mirvane-portrait.svg 2" }));
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

void PictureMenuTest::sceneSavesItsPicture()
{
    MainWindowFixture fixture;
    TForm2 &form = fixture.window();
    AnsweredDialogs dialogs;
    QWindow *scene = form.OpenGLPanel1->PanelWindow();
    const QString save = QStringLiteral("Сохранить изображение…");
    dialogs.saveAs = dialogs.path(QStringLiteral("scene.png"));
    clickMenuEntry(scene, form.SceneMenu->Menu(), save);
    dialogs.saveAs = dialogs.path(QStringLiteral("scene.bmp"));
    clickMenuEntry(scene, form.SceneMenu->Menu(), save);
    // Without a suffix the chosen filter decides.
    for (const int filter : { 0, 1 }) {
        dialogs.filter = filter;
        dialogs.saveAs = dialogs.path(QStringLiteral("scene%1").arg(filter));
        clickMenuEntry(scene, form.SceneMenu->Menu(), save);
    }
    QCOMPARE(readAll(dialogs.path(QStringLiteral("scene0"))).left(4), QByteArray("\x89PNG"));
    QCOMPARE(readAll(dialogs.path(QStringLiteral("scene1"))).left(2), QByteArray("BM"));

    QImage png;
    QVERIFY(png.load(dialogs.path(QStringLiteral("scene.png")), "PNG"));
    QCOMPARE(png.size(), form.OpenGLPanel1->PixelSize());
    QCOMPARE(png.pixel(5, 5), qRgb(255, 255, 0xff)); // the white background
    // Inside the plane's triangle, below the slope: scene (240, 30) of 314 x 260.
    const QColor plane = png.pixelColor(240 * 533 / 314, 441 - 30 * 441 / 260);
    QVERIFY2(qAbs(plane.red() - 128) <= 1 && plane.red() == plane.blue(), qPrintable(plane.name()));
    const QImage bmp(dialogs.path(QStringLiteral("scene.bmp")), "BMP");
    QCOMPARE(bmp.convertToFormat(QImage::Format_RGB32), png.convertToFormat(QImage::Format_RGB32));

    // A localisation step relabels the entries and the tooltip.
    PictureMenuTexts texts = form.SceneMenu->Texts();
    texts.Copy = QStringLiteral("Copy");
    texts.ToolTip = QStringLiteral("Right mouse button: menu");
    form.SceneMenu->SetTexts(texts);
    QCOMPARE(form.SceneMenu->Menu()->actions().at(6)->text(), texts.Copy);
    QCOMPARE(form.OpenGLPanel1->toolTip(), texts.ToolTip);
}

void PictureMenuTest::portraitPrintsCopiesAndReportsAFailedWrite()
{
    MainWindowFixture fixture;
    AnsweredDialogs dialogs;
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    QMenu *menu = Form5->PaintBox1Menu->Menu();
    clickMenuEntry(Form5->PaintBox1, menu, QStringLiteral("Печать…"));
    QVERIFY(readAll(dialogs.path(QStringLiteral("print.pdf"))).startsWith("%PDF"));

    clickMenuEntry(Form5->PaintBox1, menu, QStringLiteral("Копировать"));
    const QImage copied
        = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(copied.size(), QSize(569, 385));
    // The black curve on the button-face surface the portrait lies on.
    QCOMPARE(copied.pixelColor(0, 0), Form5->palette().color(QPalette::Button));
    QVERIFY(countPixels(copied, qRgb(0, 0, 0), copied.rect()) > 500);
    // As SVG the curve is vectors, not a picture.
    dialogs.saveAs = dialogs.path(QStringLiteral("portrait.svg"));
    clickMenuEntry(Form5->PaintBox1, menu, QStringLiteral("Сохранить изображение…"));
    const QByteArray svg = readAll(dialogs.saveAs);
    QVERIFY(svg.contains("<polyline") && !svg.contains("<image"));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid() && renderer.viewBox().size() == copied.size());
    QVERIFY(fixture.boxes.boxes.isEmpty());

    dialogs.saveAs = dialogs.path(QStringLiteral("missing/series.csv"));
    Form5->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form5));
    Form5->PaintBox1->setFocus();
    QTest::keyClick(Form5->PaintBox1, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(fixture.boxes.boxes.size(), 1);
    QVERIFY2(fixture.boxes.boxes.first().text.startsWith(QStringLiteral("Не удалось записать файл ")
                 + QDir::toNativeSeparators(dialogs.saveAs)),
        qPrintable(fixture.boxes.boxes.first().text));
    QVERIFY(!QFile::exists(dialogs.saveAs));

    dialogs.printTo = QStringLiteral("missing/print.pdf");
    clickMenuEntry(Form5->PaintBox1, menu, QStringLiteral("Печать…"));
    QCOMPARE(fixture.boxes.boxes.size(), 2);
    QVERIFY(fixture.boxes.boxes.last().text.startsWith(
        QStringLiteral("Не удалось записать файл ") + dialogs.path(dialogs.printTo)));

    // The keyboard reaches the menu too.
    QTest::keyClick(Form5->PaintBox1, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
    Form5->done(1);
}

namespace {

int failingFsync(int)
{
    errno = EIO;
    return -1;
}
bool failingCommit(QSaveFile &)
{
    return false;
}

} // namespace

void PictureMenuTest::failedExportKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("filter"); // 2: SVG
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reason");
    const QString picture = QStringLiteral("Сохранить изображение…");
    const QString series = QStringLiteral("Экспорт данных (CSV)…");
    const QString print = QStringLiteral("Печать…");
    const QString notAFile = QStringLiteral("это не обычный файл");
    const QString fullDisk = QString::fromLocal8Bit(std::strerror(EFBIG));
    // A small picture fails as its file is closed, the series while it is written.
    QTest::newRow("picture, full disk") << picture << 0 << "full disk" << fullDisk;
    QTest::newRow("SVG, full disk") << picture << 2 << "full disk" << fullDisk;
    QTest::newRow("series, full disk") << series << 0 << "full disk" << fullDisk;
    QTest::newRow("picture, failed fsync")
        << picture << 0 << "fsync" << QString::fromLocal8Bit(std::strerror(EIO));
    QTest::newRow("series, failed commit") << series << 0 << "commit" << QString();
    QTest::newRow("print, full disk") << print << 0 << "full disk" << fullDisk;
    QTest::newRow("picture onto a pipe") << picture << 0 << "pipe" << notAFile;
    QTest::newRow("print onto a pipe") << print << 0 << "pipe" << notAFile;
    QTest::newRow("print onto a link to /dev/null") << print << 0 << "link" << notAFile;
}

// The message names the file and the system's reason; the old file stays whole.
void PictureMenuTest::failedExportKeepsTheOldFile()
{
    QFETCH(QString, entry);
    QFETCH(int, filter);
    QFETCH(QString, failure);
    QFETCH(QString, reason);
    MainWindowFixture fixture;
    AnsweredDialogs dialogs;
    dialogs.printTo = QStringLiteral("old");
    dialogs.saveAs = dialogs.path(dialogs.printTo);
    dialogs.filter = filter;
    if (failure == "pipe") {
        QCOMPARE(mkfifo(QFile::encodeName(dialogs.saveAs), 0600), 0);
    } else if (failure == "link") {
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), dialogs.saveAs));
    } else {
        QFile old(dialogs.saveAs);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
    }
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    // The program ignores SIGXFSZ from its start; this test stands in for it.
    std::signal(SIGXFSZ, SIG_IGN);
    {
        const FileSizeLimit fullDisk(failure == "full disk" ? 100 : RLIM_INFINITY);
        ReplaceFileSteps steps;
        if (failure == "fsync")
            steps.fsync = failingFsync;
        if (failure == "commit")
            steps.commit = failingCommit;
        const ScopedHook<ReplaceFileSteps, SetReplaceFileSteps> failingSteps(steps);
        std::optional<DrainedPipe> reader;
        if (failure == "pipe")
            reader.emplace(dialogs.saveAs);
        clickMenuEntry(Form5->PaintBox1, Form5->PaintBox1Menu->Menu(), entry);
    }
    Form5->done(1);

    QCOMPARE(fixture.boxes.boxes.size(), 1);
    const QString text = fixture.boxes.boxes.first().text;
    QVERIFY2(text.startsWith(QStringLiteral("Не удалось записать файл ")
                 + QDir::toNativeSeparators(dialogs.saveAs) + QStringLiteral(":\n"))
            && text.endsWith(reason),
        qPrintable(text));
    struct stat info;
    QCOMPARE(lstat(QFile::encodeName(dialogs.saveAs), &info), 0);
    if (failure == "pipe")
        QVERIFY(S_ISFIFO(info.st_mode));
    else if (failure == "link")
        QVERIFY(S_ISLNK(info.st_mode));
    else
        QCOMPARE(readAll(dialogs.saveAs), QByteArray("old"));
    QCOMPARE(QDir(QFileInfo(dialogs.saveAs).path()).entryList(QDir::Files | QDir::System),
        QStringList { "old" });
}

// Without a computed result there is nothing to export: no file, not even a header.
void PictureMenuTest::nothingToExportBeforeAComputation()
{
    MessageBoxCapture boxes;
    AnsweredDialogs dialogs;
    dialogs.saveAs = dialogs.path(QStringLiteral("series.csv"));
    QWidget window;
    auto *canvas = new TPaintBox(&window);
    PictureMenu menu(*canvas, window);
    menu.AddOutputEntries(QStringLiteral("empty"), [] { return std::optional<CsvTable>(); });
    for (QAction *action : menu.Menu()->actions()) {
        if (action->text() == menu.Texts().ExportCsv)
            action->trigger();
    }
    QCOMPARE(dialogs.asked, 0);
    QVERIFY(!QFile::exists(dialogs.saveAs));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes.first().text, menu.Texts().NoData);
}

// The panel reports the missing picture; the old file stays, not an empty one.
void PictureMenuTest::sceneWithoutAPicturePrintsNoFile()
{
    MainWindowFixture fixture;
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("old.pdf"));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
    PanelFailureCapture failures;
    fixture.window().OpenGLPanel1->resize(0, 0);
    PrintToPdf(*fixture.window().SceneMenu, pdf);
    QCOMPARE(failures.reports, QStringList { QStringLiteral("Print: Malloc Error") });
    QCOMPARE(readAll(pdf), QByteArray("old"));
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

void PictureMenuTest::printedPagesFillThePrintableArea_data()
{
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::newRow("portrait") << QPageLayout::Portrait;
    QTest::newRow("landscape") << QPageLayout::Landscape;
}

// The scene prints through the panel's own printing, the time graphs as a
// handout: each as large as the printable area within the margins holds, the
// handout's chart with the table of every parameter below it.
void PictureMenuTest::printedPagesFillThePrintableArea()
{
    QFETCH(QPageLayout::Orientation, orientation);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler-utils is not installed");
    MainWindowFixture fixture;
    TForm2 &form = fixture.window();
    AnsweredDialogs dialogs;
    dialogs.orientation = orientation;
    const QString pdf = dialogs.path(dialogs.printTo);
    form.OpenGLPanel1->SetOpenGLPrintScale(pglNone);
    clickMenuEntry(
        form.OpenGLPanel1->PanelWindow(), form.SceneMenu->Menu(), QStringLiteral("Печать…"));
    QCOMPARE(form.OpenGLPanel1->PrintScale(), pglNone); // the user's settings stay
    QCOMPARE(form.OpenGLPanel1->PixelsPerInch(), 96);
    // "page num type width height color comp bpc enc interp object ID x-ppi y-ppi ..."
    const QList<QByteArray> image = PopplerOutput(QStringLiteral("pdfimages"), { "-list", pdf })
                                        .split('\n')
                                        .value(2)
                                        .simplified()
                                        .split(' ');
    const QRectF area = dialogs.paintArea.adjusted(0.18, 0.18, -0.18, -0.18); // in inches
    const QSizeF inches(image.value(3).toDouble() / image.value(12).toDouble(),
        image.value(4).toDouble() / image.value(13).toDouble());
    QVERIFY2(inches.width() <= area.width() && inches.height() <= area.height()
            && (inches.width() > 0.98 * area.width() || inches.height() > 0.98 * area.height()),
        image.join(' '));

    whenShown<TForm9>([](TForm9 &) {});
    Form8->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form8));
    QTRY_VERIFY(!Form9->isVisible());
    clickMenuEntry(Form8->PaintBox1, Form8->PaintBox1Menu->Menu(), QStringLiteral("Печать…"));
    const QList<HandoutParameter> parameters
        = ParameterHandout(*Form8, Form2->ModelParameters).parameters;
    Form8->done(1);
    constexpr int Dpi = 72; // the reader's points
    // Every word within the area; one off the page would not be read at all.
    const QString layout
        = QString::fromUtf8(PopplerOutput(QStringLiteral("pdftotext"), { "-bbox", pdf, "-" }));
    const QRegularExpression box(QStringLiteral(
        R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re"));
    const QRectF areaPoints(area.topLeft() * Dpi, area.size() * Dpi);
    QRectF chart; // from the coordinate's name at its left to the velocity's at its right
    for (const QRegularExpressionMatch &word : box.globalMatch(layout)) {
        const QRectF points(QPointF(word.captured(1).toDouble(), word.captured(2).toDouble()),
            QPointF(word.captured(3).toDouble(), word.captured(4).toDouble()));
        QVERIFY2(areaPoints.adjusted(-1, -1, 1, 1).contains(points), qPrintable(word.captured()));
        if (word.captured(5) == Form8->Label3->text() || word.captured(5) == Form8->Label2->text())
            chart |= points;
    }
    QVERIFY2(chart.left() <= areaPoints.left() + 2
            && (chart.width() >= 0.95 * areaPoints.width()
                || orientation == QPageLayout::Landscape),
        qPrintable(QStringLiteral("%1 to %2 from %3")
                       .arg(chart.left())
                       .arg(chart.right())
                       .arg(areaPoints.left())));
    // Under the caption and the date, the parameters as the dialog shows them.
    const QString text
        = QString::fromUtf8(PopplerOutput(QStringLiteral("pdftotext"), { pdf, "-" }));
    QStringList expected { QStringLiteral("^Графики\n"),
        "\nДата: " + QDate::currentDate().toString(Qt::ISODate) + '\n' };
    QCOMPARE(parameters.size(), 14);
    for (const HandoutParameter &parameter : parameters) {
        // As one line; the reader makes one space of several.
        QStringList words = (parameter.value + ' ' + parameter.name).split(' ', Qt::SkipEmptyParts);
        for (QString &word : words)
            word = QRegularExpression::escape(word);
        expected.append('\n' + words.join(QStringLiteral(" +")) + '\n');
    }
    for (const QString &line : expected)
        QVERIFY2(text.contains(QRegularExpression(line)), qPrintable(line + '\n' + text));
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

QTEST_MAIN(PictureMenuTest)
#include "tst_picturemenu.moc"
