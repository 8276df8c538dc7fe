#include "analysis/chartplot.h"
#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/parameterslider.h"
#include "analysis/resonancewindow.h"
#include "app/analysiswindows.h"
#include "tests/support/exportedcsv.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/printedpage.h"
#include "tests/support/scenemenuaccess.h"
#include "widgets/paintbox.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolTip>

#include <cstdlib>

namespace {

constexpr QRgb Kinetic = 0xffffff00, Spring = 0xffff00ff, DamperWork = 0xff00ff00,
               DriveWork = 0xffff8000, Residual = 0xff00ffff;

// A free damped swing: the damper's work falls as the energy goes.
ModelParameters dampedSwing()
{
    ModelParameters p = NominalParameters();
    p.Damping = 4;
    p.ForceAmplitude = 0;
    p.InitialDeflection = 0.1f;
    return p;
}

// The damper's work at the end of the motion the window shows, from its CSV.
double finalDamperWork(EnergyWindow &window)
{
    const QList<QByteArray> rows = ExportedCsv(*window.ChartMenu).trimmed().split('\n');
    return rows.last().split(',').at(3).toDouble();
}

} // namespace

class EnergyWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void showsEveryEnergyInItsColour();
    void tooltipAndShortcuts();
    void followsTheExploreMotion();
};

void EnergyWindowTest::showsEveryEnergyInItsColour()
{
    MainWindowFixture fixture(dampedSwing());
    new AnalysisWindows(fixture.window()); // a child of the main window
    QVERIFY(whileOpen<EnergyWindow>([&] { clickSceneMenuEntry(fixture.window(), 1); },
        [&](EnergyWindow &window) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Энергия"));
            const QImage image = window.Chart->grab().toImage();
            const QRect plot(61, 25, image.width() - 142, image.height() - 122);
            for (const QRgb colour : { Kinetic, Spring, DamperWork, DriveWork, Residual })
                QVERIFY2(
                    countPixels(image, colour, plot) > 0, qPrintable(QString::number(colour, 16)));
            // The damper's work starts at zero and ends at minus the energy lost.
            const int start = topmostPixel(image, plot.left() + 2, DamperWork, plot);
            QVERIFY(start > 0);
            QVERIFY(topmostPixel(image, plot.right() - 2, DamperWork, plot)
                > start + plot.height() / 4);
            // Each term by time, one row a sample; no work done at the start.
            const QByteArray csv = ExportedCsv(*window.ChartMenu);
            QVERIFY(csv.startsWith(
                "t_s,E_kinetic_J,E_spring_J,W_damper_J,W_drive_J,residual_J\n0.00,"));
            QCOMPARE(csv.count('\n'), 1002);
            QVERIFY(csv.split('\n').at(1).endsWith(",0,0,0"));
            // On paper the chart lies on white, not on the window's grey.
            const QTemporaryDir folder;
            const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
            PrintToPdf(*window.ChartMenu, pdf);
            const QImage page = QImage::fromData(
                PopplerOutput(QStringLiteral("pdftoppm"), { "-r", "36", "-png", pdf }));
            QVERIFY(!page.isNull());
            // PDF colours may round off by one.
            const QColor grey = window.palette().color(QPalette::Button);
            int greyPixels = 0;
            for (int y = 0; y < page.height(); ++y) {
                for (int x = 0; x < page.width(); ++x) {
                    const QColor pixel = page.pixelColor(x, y);
                    greyPixels += std::abs(pixel.red() - grey.red()) <= 2
                        && std::abs(pixel.green() - grey.green()) <= 2
                        && std::abs(pixel.blue() - grey.blue()) <= 2;
                }
            }
            QVERIFY2(greyPixels < page.width() * page.height() / 100, "grey around the plot");
        }));
}

void EnergyWindowTest::tooltipAndShortcuts()
{
    MainWindowFixture fixture;
    new AnalysisWindows(fixture.window()); // a child of the main window
    TForm2 &form = fixture.window();
    const QString tip = form.OpenGLPanel1->toolTip();
    QWindow *scene = form.OpenGLPanel1->PanelWindow();
    QTest::mouseMove(scene, QPoint(50, 50));
    QTest::mouseMove(scene, QPoint(60, 60));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), tip);

    // A click into the scene leaves the keyboard with the window's controls.
    int opened = 0;
    const auto press = [&](Qt::Key key) {
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::mouseClick(scene, Qt::LeftButton, {}, QPoint(60, 60));
        QTest::keyClick(QGuiApplication::focusWindow(), key, Qt::ControlModifier);
    };
    QVERIFY(whileOpen<ResonanceWindow>(
        [&] { press(Qt::Key_R); }, [&](ResonanceWindow &) { ++opened; }));
    QVERIFY(whileOpen<EnergyWindow>([&] { press(Qt::Key_E); }, [&](EnergyWindow &) { ++opened; }));
    QCOMPARE(opened, 2);
}

void EnergyWindowTest::followsTheExploreMotion()
{
    MainWindowFixture fixture; // no damping
    TForm2 &main = fixture.window();
    new AnalysisWindows(main); // a child of the main window
    QVERIFY(whileOpen<EnergyWindow>([&] { clickSceneMenuEntry(main, 1); },
        [&](EnergyWindow &window) {
            QCOMPARE(window.SourceLabel->text(), QStringLiteral("Параметры: файл параметров"));
            QCOMPARE(finalDamperWork(window), 0.0);
            clickSceneMenuEntry(main, 2);
            auto *explore = main.findChild<ExploreWindow *>();
            QVERIFY(explore && QTest::qWaitForWindowExposed(explore));
            QTest::keyClick(explore->Fields[1]->Slider, Qt::Key_PageUp);
            QTRY_VERIFY(finalDamperWork(window) < 0);
            QCOMPARE(window.SourceLabel->text(),
                QStringLiteral("Параметры: значения окна «Исследование»"));
            QTest::mouseClick(explore->CloseButton, Qt::LeftButton);
            QCOMPARE(finalDamperWork(window), 0.0);
        }));
}

QTEST_MAIN(EnergyWindowTest)
#include "tst_energywindow.moc"
