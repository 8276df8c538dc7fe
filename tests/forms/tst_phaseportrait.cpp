#include "tests/support/mainwindowfixture.h"
#include "tests/support/pixels.h"
#include "widgets/paintbox.h"

#include <QPainter>
#include <QPushButton>

namespace {

constexpr int W = 569;
constexpr int H = 385;
const QColor Face(200, 200, 200);

QImage portrait(const QList<float> &coordinate, const QList<float> &velocity, std::size_t count,
    SeriesRange coordinateRange, SeriesRange velocityRange)
{
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Face);
    QPainter canvas(&image);
    DrawPhasePortrait(canvas, H, W, coordinate, velocity, count, coordinateRange, velocityRange,
        ChartColours::Screen().Portrait);
    return image;
}

} // namespace

class PhasePortraitTest : public QObject
{
    Q_OBJECT

private slots:
    void extremesLieOnTheEdges();
    void nothingToDraw_data();
    void nothingToDraw();
    void windowDrawsTheComputedMotion();
    void windowDrawsNoLineForOneSample();
};

void PhasePortraitTest::extremesLieOnTheEdges()
{
    // Coordinate max, coordinate min, velocity max, velocity min, in turn.
    const QImage image
        = portrait({ 0, 1, -1, 0.5f, 0, 0 }, { 0, 0.5f, -0.5f, 2, -3, 0 }, 5, { 1, -1 }, { 2, -3 });
    QVERIFY(ColourNear(image, W - 1, 115, Qt::black)); // column W, beyond the last one
    QVERIFY(ColourNear(image, 0, 192, Qt::black));
    QVERIFY(ColourNear(image, 426, 0, Qt::black));
    QVERIFY(ColourNear(image, 284, H - 1, Qt::black));
    // The sixth sample lies beyond the count: no line back to the origin.
    QVERIFY(!ColourNear(image, 284, 231, Qt::black, 2));
}

void PhasePortraitTest::nothingToDraw_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("coordinateMax");
    QTest::addColumn<float>("velocityMax");

    QTest::newRow("one sample") << 1 << 1.0f << 1.0f;
    QTest::newRow("coordinate stays 0") << 3 << 0.0f << 1.0f;
    QTest::newRow("velocity stays 0") << 3 << 1.0f << 0.0f;
    QTest::newRow("overflowed range") << 3 << std::numeric_limits<float>::infinity() << 1.0f;
}

void PhasePortraitTest::nothingToDraw()
{
    QFETCH(int, count);
    QFETCH(float, coordinateMax);
    QFETCH(float, velocityMax);
    QImage blank(W, H, QImage::Format_RGB32);
    blank.fill(Face);
    QCOMPARE(portrait({ 0, coordinateMax, 0 }, { 0, velocityMax, 0 }, count, { coordinateMax, 0 },
                 { velocityMax, 0 }),
        blank);
}

void PhasePortraitTest::windowDrawsTheComputedMotion()
{
    MainWindowFixture fixture;
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    QCOMPARE(Form5->PaintBox1->geometry().size(), QSize(W, H));
    const QImage image = Form5->PaintBox1->grab().toImage();
    QVERIFY(ColourNear(image, W / 2, H / 2, Qt::black, 8)); // the spiral starts at rest
    QTest::keyClick(Form5->Button3, Qt::Key_Escape);
    QVERIFY(Form5->isVisible());
    QTest::mouseClick(Form5->Button3, Qt::LeftButton);
    QVERIFY(!Form5->isVisible());
    QCOMPARE(Form5->result(), 1);
}

void PhasePortraitTest::windowDrawsNoLineForOneSample()
{
    // Stop time 1.5 print steps: samples 0 and 1 computed, only sample 0 drawn.
    MainWindowFixture fixture(NominalWithTimes(0.01f, 0.01f, 0.015f));
    QCOMPARE(Form2->Motion.LastSampleIndex, 1.0f);
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    const QImage image = Form5->PaintBox1->grab().toImage();
    QCOMPARE(countPixels(image, QColor(Qt::black).rgb(), image.rect()), 0);
    Form5->hide();
}

QTEST_MAIN(PhasePortraitTest)
#include "tst_phaseportrait.moc"
