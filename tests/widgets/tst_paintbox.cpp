#include "widgets/paintbox.h"

#include <QPainter>
#include <QTest>

// A paint box shows its parent through what it does not draw, unless it
// fills itself with the button face first.
class PaintBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void fillsOnlyWhenTold_data();
    void fillsOnlyWhenTold();
};

void PaintBoxTest::fillsOnlyWhenTold_data()
{
    QTest::addColumn<bool>("fills");
    QTest::newRow("plain") << false;
    QTest::newRow("filled") << true;
}

void PaintBoxTest::fillsOnlyWhenTold()
{
    QFETCH(bool, fills);
    QWidget parent;
    parent.resize(40, 40);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::red);
    palette.setColor(QPalette::Button, Qt::green);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto *box = new TPaintBox(&parent);
    box->setGeometry(10, 10, 20, 20);
    box->SetFillsBackground(fills);
    box->OnPaint
        = [](QPainter &canvas, const ChartColours &) { canvas.fillRect(0, 0, 5, 5, Qt::blue); };

    const QImage picture = parent.grab().toImage();
    QCOMPARE(picture.pixelColor(12, 12), QColor(Qt::blue)); // drawn by OnPaint
    QCOMPARE(picture.pixelColor(25, 25), fills ? QColor(Qt::green) : QColor(Qt::red));
    QCOMPARE(picture.pixelColor(5, 5), QColor(Qt::red)); // the parent's own
}

QTEST_MAIN(PaintBoxTest)
#include "tst_paintbox.moc"
