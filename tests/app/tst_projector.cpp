#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "app/analysiswindows.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/scenemenuaccess.h"
#include "widgets/paintbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <map>

// On a projector the program runs at Qt's scale factor 2: every window is
// drawn at twice the size at device pixels, not as a blown-up picture. The
// same test at a factor of 1, in a child process, draws the pictures to
// compare with.

namespace {

// Set for the child: the folder for its pictures.
constexpr char FactorOneFolder[] = "MIRVANE_FACTOR_ONE_PICTURES";

// The scene with every arrow, well into the motion.
QImage scenePicture(TForm2 &form)
{
    for (QCheckBox *option : { form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4 })
        option->setChecked(true);
    for (int step = 0; step < 60; ++step)
        form.BitBtn1->click();
    return form.OpenGLPanel1->GrabFrame();
}

QImage graphsPicture()
{
    whenShown<TForm9>([](TForm9 &) {});
    Form8->show();
    if (!QTest::qWaitForWindowExposed(Form8))
        return {};
    const QImage picture = Form8->PaintBox1->grab().toImage();
    Form8->done(1);
    return picture;
}

std::map<QRgb, int> pixelsByColour(const QImage &image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    return counts;
}

// Of the pixels of colour at factor 1, the share whose 2 × 2 block at factor 2 is all colour.
double scaledShare(const QImage &one, const QImage &two, QRgb colour)
{
    int pixels = 0, scaled = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            if (one.pixel(x, y) != colour)
                continue;
            ++pixels;
            scaled += two.pixel(2 * x, 2 * y) == colour && two.pixel(2 * x + 1, 2 * y) == colour
                && two.pixel(2 * x, 2 * y + 1) == colour
                && two.pixel(2 * x + 1, 2 * y + 1) == colour;
        }
    }
    return pixels ? double(scaled) / pixels : 0;
}

// Red text on grey: the share of its pixels (the reddish ones) in pure red. Its
// smoothed edge is a pixel wide, so a sharp text twice the size has far more of
// its pixels solid; a blown-up one has the same share or, smoothed, none.
double solidShare(const QImage &image, QRect within)
{
    int solid = 0, reddish = 0;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            solid += pixel == QColor(Qt::red);
            reddish += pixel.red() > pixel.green();
        }
    }
    return reddish ? double(solid) / reddish : 0;
}

} // namespace

class FactorOnePictures : public QObject
{
    Q_OBJECT

private slots:
    void write()
    {
        const QDir folder(qEnvironmentVariable(FactorOneFolder));
        MainWindowFixture fixture;
        QVERIFY(scenePicture(fixture.window()).save(folder.filePath("scene.png")));
        QVERIFY(graphsPicture().save(folder.filePath("graphs.png")));
    }
};

class ProjectorTest : public QObject
{
    Q_OBJECT

private slots:
    void picturesAreTheFactorOnePicturesScaled();
    // And each opens wholly on the test's screen, smaller than any window at 2.
    void windowsFitAFullHdScreen();
};

void ProjectorTest::picturesAreTheFactorOnePicturesScaled()
{
    QTemporaryDir folder;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(FactorOneFolder), folder.path());
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitCode(), 0);
    const QImage sceneOne(folder.filePath("scene.png"));
    const QImage graphsOne(folder.filePath("graphs.png"));

    MainWindowFixture fixture;
    const QImage scene = scenePicture(fixture.window());
    const QImage graphs = graphsPicture();
    QCOMPARE(scene.size(), sceneOne.size() * 2);
    QCOMPARE(graphs.size(), graphsOne.size() * 2);

    // Each colour of the scene (plane, mass, spring, arrows, origin and its label) covers
    // four times the pixels: lines and text are scaled as well.
    std::map<QRgb, int> countsTwo = pixelsByColour(scene);
    for (const auto &[colour, one] : pixelsByColour(sceneOne)) {
        if (one >= 50)
            QVERIFY2(std::abs(countsTwo[colour] / 4.0 - one) <= one * 0.05 + 5,
                qPrintable(QString::number(colour, 16)));
    }

    // The grid's lines lie on the pixels of the factor-1 picture doubled, but where curves cross.
    QVERIFY(scaledShare(graphsOne, graphs, qRgb(0, 128, 0)) > 0.9);
    // The scale labels left of the plot.
    const QRect labels(0, 20, 28, graphsOne.height() - 60);
    const double solidOne = solidShare(graphsOne, labels);
    const double solidTwo = solidShare(graphs, QRect(labels.topLeft() * 2, labels.size() * 2));
    QVERIFY2(
        solidTwo > 4 * solidOne, qPrintable(QStringLiteral("%1, %2").arg(solidOne).arg(solidTwo)));
}

void ProjectorTest::windowsFitAFullHdScreen()
{
    MainWindowFixture fixture;
    new AnalysisWindows(fixture.window()); // a child of the main window
    QStringList tooLarge;
    const auto measure = [&tooLarge](QWidget &window) {
        // On the test's smaller screen a window scrolls what it was designed to show.
        const auto *designed = window.findChild<QWidget *>(QStringLiteral("screenFitSurface"));
        const QSize size = (designed ? designed->size() : window.size()) * 2;
        if (size.width() > 1920 || size.height() > 1080)
            tooLarge.append(window.windowTitle());
        if (!window.screen()->availableGeometry().contains(window.frameGeometry()))
            tooLarge.append(window.windowTitle() + QStringLiteral(" off the screen"));
    };
    measure(fixture.window());
    QVERIFY(whileOpen<ResonanceWindow>([&] { clickSceneMenuEntry(fixture.window(), 0); }, measure));
    QVERIFY(whileOpen<EnergyWindow>([&] { clickSceneMenuEntry(fixture.window(), 1); }, measure));
    whenShown<TForm9>(measure);
    for (QDialog *window : std::initializer_list<QDialog *> { Form8, Form5, Form3 }) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        measure(*window);
        window->done(0);
    }
    clickSceneMenuEntry(fixture.window(), 2);
    auto *explore = fixture.window().findChild<ExploreWindow *>();
    QVERIFY(explore && QTest::qWaitForWindowExposed(explore));
    measure(*explore);
    QVERIFY2(tooLarge.isEmpty(), qPrintable(tooLarge.join(QStringLiteral(", "))));
}

int main(int argc, char *argv[])
{
    const bool factorOne = qEnvironmentVariableIsSet(FactorOneFolder);
    if (!factorOne)
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    if (factorOne) {
        FactorOnePictures pictures;
        return QTest::qExec(&pictures, argc, argv);
    }
    ProjectorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_projector.moc"
