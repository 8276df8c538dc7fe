#include "analysis/energywindow.h"
#include "analysis/explorechart.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "app/analysiswindows.h"
#include "forms/timegraphplot.h"
#include "model/explorepresets.h"
#include "output/pictureoutput.h"
#include "services/numberstyles.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/printedpage.h"
#include "tests/support/scenemenuaccess.h"
#include "widgets/paintbox.h"

#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A damped swing with a closed-form resonance.
ModelParameters damped()
{
    ModelParameters p = NominalParameters();
    p.Damping = 20;
    return p;
}

// Prints what menu prints and checks that the page is lines and text: no
// image, every one of texts readable and none of absent, and the document
// titled with title and the date.
void expectLinesAndText(const PictureMenu &menu, const QString &title, const QStringList &texts,
    const QStringList &absent = {})
{
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
    PrintToPdf(menu, pdf);
    // Two heading lines, and a line for each image.
    const QByteArray images = PopplerOutput(QStringLiteral("pdfimages"), { "-list", pdf });
    QVERIFY2(images.trimmed().count('\n') == 1, images.constData());
    const QString text
        = QString::fromUtf8(PopplerOutput(QStringLiteral("pdftotext"), { pdf, "-" })).simplified();
    for (const QString &expected : texts)
        QVERIFY2(text.contains(expected.simplified()), qPrintable(expected + '\n' + text));
    for (const QString &unexpected : absent)
        QVERIFY2(!text.contains(unexpected.simplified()), qPrintable(unexpected));
    const QString info = QString::fromUtf8(PopplerOutput(QStringLiteral("pdfinfo"), { pdf }));
    const QString name = title + QStringLiteral(", ") + QDate::currentDate().toString(Qt::ISODate);
    QVERIFY2(
        info.contains(QRegularExpression("Title: +" + QRegularExpression::escape(name) + '\n')),
        qPrintable(info));
}

// The chart of canvas in window printed on an A4 page of 100 dots per inch,
// as a printer would get it.
QImage printedChart(const QWidget &window, const TPaintBox &canvas)
{
    QImage page(827, 1169, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    Handout handout;
    handout.title = window.windowTitle();
    PrintHandout(window, canvas, handout, QString(), page);
    return page;
}

// The time graphs of the nominal motion with the curves of choice alone.
QImage printedGraphs(bool coordinate, bool velocity)
{
    Form9->CheckBox1->setChecked(coordinate);
    Form9->CheckBox2->setChecked(velocity);
    return printedChart(*Form8, *Form8->PaintBox1);
}

double whiteShare(const QImage &page)
{
    int white = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x)
            white += qGray(page.pixel(x, y)) > 240;
    }
    return double(white) / (page.width() * page.height());
}

// The dark runs of pixels left of the last word name on the page menu
// prints, through the word's middle: one for a solid line sample, more for a
// dashed one.
int sampleRuns(const PictureMenu &menu, const QString &name)
{
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
    PrintToPdf(menu, pdf);
    // Points at 72 dots per inch; the picture at twice that.
    const QString words
        = QString::fromUtf8(PopplerOutput(QStringLiteral("pdftotext"), { "-bbox", pdf, "-" }));
    const QRegularExpression word(
        QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">)re")
        + QRegularExpression::escape(name) + QStringLiteral("</word>"));
    QRegularExpressionMatch last;
    for (const QRegularExpressionMatch &match : word.globalMatch(words))
        last = match;
    if (!last.hasMatch())
        return -1;
    PopplerOutput(QStringLiteral("pdftoppm"),
        { "-r", "144", "-png", "-singlefile", pdf, folder.filePath(QStringLiteral("page")) });
    const QImage page(folder.filePath(QStringLiteral("page.png")));
    const int left = int(last.captured(1).toDouble() * 2);
    const int middle = int((last.captured(2).toDouble() + last.captured(3).toDouble()));
    // The row of the most dark pixels about the middle: the sample's.
    int runs = 0, darkest = 0;
    for (int y = middle - 6; y <= middle + 6; ++y) {
        int dark = 0, rowRuns = 0;
        bool inRun = false;
        for (int x = 0; x < left; ++x) {
            const bool isDark = qGray(page.pixel(x, y)) < 200;
            dark += isDark;
            rowRuns += isDark && !inRun;
            inRun = isDark;
        }
        if (dark > darkest) {
            darkest = dark;
            runs = rowRuns;
        }
    }
    return runs;
}

// The mean grey of the dark pixels of page that other lacks: darker than the grid.
double meanGreyOfDifference(const QImage &page, const QImage &other)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixel(x, y) != other.pixel(x, y) && qGray(page.pixel(x, y)) < 180) {
                sum += qGray(page.pixel(x, y));
                ++count;
            }
        }
    }
    return count > 100 ? sum / count : -1;
}

void openTimeGraphs()
{
    whenShown<TForm9>([](TForm9 &) {});
    Form8->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form8));
    QTRY_VERIFY(!Form9->isVisible());
}

} // namespace

// Printed, each chart is a page of lines and text in the paper's colours, with
// what a student needs to read it away from the window.
class HandoutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyChartPrintsAsLinesAndText();
    void chartSavesAsSvgOnPaper();
    void paperIsWhiteAndCurvesDifferInGrey();
    void timeGraphsNameEachCurveBesideItsLine();
    void explorePageCarriesTheDerivedQuantitiesNotTheCursor();
};

void HandoutTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        QSKIP("poppler-utils is not installed");
}

void HandoutTest::everyChartPrintsAsLinesAndText()
{
    MainWindowFixture fixture(damped());
    new AnalysisWindows(fixture.window()); // a child of the main window

    openTimeGraphs();
    // The first label of the time axis, a twentieth of the time shown.
    const double duration = Form8->MaskEdit1->text().trimmed().toDouble();
    expectLinesAndText(*Form8->PaintBox1Menu, Form8->windowTitle(),
        { Form8->Label3->text(), Form8->Label4->text(), TimeLabel(duration * 0.05) });
    Form8->done(1);

    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    const SeriesRange &x = Form2->Motion.SeriesRanges[MotionModel::Coordinate];
    expectLinesAndText(*Form5->PaintBox1Menu, Form5->windowTitle(),
        { Form5->Texts.CoordinateAxis, Form5->Texts.VelocityAxis, NumberStyle(x.max, 4, 2) });
    Form5->done(1);

    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(fixture.window(), 0); },
        [](ResonanceWindow &window) {
            QTRY_VERIFY_WITH_TIMEOUT(!window.Progress->isVisible(), 60000);
            // The closed form and the phase lag's plot come onto the page.
            expectLinesAndText(*window.ChartMenu, window.windowTitle(),
                { window.Captions.AmplitudeAxis, window.Captions.PhaseAxis,
                    window.StatusLabel->text(), window.PhaseRuleLabel->text() });
        }));
    QVERIFY(whileOpen<EnergyWindow>([&] { clickSceneMenuEntry(fixture.window(), 1); },
        [](EnergyWindow &window) {
            expectLinesAndText(*window.ChartMenu, window.windowTitle(),
                { window.Captions.Kinetic, window.Captions.Method });
        }));
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

void HandoutTest::chartSavesAsSvgOnPaper()
{
    MainWindowFixture fixture(damped());
    new AnalysisWindows(fixture.window()); // a child of the main window
    QVERIFY(whileOpen<EnergyWindow>([&] { clickSceneMenuEntry(fixture.window(), 1); },
        [](EnergyWindow &window) {
            const QTemporaryDir folder;
            const QString fileName = folder.filePath(QStringLiteral("energy.svg"));
            SaveCanvasSvg(*window.Chart, window.windowTitle(), fileName);
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString svg = QString::fromUtf8(file.readAll());
            // As text, a word to an element.
            QVERIFY(svg.contains('>' + window.Captions.Kinetic.section(' ', 0, 0) + ' '));
            QVERIFY(!svg.contains(QStringLiteral("<image")));
            // In the paper's colours, as it prints: a light grid, not the screen's green.
            QVERIFY(svg.contains(ChartColours::Paper().Grid.name()));
            QVERIFY(!svg.contains(ChartPalette::Grid.name()));
        }));
}

void HandoutTest::paperIsWhiteAndCurvesDifferInGrey()
{
    MainWindowFixture fixture;
    openTimeGraphs();
    const QImage both = printedGraphs(true, true);
    QVERIFY2(whiteShare(both) > 0.9, qPrintable(QString::number(whiteShare(both))));
    // Each curve is what its page has and the other's lacks.
    const QImage coordinate = printedGraphs(true, false);
    const QImage velocity = printedGraphs(false, true);
    const double coordinateGrey = meanGreyOfDifference(coordinate, velocity);
    const double velocityGrey = meanGreyOfDifference(velocity, coordinate);
    QVERIFY(coordinateGrey >= 0 && velocityGrey >= 0);
    QVERIFY2(std::abs(coordinateGrey - velocityGrey) > 40,
        qPrintable(QStringLiteral("%1 %2").arg(coordinateGrey).arg(velocityGrey)));

    // The printer's own device takes the same lines: no picture of the chart.
    const QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("printer.pdf")));
    PrintHandout(*Form8, *Form8->PaintBox1, Handout(), QString(), printer);
    const QByteArray images
        = PopplerOutput(QStringLiteral("pdfimages"), { "-list", printer.outputFileName() });
    QVERIFY2(images.trimmed().count('\n') == 1, images.constData());
    Form8->done(1);
}

void HandoutTest::timeGraphsNameEachCurveBesideItsLine()
{
    MainWindowFixture fixture;
    openTimeGraphs();
    Form9->CheckBox1->setChecked(true);
    Form9->CheckBox2->setChecked(true);
    const QString coordinate = Form8->Label3->text().simplified();
    const QString velocity = Form8->Label2->text().simplified();
    const int coordinateRuns = sampleRuns(*Form8->PaintBox1Menu, coordinate);
    const int velocityRuns = sampleRuns(*Form8->PaintBox1Menu, velocity);
    QVERIFY2(coordinateRuns == 1 && velocityRuns >= 3,
        qPrintable(QStringLiteral("%1 %2").arg(coordinateRuns).arg(velocityRuns)));
    Form8->done(1);
}

void HandoutTest::explorePageCarriesTheDerivedQuantitiesNotTheCursor()
{
    MainWindowFixture fixture;
    new AnalysisWindows(fixture.window()); // a child of the main window
    clickSceneMenuEntry(fixture.window(), 2);
    auto *opened = fixture.window().findChild<ExploreWindow *>();
    QVERIFY(opened && QTest::qWaitForWindowExposed(opened));
    ExploreWindow &window = *opened;
    const auto computed = [&window] {
        return QTest::qWaitFor([&window] { return !window.Computing(); }) && window.Chart->Motion();
    };
    QVERIFY(computed());
    QTest::mouseClick(window.KeepButton, Qt::LeftButton);
    QTest::mouseClick(window.PresetButtons[int(Preset::Underdamped)], Qt::LeftButton);
    QVERIFY(computed());
    const QImage kept = printedChart(window, *window.Chart);
    QVERIFY2(whiteShare(kept) > 0.9, qPrintable(QString::number(whiteShare(kept))));
    // The kept curve in a colour of its own, apart in grey from the current black.
    const ChartColours &paper = ChartColours::Paper();
    QVERIFY(countPixels(kept, paper.Kept[0].colour.rgb(), kept.rect()) > 100);
    QVERIFY(
        std::abs(qGray(paper.Kept[0].colour.rgb()) - qGray(paper.Coordinate.colour.rgb())) > 40);

    // The cursor and two marks measure on the screen alone.
    QTest::mouseClick(window.Chart, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseClick(window.Chart, Qt::LeftButton, {}, QPoint(300, 100));
    QVERIFY(printedChart(window, *window.Chart) == kept);
    const QStringList derived = window.DerivedLabel->text().split(QLatin1Char('\n'));
    const QString naturalFrequency = derived.filter(QStringLiteral("ω₀")).value(0);
    QVERIFY(!naturalFrequency.isEmpty());
    expectLinesAndText(*window.ChartMenu, window.windowTitle(),
        { naturalFrequency, window.Captions.Underdamped }, { window.CursorLabel->text() });
    window.close();
}

QTEST_MAIN(HandoutTest)
#include "tst_handouts.moc"
