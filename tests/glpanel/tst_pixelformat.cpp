#include "pixelformat.h"

#include <QTest>

Q_DECLARE_METATYPE(TPFDFlagSet)

class TestPixelFormat : public QObject
{
    Q_OBJECT

private slots:
    void flagRule_data();
    void flagRule();
    void request_data();
    void request();
    void surfaceFormat_data();
    void surfaceFormat();
    void describe_data();
    void describe();
};

void TestPixelFormat::flagRule_data()
{
    QTest::addColumn<TPFDFlagSet>("stored");
    QTest::addColumn<TPFDFlagSet>("requested");
    QTest::addColumn<TPFDFlagSet>("expected");

    const TPFDFlagSet both { f_PFD_SUPPORT_GDI, f_PFD_DOUBLEBUFFER };
    QTest::newRow("both, double buffer stored: GDI wins")
        << TPFDFlagSet { f_PFD_DOUBLEBUFFER } << both << TPFDFlagSet { f_PFD_SUPPORT_GDI };
    QTest::newRow("both, GDI stored: double buffer wins")
        << TPFDFlagSet { f_PFD_SUPPORT_GDI } << both << TPFDFlagSet { f_PFD_DOUBLEBUFFER };
    QTest::newRow("none, double buffer stored")
        << TPFDFlagSet { f_PFD_DOUBLEBUFFER } << TPFDFlagSet {}
        << TPFDFlagSet { f_PFD_SUPPORT_GDI };
    QTest::newRow("none, GDI stored") << TPFDFlagSet { f_PFD_SUPPORT_GDI } << TPFDFlagSet {}
                                      << TPFDFlagSet { f_PFD_DOUBLEBUFFER };
    QTest::newRow("others kept when one is added")
        << TPFDFlagSet { f_PFD_SUPPORT_GDI } << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_STEREO }
        << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_STEREO, f_PFD_DOUBLEBUFFER };
    QTest::newRow("exactly one: stored as given")
        << TPFDFlagSet { f_PFD_DOUBLEBUFFER }
        << TPFDFlagSet { f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL }
        << TPFDFlagSet { f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL };
}

void TestPixelFormat::flagRule()
{
    QFETCH(TPFDFlagSet, stored);
    QFETCH(TPFDFlagSet, requested);
    QFETCH(TPFDFlagSet, expected);
    QCOMPARE(ApplyPFDFlagsRule(requested, stored).bits(), expected.bits());
}

void TestPixelFormat::request_data()
{
    QTest::addColumn<TPFDFlagSet>("flags");
    QTest::addColumn<int>("pixelType");
    QTest::addColumn<int>("colorBits");
    QTest::addColumn<int>("depthBits");
    QTest::addColumn<uint>("dwFlags");

    QTest::newRow("initial properties")
        << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER } << 0 << 32
        << 32 << 0x25u;
    QTest::newRow("GDI instead of double buffer")
        << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_SUPPORT_GDI } << 0 << 24
        << 16 << 0x34u;
    QTest::newRow("colour index") << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_DOUBLEBUFFER } << 1
                                  << 8 << 0 << 0x5u;
    QTest::newRow("every member") << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_DRAW_TO_BITMAP,
        f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL, f_PFD_GENERIC_ACCELERATED, f_PFD_GENERIC_FORMAT,
        f_PFD_NEED_PALETTE, f_PFD_NEED_SYSTEM_PALETTE, f_PFD_DOUBLEBUFFER, f_PFD_STEREO,
        f_PFD_SWAP_LAYER_BUFFERS } << 0
                                  << 32 << 32 << 0x19FEu;
}

void TestPixelFormat::request()
{
    QFETCH(TPFDFlagSet, flags);
    QFETCH(int, pixelType);
    QFETCH(int, colorBits);
    QFETCH(int, depthBits);
    QFETCH(uint, dwFlags);

    const PIXELFORMATDESCRIPTOR request = BuildPixelFormatRequest(
        flags, std::uint8_t(pixelType), std::uint8_t(colorBits), std::uint8_t(depthBits));
    PIXELFORMATDESCRIPTOR expected;
    expected.nSize = 40;
    expected.nVersion = 1;
    expected.dwFlags = dwFlags;
    expected.iPixelType = std::uint8_t(pixelType);
    expected.cColorBits = std::uint8_t(colorBits);
    expected.cDepthBits = std::uint8_t(depthBits);
    QCOMPARE(request.dwFlags, expected.dwFlags);
    QVERIFY(request == expected); // every other field 0
}

void TestPixelFormat::surfaceFormat_data()
{
    QTest::addColumn<uint>("dwFlags");
    QTest::addColumn<int>("colorBits");
    QTest::addColumn<int>("depthBits");
    QTest::addColumn<bool>("doubleBuffer");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("depth");

    QTest::newRow("initial") << 0x25u << 32 << 32 << true << 8 << 8 << 8 << 24;
    QTest::newRow("single buffer, 16 bits") << 0x34u << 16 << 16 << false << 5 << 6 << 5 << 16;
    QTest::newRow("8 bits, no depth") << 0x25u << 8 << 0 << true << 3 << 3 << 2 << 0;
}

void TestPixelFormat::surfaceFormat()
{
    QFETCH(uint, dwFlags);
    QFETCH(int, colorBits);
    QFETCH(int, depthBits);

    PIXELFORMATDESCRIPTOR request;
    request.dwFlags = dwFlags;
    request.cColorBits = std::uint8_t(colorBits);
    request.cDepthBits = std::uint8_t(depthBits);
    const QSurfaceFormat format = SurfaceFormatFromRequest(request);

    QTEST(format.swapBehavior() == QSurfaceFormat::DoubleBuffer, "doubleBuffer");
    QTEST(format.redBufferSize(), "red");
    QTEST(format.greenBufferSize(), "green");
    QTEST(format.blueBufferSize(), "blue");
    QTEST(format.depthBufferSize(), "depth");
    QCOMPARE(format.alphaBufferSize(), 0);
    QCOMPARE(format.stencilBufferSize(), 0);
    QCOMPARE(format.profile(), QSurfaceFormat::CompatibilityProfile);
}

void TestPixelFormat::describe_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<bool>("doubleBuffer");
    QTest::addColumn<uint>("dwFlags");
    QTest::addColumn<int>("colorBits");
    QTest::addColumn<int>("redShift");

    QTest::newRow("true colour") << 8 << 8 << 8 << true << 0x25u << 24 << 16;
    QTest::newRow("3-3-2 needs a palette") << 3 << 3 << 2 << true << 0xA5u << 8 << 5;
    QTest::newRow("single buffer") << 5 << 6 << 5 << false << 0x34u << 16 << 11;
}

void TestPixelFormat::describe()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(bool, doubleBuffer);

    QSurfaceFormat format;
    format.setRedBufferSize(red);
    format.setGreenBufferSize(green);
    format.setBlueBufferSize(blue);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(
        doubleBuffer ? QSurfaceFormat::DoubleBuffer : QSurfaceFormat::SingleBuffer);
    const PIXELFORMATDESCRIPTOR described = DescribeSurfaceFormat(format);

    QCOMPARE(described.nSize, 40);
    QTEST(uint(described.dwFlags), "dwFlags");
    QTEST(int(described.cColorBits), "colorBits");
    QTEST(int(described.cRedShift), "redShift");
    QCOMPARE(int(described.cGreenShift), blue);
    QCOMPARE(int(described.cDepthBits), 24);
}

QTEST_GUILESS_MAIN(TestPixelFormat)
#include "tst_pixelformat.moc"
