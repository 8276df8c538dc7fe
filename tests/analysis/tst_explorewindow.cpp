#include "analysis/explorechart.h"
#include "analysis/explorewindow.h"
#include "analysis/parameterslider.h"
#include "app/analysiswindows.h"
#include "model/explorepresets.h"
#include "output/picturemenu.h"
#include "tests/support/exportedcsv.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/pixels.h"
#include "tests/support/printedpage.h"
#include "widgets/chartpalette.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <cstring>

namespace {

// The scene menu's entry for the explore window.
QAction *exploreEntry(TForm2 &form)
{
    return form.SceneMenu->Menu()->actions().at(2);
}

// The explore window opened from the scene menu; null when none opened.
ExploreWindow *openExplore(TForm2 &form)
{
    new AnalysisWindows(form); // a child of the main window
    exploreEntry(form)->trigger();
    return form.findChild<ExploreWindow *>();
}

// Waits for the window's computation to end; whether it left a curve to read.
bool curveShown(const ExploreWindow &window)
{
    return QTest::qWaitFor([&window] { return !window.Computing(); }) && window.Chart->Motion();
}

// The computed coordinates, bit for bit.
QByteArray coordinates(const MotionModel &motion)
{
    return QByteArray(
        reinterpret_cast<const char *>(motion.ResultSeries[MotionModel::Coordinate].get()),
        qsizetype(sizeof(float)) * (motion.PlayableLastIndex() + 1));
}

QString dampingRatioLine(const ExploreWindow &window)
{
    for (const QString &line : window.DerivedLabel->text().split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("ζ")))
            return line;
    }
    return {};
}

// The rows of a column of the chart's image holding the plot's frame, the
// first and the last of the grid's colour: nothing draws over the border.
std::pair<int, int> frameRows(const QImage &image, int x)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) == ChartPalette::Grid.rgb()) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    return { top, bottom };
}

// The cursor's time where the mouse rests over column x of the chart's plot.
QString timeAt(ExploreWindow &window, int x)
{
    const QPoint at(x, 150);
    QMouseEvent move(QEvent::MouseMove, at, window.Chart->mapToGlobal(at), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.Chart, &move);
    const QString text = window.CursorLabel->text();
    return text.section(QStringLiteral("t = "), 1).section(QLatin1Char(' '), 0, 0);
}

void wheel(QWidget *widget, QPoint at, int notches)
{
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

QByteArray fileBytes()
{
    QFile file(QString::fromStdString(ParameterFilePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

} // namespace

class ExploreWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void dampingSliderMovesCurveAndKeepsTheKeptOne();
    void forceIsDrawnOnAScaleOfItsOwn();
    void timeAxisZoomsAndShowsTheWholeRunAgain();
    void keptCurveOfALongRunIsThinned();
    void presetsGiveTheRegimesTheyName_data();
    void presetsGiveTheRegimesTheyName();
    void applyRecomputesTheMainWindowFromTheFile();
    void applyRefusesWhatTheWindowCallsInvalid_data();
    void applyRefusesWhatTheWindowCallsInvalid();
    void failedWriteIsToldAndTheProgramGoesOn();
    void textThatIsNoNumberIsToldAndKept();
    void closingWithoutApplyLeavesTheFile();
    void eachControlHasANameOfItsOwn();
    void controlsReflowToAProjectorScreen();
};

void ExploreWindowTest::dampingSliderMovesCurveAndKeepsTheKeptOne()
{
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened && opened->isVisible() && !opened->isModal());
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Исследование"));
    QCOMPARE(exploreEntry(fixture.window())->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    QCOMPARE(window.Fields[1]->Slider->accessibleName(),
        Form3->ParameterCaption(FieldIndex(ParameterField::Damping)));
    // The same computation as the main window's.
    const QByteArray undamped = coordinates(*window.Chart->Motion());
    QCOMPARE(undamped, coordinates(fixture.window().Motion));
    QVERIFY(dampingRatioLine(window).endsWith(QLocale().toString(0.0, 'f', 4)));

    QTest::mouseClick(window.KeepButton, Qt::LeftButton);
    QTest::keyClick(window.Fields[1]->Slider, Qt::Key_PageUp);
    QVERIFY(curveShown(window));
    QVERIFY(window.Values().Damping > 0);
    QVERIFY(coordinates(*window.Chart->Motion()) != undamped);
    QVERIFY(!dampingRatioLine(window).endsWith(QLocale().toString(0.0, 'f', 4)));
    // The kept curve is still drawn, faint, under the new one.
    QCOMPARE(window.Chart->KeptCount(), 1);
    const QImage image = window.Chart->grab().toImage();
    QVERIFY(countPixels(image, ChartPalette::Kept[0].rgb(), image.rect()) > 100);
    QVERIFY(countPixels(image, ChartPalette::Coordinate.rgb(), image.rect()) > 100);
    // The export holds the kept curve beside the current one.
    const QByteArray csv = ExportedCsv(*window.ChartMenu);
    QVERIFY2(csv.startsWith("t_s,x_m,v_m_per_s,F_resistance_N,F_elastic_N,F_drive_N,"
                            "t_s_kept1,x_m_kept1\n0.00,"),
        csv.left(120).constData());

    // The arrow keys move the cursor along the curve, reading x and v; two
    // clicks measure, until a new run.
    QLineEdit *initialVelocity = window.Fields[8]->Edit;
    initialVelocity->setText(QStringLiteral("1"));
    QTest::keyClick(initialVelocity, Qt::Key_Return);
    QVERIFY(curveShown(window));
    QTest::keyClick(window.Chart, Qt::Key_Right);
    QCOMPARE(window.CursorLabel->text(),
        window.Captions.CursorValue.arg(
            QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")));
    const auto measures
        = [&window] { return window.CursorLabel->text().contains(QStringLiteral("Δt = ")); };
    QTest::mouseClick(window.Chart, Qt::LeftButton, {}, QPoint(200, 100));
    QTest::mouseClick(window.Chart, Qt::LeftButton, {}, QPoint(300, 100));
    QVERIFY2(measures(), qPrintable(window.CursorLabel->text()));
    QTest::mouseClick(window.PresetButtons[int(Preset::Underdamped)], Qt::LeftButton);
    QVERIFY(curveShown(window));
    QVERIFY2(!measures(), qPrintable(window.CursorLabel->text()));
    // The kept curve's entry names every value the preset changed, whole.
    const std::vector<ExploreChart::LegendEntry> legend
        = window.Chart->Legend(ChartColours::Screen());
    QCOMPARE(legend.size(), std::size_t(2));
    QCOMPARE(legend[0].text, window.Captions.Current);
    int differences = 0;
    for (int field = 0; field < ModelParameters::Count; ++field) {
        if (*NominalParameters().fields()[field] == *window.Values().fields()[field])
            continue;
        ++differences;
        QVERIFY2(
            legend[1].text.contains(Form3->ParameterCaption(field)), qPrintable(legend[1].text));
    }
    QVERIFY(differences >= 3);
    QTest::mouseClick(window.ClearKeptButton, Qt::LeftButton);
    QCOMPARE(window.Chart->KeptCount(), 0);
}

void ExploreWindowTest::forceIsDrawnOnAScaleOfItsOwn()
{
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    const QRgb force = ChartPalette::DrivingForce.rgb();
    QImage image = window.Chart->grab().toImage();
    QCOMPARE(countPixels(image, force, image.rect()), 0);

    QTest::mouseClick(window.ForceCheckBox, Qt::LeftButton);
    image = window.Chart->grab().toImage();
    const std::vector<ExploreChart::LegendEntry> legend
        = window.Chart->Legend(ChartColours::Screen());
    QCOMPARE(legend.size(), std::size_t(2));
    QCOMPARE(legend[1].line.colour, ChartPalette::DrivingForce);
    QCOMPARE(legend[1].text, window.Captions.ForceLegend);
    // 12 N peaks on a scale of their own reach near the plot's top without
    // running along its edge, as they would on the scale of x in metres.
    const auto [frameTop, frameBottom] = frameRows(image, 300);
    int forceTop = image.height();
    for (int x = 100; x < 500; ++x) {
        const int y = topmostPixel(image, x, force, QRect(0, frameTop, 1, frameBottom - frameTop));
        if (y >= 0)
            forceTop = std::min(forceTop, y);
    }
    QVERIFY2(forceTop > frameTop + 2 && forceTop < frameTop + (frameBottom - frameTop) / 5,
        qPrintable(QStringLiteral("%1 in %2 ... %3").arg(forceTop).arg(frameTop).arg(frameBottom)));
    QTest::keyClick(window.Chart, Qt::Key_Right);
    QVERIFY2(
        window.CursorLabel->text().endsWith(window.Captions.CursorForce.arg(QStringLiteral("0"))),
        qPrintable(window.CursorLabel->text()));
}

// The wheel, a drag and the keys zoom the time axis; a click still marks, a
// double click, 0 and the button show the whole run; a slider keeps the
// zoom, another stop time does not.
void ExploreWindowTest::timeAxisZoomsAndShowsTheWholeRunAgain()
{
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    ExploreChart &chart = *window.Chart;
    const auto shown = [&chart] {
        const ExploreChart::TimeSpan span = chart.VisibleTimes();
        return std::pair(span.from, span.to);
    };
    const auto whole = shown();
    QCOMPARE(whole, std::pair(0.0, 10.0));

    // Around the pointer, far from the plot's middle.
    const QString pointed = timeAt(window, 150);
    wheel(&chart, QPoint(150, 150), 2);
    QVERIFY(shown().second - shown().first < 0.7 * (whole.second - whole.first));
    QCOMPARE(timeAt(window, 150), pointed);
    wheel(&chart, QPoint(150, 150), -4);
    QCOMPARE(shown(), whole);

    const QString from = timeAt(window, 150), to = timeAt(window, 300);
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(150, 150));
    QTest::mouseMove(&chart, QPoint(220, 150));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(300, 150));
    QCOMPARE(ShownValue(shown().first), from);
    QCOMPARE(ShownValue(shown().second), to);
    const auto zoomed = shown();
    QTest::keyClick(window.Fields[1]->Slider, Qt::Key_PageUp);
    QVERIFY(curveShown(window));
    QCOMPARE(shown(), zoomed);
    // Paper, as the export, carries the whole run: its axis to 10 s.
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
    PrintToPdf(*window.ChartMenu, pdf);
    const QString page
        = QString::fromUtf8(PopplerOutput(QStringLiteral("pdftotext"), { pdf, "-" }));
    QVERIFY2(page.split(QRegularExpression(QStringLiteral("\\s+"))).contains(QStringLiteral("9")),
        qPrintable(page));
    QCOMPARE(shown(), zoomed);

    // A hand's jitter of a few pixels still marks.
    for (const int x : { 200, 250 }) {
        QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(x, 150));
        QTest::mouseMove(&chart, QPoint(x + 3, 150));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(x + 3, 150));
    }
    QCOMPARE(shown(), zoomed);
    const auto measures
        = [&window] { return window.CursorLabel->text().contains(QStringLiteral("Δt = ")); };
    QVERIFY2(measures(), qPrintable(window.CursorLabel->text()));
    // The first click of a double click leaves the span measured before.
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(shown(), whole);
    QVERIFY2(measures(), qPrintable(window.CursorLabel->text()));

    QTest::keyClick(&chart, Qt::Key_Plus);
    QVERIFY(shown() != whole);
    QTest::keyClick(&chart, Qt::Key_0);
    QCOMPARE(shown(), whole);
    QTest::keyClick(&chart, Qt::Key_Plus);
    QTest::mouseClick(window.WholeRunButton, Qt::LeftButton);
    QCOMPARE(shown(), whole);

    // Narrower than the new run, so that only the new stop time undoes it.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&chart, Qt::Key_Plus);
    QLineEdit *stopTime = window.Fields[11]->Edit;
    stopTime->setText(QStringLiteral("5"));
    QTest::keyClick(stopTime, Qt::Key_Return);
    QVERIFY(curveShown(window));
    QCOMPARE(shown(), std::pair(0.0, 5.0));
}

void ExploreWindowTest::keptCurveOfALongRunIsThinned()
{
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    // 150001 samples, half again as many as a kept curve holds.
    QLineEdit *stopTime = window.Fields[11]->Edit;
    stopTime->setText(QStringLiteral("1500"));
    QTest::keyClick(stopTime, Qt::Key_Return);
    QVERIFY(curveShown(window));
    QTest::mouseClick(window.KeepButton, Qt::LeftButton);
    QTest::keyClick(window.Fields[1]->Slider, Qt::Key_PageUp);
    QVERIFY(curveShown(window));

    const std::optional<CsvTable> table = window.Chart->Table();
    QVERIFY(table);
    const std::vector<CsvTable::Column> &columns = table->Columns();
    QCOMPARE(columns.size(), std::size_t(8));
    QCOMPARE(table->RowCount(), std::size_t(150'001));
    QCOMPARE(columns[6].header, "t_s_kept1_thinned");
    QCOMPARE(columns[7].header, "x_m_kept1_thinned");
    const auto &times = std::get<CsvTable::SampleTimes>(columns[6].values);
    QVERIFY2(times.size() <= ExploreChart::KeptPoints, qPrintable(QString::number(times.size())));
    QCOMPARE(times.Index(0), std::size_t(0));
    QCOMPARE(times.Index(times.size() - 1), std::size_t(150'000));
    // Drawn to the end of the time axis, not squeezed into its start.
    const QImage image = window.Chart->grab().toImage();
    const QRect end(image.width() * 3 / 4, 0, image.width() / 4, image.height());
    QVERIFY(countPixels(image, ChartPalette::Kept[0].rgb(), end) > 100);
}

void ExploreWindowTest::presetsGiveTheRegimesTheyName_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("regime");
    const ExploreCaptions texts;
    QTest::newRow("free") << int(Preset::FreeOscillation) << texts.Undamped;
    QTest::newRow("under") << int(Preset::Underdamped) << texts.Underdamped;
    QTest::newRow("critical") << int(Preset::CriticallyDamped) << texts.CriticallyDamped;
    QTest::newRow("over") << int(Preset::Overdamped) << texts.Overdamped;
    QTest::newRow("resonance") << int(Preset::Resonance) << texts.Underdamped;
    QTest::newRow("beats") << int(Preset::Beats) << texts.Undamped;
}

void ExploreWindowTest::presetsGiveTheRegimesTheyName()
{
    QFETCH(int, preset);
    QFETCH(QString, regime);
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened && opened->isVisible() && !opened->isModal());
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    QTest::mouseClick(window.PresetButtons[preset], Qt::LeftButton);
    QVERIFY(curveShown(window));
    const QStringList lines = window.DerivedLabel->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.first(), regime);
    QCOMPARE(lines.contains(window.Captions.AtResonance), Preset(preset) == Preset::Resonance);
    if (Preset(preset) == Preset::CriticallyDamped) {
        QVERIFY(dampingRatioLine(window).endsWith(QLocale().toString(1.0, 'f', 4)));
        // Released from a deflection, the mass creeps back without crossing.
        const MotionModel &motion = *window.Chart->Motion();
        for (int i = 0; i <= motion.PlayableLastIndex(); ++i)
            QVERIFY2(motion.Value(MotionModel::Coordinate, i) >= 0, qPrintable(QString::number(i)));
        // It comes to rest within the first half of the axis, not at its start.
        const auto rests = [&motion](int i) {
            return motion.Value(MotionModel::Coordinate, i)
                < 0.01 * motion.Value(MotionModel::Coordinate, 0);
        };
        QVERIFY(rests(motion.PlayableLastIndex() / 2) && !rests(motion.PlayableLastIndex() / 10));
    }
    // The drive's field shows the digits of the resonance frequency, 17.277153.
    if (Preset(preset) == Preset::Resonance)
        QVERIFY2(
            lines.contains(window.Captions.ResonanceFrequency.arg(window.Fields[4]->Edit->text())),
            qPrintable(window.Fields[4]->Edit->text()));
    QCOMPARE(window.Fields[11]->Edit->text(), ShownValue(window.Values().StopTime));
}

void ExploreWindowTest::applyRecomputesTheMainWindowFromTheFile()
{
    MainWindowFixture fixture;
    TForm2 &form = fixture.window();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    QCOMPARE(form.PlaybackIndex, 1);
    ExploreWindow *opened = openExplore(form);
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));

    // A value the file would hold as 0 is refused like the dialog refuses it.
    QLineEdit *damping = window.Fields[1]->Edit;
    damping->setText(QLocale().toString(0.000001, 'f', 6));
    QTest::keyClick(damping, Qt::Key_Return);
    QTest::mouseClick(window.ApplyButton, Qt::LeftButton);
    QCOMPARE(fixture.boxes.boxes.size(), 1);
    QVERIFY(fixture.boxes.boxes[0].text.contains(
        Form3->ParameterCaption(FieldIndex(ParameterField::Damping))));
    QCOMPARE(fileBytes(), QByteArray::fromStdString(FormatParameterFile(NominalParameters())));

    QTest::mouseClick(window.PresetButtons[int(Preset::Underdamped)], Qt::LeftButton);
    QVERIFY(curveShown(window));
    QTest::mouseClick(window.ApplyButton, Qt::LeftButton);
    QCOMPARE(fixture.boxes.boxes.size(), 1);
    QCOMPARE(fileBytes(), QByteArray::fromStdString(FormatParameterFile(window.Values())));
    QCOMPARE(form.PlaybackIndex, 0);
    QCOMPARE(form.ModelParameters.Damping, window.Values().Damping);
    QCOMPARE(coordinates(form.Motion), coordinates(*window.Chart->Motion()));
}

void ExploreWindowTest::applyRefusesWhatTheWindowCallsInvalid_data()
{
    QTest::addColumn<int>("shown"); // the index in ExploreWindow::Fields
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason");
    const ExploreCaptions texts;
    QTest::newRow("negative mass") << 0 << QStringLiteral("-2") << texts.Undefined;
    QTest::newRow("no mass") << 0 << QStringLiteral("0") << texts.Undefined;
    QTest::newRow("no stiffness") << 2 << QStringLiteral("0") << texts.Undefined;
    QTest::newRow("negative damping") << 1 << QStringLiteral("-1") << texts.Undefined;
    QTest::newRow("no print step") << 10 << QStringLiteral("0") << texts.StepsNotPositive;
    QTest::newRow("too many samples") << 11 << QStringLiteral("1E9") << texts.TooManySamples;
    QTest::newRow("no number") << 0 << QStringLiteral("abc")
                               << texts.NotANumber.arg(QStringLiteral("abc"));
}

void ExploreWindowTest::applyRefusesWhatTheWindowCallsInvalid()
{
    QFETCH(int, shown);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    MainWindowFixture fixture;
    const QByteArray before = fileBytes();
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    QLineEdit *edit = window.Fields[shown]->Edit;
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(!window.Computing());
    QTest::mouseClick(window.ApplyButton, Qt::LeftButton);
    QCOMPARE(fixture.boxes.boxes.size(), 1);
    QCOMPARE(fixture.boxes.boxes[0].text, reason);
    QCOMPARE(fileBytes(), before);
}

void ExploreWindowTest::failedWriteIsToldAndTheProgramGoesOn()
{
    MainWindowFixture fixture;
    TForm2 &form = fixture.window();
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    ExploreWindow *opened = openExplore(form);
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    const QString path = QString::fromLocal8Bit(ParameterFilePath());
    QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    const auto restore = qScopeGuard([&path] { QDir().rmdir(path); });

    QTest::mouseClick(window.PresetButtons[int(Preset::Underdamped)], Qt::LeftButton);
    QTest::mouseClick(window.ApplyButton, Qt::LeftButton);
    QCOMPARE(fixture.boxes.boxes.size(), 1);
    QVERIFY2(fixture.boxes.boxes[0].text.contains(path), qPrintable(fixture.boxes.boxes[0].text));
    // Nothing asked the program to end: a request queued by Apply would end
    // the loop before this one does. Nor was the main window reloaded.
    QTimer::singleShot(100, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 1);
    QVERIFY(window.isVisible());
    QCOMPARE(form.PlaybackIndex, 1);
    QCOMPARE(form.ModelParameters.Damping, NominalParameters().Damping);
}

void ExploreWindowTest::textThatIsNoNumberIsToldAndKept()
{
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    const QByteArray nominal = coordinates(*window.Chart->Motion());
    const QString told = window.Captions.NotANumber.arg(QStringLiteral("abc"));
    QLineEdit *mass = window.Fields[0]->Edit;
    mass->selectAll();
    QTest::keyClicks(mass, QStringLiteral("abc"));
    QTest::keyClick(mass, Qt::Key_Return);
    QCOMPARE(mass->text(), QStringLiteral("abc"));
    QVERIFY(curveShown(window));
    QCOMPARE(window.StatusLabel->text(), told);
    QCOMPARE(coordinates(*window.Chart->Motion()), nominal);

    // Told while the field holds the text, whatever else is recomputed.
    QTest::keyClick(window.Fields[1]->Slider, Qt::Key_PageUp);
    QVERIFY(curveShown(window));
    QCOMPARE(window.StatusLabel->text(), told);
    QCOMPARE(mass->text(), QStringLiteral("abc"));
    QCOMPARE(window.Values().Mass, NominalParameters().Mass);
}

void ExploreWindowTest::closingWithoutApplyLeavesTheFile()
{
    MainWindowFixture fixture;
    const QByteArray before = fileBytes();
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened && opened->isVisible() && !opened->isModal());
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    QTest::keyClick(window.Fields[0]->Slider, Qt::Key_PageDown);
    QTest::mouseClick(window.PresetButtons[int(Preset::Beats)], Qt::LeftButton);
    // A refused computation is told in the window, not in a box.
    QLineEdit *stopTime = window.Fields[11]->Edit;
    stopTime->setText(QStringLiteral("1E9"));
    QTest::keyClick(stopTime, Qt::Key_Return);
    QTRY_VERIFY(!window.Computing());
    QCOMPARE(window.StatusLabel->text(), window.Captions.TooManySamples);
    QVERIFY(!window.Chart->Motion());
    QTest::mouseClick(window.CloseButton, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(fileBytes(), before);
    QCOMPARE(fixture.window().ModelParameters.Damping, NominalParameters().Damping);
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

// A test and a screen reader's tree find a control by its name: one that says
// what it is and that no other control of the window shares.
void ExploreWindowTest::eachControlHasANameOfItsOwn()
{
    MainWindowFixture fixture;
    const ExploreWindow *window = openExplore(fixture.window());
    QVERIFY(window);
    const QRegularExpression numbered(QStringLiteral("\\d$"));
    QStringList names;
    for (const QWidget *control : window->Chart->parentWidget()->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.startsWith(QLatin1String("qt_")))
            continue; // the toolkit's own parts
        QVERIFY2(!name.isEmpty() && !name.contains(numbered),
            qPrintable(
                QLatin1String(control->metaObject()->className()) + QLatin1Char(' ') + name));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.append(name);
    }
    QVERIFY(names.contains(QStringLiteral("dampingSlider")));
}

// At Qt's scale factor 2 a full HD projector leaves the window about 960 × 490:
// the sliders, the whole chart and the buttons show at once, the chart
// giving way first, nothing scrolling sideways.
void ExploreWindowTest::controlsReflowToAProjectorScreen()
{
    MainWindowFixture fixture;
    ExploreWindow *opened = openExplore(fixture.window());
    QVERIFY(opened);
    ExploreWindow &window = *opened;
    QVERIFY(curveShown(window));
    const QSize designedChart = window.Chart->size();
    QCOMPARE(designedChart, QSize(632, 480));

    window.resize(960, 490);
    // The derived quantities move from under the sliders to beside the presets.
    QTRY_VERIFY(window.DerivedLabel->x() > window.Chart->x());
    const auto *scroll = window.findChild<QScrollArea *>();
    QVERIFY(scroll);
    const auto shownWhole = [&window, scroll](const QList<QWidget *> &controls) {
        QStringList cut;
        if (scroll->horizontalScrollBar()->isVisible())
            cut.append(QStringLiteral("a horizontal scroll bar"));
        for (const QWidget *control : controls) {
            const QRect place(control->mapTo(&window, QPoint()), control->size());
            if (!window.rect().contains(place))
                cut.append(control->objectName());
        }
        return cut.join(QStringLiteral(", "));
    };
    QList<QWidget *> controls { window.Chart, window.KeepButton, window.ApplyButton,
        window.CloseButton, window.DerivedLabel };
    for (const ParameterSlider *field : window.Fields)
        controls << field->Label << field->Edit;
    QTRY_COMPARE(shownWhole(controls), QString());
    QVERIFY2(window.Chart->width() >= 400 && window.Chart->height() >= 200,
        qPrintable(
            QStringLiteral("%1 × %2").arg(window.Chart->width()).arg(window.Chart->height())));
    // Two kept curves leave the plot most of the chart's height: their
    // entries share a row, which tells them whole in its tooltip.
    QTest::mouseClick(window.KeepButton, Qt::LeftButton);
    QTest::mouseClick(window.PresetButtons[int(Preset::Underdamped)], Qt::LeftButton);
    QVERIFY(curveShown(window));
    QTest::mouseClick(window.KeepButton, Qt::LeftButton);
    QTest::mouseClick(window.PresetButtons[int(Preset::Beats)], Qt::LeftButton);
    QVERIFY(curveShown(window));
    const auto [plotTop, plotBottom] = frameRows(window.Chart->grab().toImage(), 300);
    QVERIFY2(plotBottom - plotTop + 1 >= 120, qPrintable(QString::number(plotBottom - plotTop)));
    const QPoint legendRow(150, plotBottom + 28);
    QHelpEvent help(QEvent::ToolTip, legendRow, window.Chart->mapToGlobal(legendRow));
    QApplication::sendEvent(window.Chart, &help);
    const std::vector<ExploreChart::LegendEntry> legend
        = window.Chart->Legend(ChartColours::Screen());
    QCOMPARE(legend.size(), std::size_t(3));
    QTRY_VERIFY2(
        QToolTip::text().contains(legend[1].text) && QToolTip::text().contains(legend[2].text),
        qPrintable(QToolTip::text()));

    // A refusal on the status line wraps rather than widen the window.
    QLineEdit *timeStep = window.Fields[9]->Edit;
    timeStep->setText(QStringLiteral("1E-9"));
    QTest::keyClick(timeStep, Qt::Key_Return);
    QTRY_COMPARE(window.StatusLabel->text(), window.Captions.TooManySteps);
    QTRY_COMPARE(shownWhole({ window.StatusLabel, window.CloseButton }), QString());

    window.resize(1030, 756);
    QTRY_COMPARE(window.Chart->size(), designedChart);
}

QTEST_MAIN(ExploreWindowTest)
#include "tst_explorewindow.moc"
