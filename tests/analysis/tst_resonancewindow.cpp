#include "analysis/chartplot.h"
#include "analysis/explorewindow.h"
#include "analysis/parameterslider.h"
#include "analysis/resonancewindow.h"
#include "app/analysiswindows.h"
#include "tests/support/exportedcsv.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/scenemenuaccess.h"
#include "widgets/paintbox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <cctype>

namespace {

constexpr QRgb Sweep = 0xffffff00, ClosedForm = 0xff00ffff, Current = 0xffff0000;

// The amplitude's plot area of the canvas, inside its frame.
QRect plotArea(const QImage &image)
{
    return QRect(61, 25, image.width() - 82, 198);
}

// The leftmost plot column of w / w0 that holds colour, or -1.
int leftmostColumn(const QImage &image, QRgb colour)
{
    const QRect plot = plotArea(image);
    for (int x = plot.left(); x <= plot.right(); ++x) {
        if (topmostPixel(image, x, colour, plot) >= 0)
            return x;
    }
    return -1;
}

// The amplitude the mark reads off the swept curve; NaN when it reads none.
double markAmplitude(const ResonanceWindow &window)
{
    static const QRegularExpression amplitude(QStringLiteral("A = ([^ ]+) м"));
    const QRegularExpressionMatch match = amplitude.match(window.Chart->accessibleDescription());
    bool ok = false;
    const double value = QLocale().toDouble(match.captured(1), &ok);
    return ok ? value : qQNaN();
}

// The significant digits of a number as the CSV writes it: "0.0123" has 3.
int significantDigits(const QByteArray &number)
{
    int digits = 0;
    const QByteArray mantissa = number.split('e').constFirst();
    for (const char c : mantissa)
        digits += std::isdigit(static_cast<unsigned char>(c)) && (digits > 0 || c != '0');
    return digits;
}

// The topmost pixel of colour in the plot's column of w / w0 (0 to 3), or -1.
int topmost(const QImage &image, double ratio, QRgb colour, int shift = 0)
{
    const QRect plot = plotArea(image);
    return topmostPixel(image, plot.left() + int(ratio / 3 * plot.width()) + shift, colour, plot);
}

} // namespace

class ResonanceWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void curvePeaksAtTheDampedResonance();
    void cancelShowsThePointsDone();
    void saysWhyThereIsNoCurve_data();
    void saysWhyThereIsNoCurve();
    void followsTheExploreSliders();
};

void ResonanceWindowTest::curvePeaksAtTheDampedResonance()
{
    ModelParameters p = NominalParameters();
    p.Damping = 20; // resonance at sqrt(300 - 50) = 0.913 w0
    MainWindowFixture fixture(p);
    new AnalysisWindows(fixture.window()); // a child of the main window
    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(fixture.window(), 0); },
        [&](ResonanceWindow &window) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Резонансная кривая"));
            QTRY_VERIFY(!window.Progress->isVisible());
            QVERIFY(!window.CancelButton->isVisible());
            QVERIFY(window.StatusLabel->text().startsWith(QStringLiteral("Линия: A(ω)")));
            const QImage image = window.Chart->grab().toImage();
            const int peak = topmost(image, 0.913, Sweep);
            QVERIFY(peak > 0);
            QVERIFY(peak < topmost(image, 0.7, Sweep));
            QVERIFY(peak < topmost(image, 1.1, Sweep));
            // The closed form is drawn over the swept curve, there and off resonance.
            for (const double ratio : { 0.913, 2.0 }) {
                const int closed = topmost(image, ratio, ClosedForm);
                QVERIFY(closed > 0);
                QVERIFY(std::abs(closed - topmost(image, ratio, Sweep)) <= 2);
            }
            // The drive frequency is w0 to six digits: truncation may take the column before.
            QVERIFY(topmost(image, 1.0, Current) > 0 || topmost(image, 1.0, Current, -1) > 0);
            const QByteArray csv = ExportedCsv(*window.ChartMenu);
            QVERIFY(csv.startsWith("omega_1_per_s,A_computed_m,A_steady_state_m,phi_computed_deg,"
                                   "phi_steady_state_deg\n"));
            QCOMPARE(csv.count('\n'), 201);
            // Floats throughout: a double would show up to 17 digits beside their 9.
            for (const QByteArray &row : csv.trimmed().split('\n').mid(1)) {
                for (const QByteArray &number : row.split(','))
                    QVERIFY2(significantDigits(number) <= 9, row.constData());
            }
        }));
}

void ResonanceWindowTest::cancelShowsThePointsDone()
{
    ModelParameters p = NominalParameters();
    p.Damping = 4;
    p.StopTime = 100;
    p.TimeStep = p.PrintStep = 0.0005f; // 2 · 10^5 steps a point
    MainWindowFixture fixture(p);
    new AnalysisWindows(fixture.window()); // a child of the main window
    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(fixture.window(), 0); },
        [&](ResonanceWindow &window) {
            // A few points are enough; a loaded machine under the sanitizers is slow.
            QTRY_VERIFY_WITH_TIMEOUT(window.Progress->value() >= 3, 60000);
            QVERIFY(window.Progress->isVisible());
            QTest::mouseClick(window.CancelButton, Qt::LeftButton);
            QVERIFY(!window.Progress->isVisible());
            const QString status = window.StatusLabel->text();
            QVERIFY2(status.startsWith(QStringLiteral("Расчет отменен: рассчитано ")),
                qPrintable(status));
            QVERIFY(status.endsWith(QStringLiteral(" из 200 точек")));
            // The low frequencies are done, the high ones not.
            const QImage image = window.Chart->grab().toImage();
            const QRect plot = plotArea(image);
            QVERIFY(countPixels(image, Sweep, plot.adjusted(0, 0, -plot.width() / 2, 0)) > 0);
            QCOMPARE(countPixels(image, Sweep, plot.adjusted(plot.width() * 5 / 6, 0, 0, 0)), 0);
        }));
}

void ResonanceWindowTest::saysWhyThereIsNoCurve_data()
{
    QTest::addColumn<float>("force");
    QTest::addColumn<QString>("status"); // a part of it
    // The nominal run has no damping.
    QTest::newRow("no driving force") << 0.0f << "При F₀ = 0 движение от частоты не зависит";
    QTest::newRow("no damping") << 12.0f << "точки — нарастающий переходный процесс";
}

void ResonanceWindowTest::saysWhyThereIsNoCurve()
{
    QFETCH(float, force);
    QFETCH(QString, status);
    MainWindowFixture fixture(NominalWith(&ModelParameters::ForceAmplitude, force));
    new AnalysisWindows(fixture.window()); // a child of the main window
    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(fixture.window(), 0); },
        [&](ResonanceWindow &window) {
            QTRY_VERIFY(!window.Progress->isVisible());
            QVERIFY2(window.StatusLabel->text().contains(status),
                qPrintable(window.StatusLabel->text()));
        }));
}

void ResonanceWindowTest::followsTheExploreSliders()
{
    ModelParameters p = NominalParameters();
    p.Damping = 4;
    MainWindowFixture fixture(p);
    TForm2 &main = fixture.window();
    new AnalysisWindows(main); // a child of the main window
    clickSceneMenuEntry(main, 2);
    auto *explore = main.findChild<ExploreWindow *>();
    QVERIFY(explore && QTest::qWaitForWindowExposed(explore));
    // The chart once its sweep is done; null, failing every check made on it,
    // if the sweep never ends.
    const auto chart = [](ResonanceWindow &window) {
        if (!QTest::qWaitFor([&window] { return !window.Progress->isVisible(); }))
            return QImage();
        return window.Chart->grab().toImage();
    };
    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(main, 0); },
        [&](ResonanceWindow &window) {
            QCOMPARE(window.SourceLabel->text(),
                QStringLiteral("Параметры: значения окна «Исследование»"));
            const QImage before = chart(window);
            const int mark = leftmostColumn(before, Current);
            QVERIFY(mark > 0);
            QVERIFY2(window.Chart->accessibleDescription().contains(QStringLiteral("A = ")),
                qPrintable(window.Chart->accessibleDescription()));

            // The drive frequency moves the mark along the same curve.
            QTest::keyClick(explore->Fields[4]->Slider, Qt::Key_PageUp);
            const QImage moved = chart(window);
            QVERIFY(leftmostColumn(moved, Current) > mark + 10);
            for (const double ratio : { 0.5, 2.0 })
                QCOMPARE(topmost(moved, ratio, Sweep), topmost(before, ratio, Sweep));
            const double amplitude = markAmplitude(window);
            QVERIFY(amplitude > 0);

            // More damping lowers the curve where the mark stands.
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(explore->Fields[1]->Slider, Qt::Key_PageUp);
            chart(window);
            QTRY_VERIFY(markAmplitude(window) < amplitude * 0.75);

            // The main window goes on working beside both.
            QTest::mouseClick(main.SpeedButton1, Qt::LeftButton);
            QVERIFY(main.Timer1->isActive());

            // Closed, the explore window hands the curve back to the file.
            QTest::mouseClick(explore->CloseButton, Qt::LeftButton);
            QCOMPARE(window.SourceLabel->text(), QStringLiteral("Параметры: файл параметров"));
            QTRY_COMPARE(topmost(chart(window), 2.0, Sweep), topmost(before, 2.0, Sweep));
        }));
}

QTEST_MAIN(ResonanceWindowTest)
#include "tst_resonancewindow.moc"
