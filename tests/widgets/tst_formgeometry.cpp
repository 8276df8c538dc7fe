#include "widgets/formgeometry.h"

#include <QTest>

class FormGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void positionBeside_data();
    void positionBeside();
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

QTEST_GUILESS_MAIN(FormGeometryTest)
#include "tst_formgeometry.moc"
