#include "widgets/formgeometry.h"
#include "widgets/screenfit.h"

#include <QTest>

class FormGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void positionBeside_data();
    void positionBeside();
    void fittedFrame_data();
    void fittedFrame();
};

void FormGeometryTest::positionBeside_data()
{
    QTest::addColumn<QRect>("neighbour");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<std::optional<QPoint>>("expected");

    // The main window (807 × 467 at its designed place) and the explore window (1030 × 756).
    const QRect mainWindow(60, 113, 807, 467);
    QTest::newRow("right of it") << mainWindow << QRect(0, 0, 1920, 1040)
                                 << std::optional(QPoint(867, 113));
    QTest::newRow("no room either side")
        << mainWindow << QRect(0, 0, 1280, 1024) << std::optional<QPoint>();
    QTest::newRow("left of it, when the right has no room") << mainWindow.translated(
        1040, 0) << QRect(0, 0, 1920, 1040) << std::optional(QPoint(70, 113));
    QTest::newRow("raised to keep the bottom on the screen") << mainWindow.translated(
        0, 400) << QRect(0, 0, 1920, 1040) << std::optional(QPoint(867, 284));
    QTest::newRow("a screen right of the primary") << mainWindow.translated(
        1920, 0) << QRect(1920, 0, 1920, 1080) << std::optional(QPoint(2787, 113));
}

void FormGeometryTest::positionBeside()
{
    QFETCH(QRect, neighbour);
    QFETCH(QRect, available);
    QFETCH(std::optional<QPoint>, expected);
    QCOMPARE(PositionBeside(neighbour, QSize(1030, 756), available), expected);
}

void FormGeometryTest::fittedFrame_data()
{
    QTest::addColumn<QRect>("designed");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");

    // The main window's frame at its designed place, on 1920 × 1080 and
    // 1366 × 768 at factors 1, 1.5 and 2, a task bar of 40 pixels below.
    const QRect mainWindow(60, 113, 807, 467 + 20);
    QTest::newRow("1920 at 1: where designed")
        << mainWindow << QRect(0, 0, 1920, 1040) << mainWindow;
    QTest::newRow("1920 at 1.5: where designed")
        << mainWindow << QRect(0, 0, 1280, 693) << mainWindow;
    QTest::newRow("1920 at 2: moved up")
        << mainWindow << QRect(0, 0, 960, 520) << QRect(60, 33, 807, 487);
    QTest::newRow("1366 at 1: where designed")
        << mainWindow << QRect(0, 0, 1366, 728) << mainWindow;
    QTest::newRow("1366 at 1.5: moved up")
        << mainWindow << QRect(0, 0, 910, 485) << QRect(60, 0, 807, 485);
    QTest::newRow("1366 at 2: cut to the screen")
        << mainWindow << QRect(0, 0, 683, 364) << QRect(0, 0, 683, 364);
    QTest::newRow("a screen left of the primary")
        << mainWindow << QRect(-1366, 0, 1366, 728) << QRect(-807, 113, 807, 487);
}

void FormGeometryTest::fittedFrame()
{
    QFETCH(QRect, designed);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    QCOMPARE(FittedFrame(designed, available), expected);
}

QTEST_GUILESS_MAIN(FormGeometryTest)
#include "tst_formgeometry.moc"
