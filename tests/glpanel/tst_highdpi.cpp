#include "glpanel/openglpanel.h"
#include "panelhost.h"

#include <QApplication>
#include <QTest>

// The panel on a screen scaled by 2: callers get device pixels for the viewport, and the
// panel's picture has them all.
class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void viewportAndFrameInDevicePixels();
};

void TestHighDpi::viewportAndFrameInDevicePixels()
{
    PanelHost host;
    QSize resized;
    host.panel->OnResize = [&](TOpenGLPanel *sender) { resized = sender->PixelSize(); };
    host.panel->OnPaint = [](TOpenGLPanel *sender) {
        blackPixelCanvas(sender);
        glRecti(sender->PixelWidth() / 2, 0, sender->PixelWidth(), sender->PixelHeight());
    };
    QVERIFY(host.show());
    QCOMPARE(host.panel->PanelWindow()->devicePixelRatio(), 2.0);
    QTRY_COMPARE(resized, QSize(400, 300));

    const QImage frame = host.panel->GrabFrame();
    QCOMPARE(frame.size(), QSize(400, 300));
    QCOMPARE(frame.pixelColor(199, 150), QColor(Qt::black));
    QCOMPARE(frame.pixelColor(201, 150), QColor(Qt::white));
    QCOMPARE(frame.pixelColor(399, 299), QColor(Qt::white));

    const QImage picture = host.panel->TakePicture(); // what is printed and saved
    QCOMPARE(picture.size(), QSize(400, 300));
    QCOMPARE(picture.pixelColor(199, 150), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(201, 150), QColor(Qt::white));
}

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
