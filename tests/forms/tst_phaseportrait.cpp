#include "mainwindowfixture.h"
#include "paintbox.h"
#include "pixels.h"

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
    DrawPhasePortrait(canvas, H, W, coordinate, velocity, count, coordinateRange, velocityRange);
    return image;
}

bool blank(const QImage &image)
{
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (image.pixelColor(x, y) != Face)
                return false;
    return true;
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
};

void PhasePortraitTest::extremesLieOnTheEdges()
{
    // Coordinate max, coordinate min, velocity max, velocity min, in turn.
    const QImage image
        = portrait({ 0, 1, -1, 0.5f, 0, 0 }, { 0, 0.5f, -0.5f, 2, -3, 0 }, 5, { 1, -1 }, { 2, -3 });
    const QColor black(Qt::black);
    QVERIFY(ColourNear(image, W - 1, 115, black)); // column W, beyond the last one
    QVERIFY(ColourNear(image, 0, 192, black));
    QVERIFY(ColourNear(image, 426, 0, black));
    QVERIFY(ColourNear(image, 284, H - 1, black));
    // The sixth sample lies beyond the count: no line back to the origin.
    QVERIFY(!ColourNear(image, 284, 231, black, 2));
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
    QVERIFY(blank(portrait({ 0, coordinateMax, 0 }, { 0, velocityMax, 0 }, count,
        { coordinateMax, 0 }, { velocityMax, 0 })));
}

void PhasePortraitTest::windowDrawsTheComputedMotion()
{
    MainWindowFixture fixture;
    Form5->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));
    QCOMPARE(Form5->size(), QSize(621, 473));
    QCOMPARE(Form5->PaintBox1->size(), QSize(W, H));
    QCOMPARE(Form5->PaintBox1->mapTo(Form5, QPoint(0, 0)), QPoint(24, 24));
    const QImage image = Form5->PaintBox1->grab().toImage();
    // The motion starts at rest in the middle of both ranges' zeros.
    const auto &ranges = Form2->Motion.SeriesRanges;
    const int x0 = int(-ranges[MotionModel::Coordinate].min * W
        / (ranges[MotionModel::Coordinate].max - ranges[MotionModel::Coordinate].min));
    const int y0 = int(H
        + ranges[MotionModel::Velocity].min * H
            / (ranges[MotionModel::Velocity].max - ranges[MotionModel::Velocity].min));
    QVERIFY(ColourNear(image, x0, y0, Qt::black));
    QTest::mouseClick(Form5->Button3, Qt::LeftButton);
    QVERIFY(!Form5->isVisible());
    QCOMPARE(Form5->result(), 1);
}

QTEST_MAIN(PhasePortraitTest)
#include "tst_phaseportrait.moc"
