#include "glpanel/logicalpalette.h"
#include "glpanel/openglpanel.h"
#include "glpanel/pixelformat.h"
#include "tests/support/panelfailurecapture.h"

#include <QTest>

Q_DECLARE_METATYPE(TPFDFlagSet)

namespace {

const PIXELFORMATDESCRIPTOR format332 { .cColorBits = 8,
    .cRedBits = 3,
    .cGreenBits = 3,
    .cGreenShift = 3,
    .cBlueBits = 2,
    .cBlueShift = 6 };

} // namespace

class TestPixelFormat : public QObject
{
    Q_OBJECT

private slots:
    void flagRule_data();
    void flagRule();
    void requestToSurfaceAndBack_data();
    void requestToSurfaceAndBack();
    void paletteEntries_data();
    void paletteEntries();
    void paletteEntryCountIsSixteenBits();
};

void TestPixelFormat::flagRule_data()
{
    QTest::addColumn<TPFDFlagSet>("stored");
    QTest::addColumn<TPFDFlagSet>("requested");
    QTest::addColumn<TPFDFlagSet>("expected");

    const TPFDFlagSet gdi { f_PFD_SUPPORT_GDI }, doubleBuffer { f_PFD_DOUBLEBUFFER };
    const TPFDFlagSet both { f_PFD_SUPPORT_GDI, f_PFD_DOUBLEBUFFER };
    QTest::newRow("both, double buffer stored: GDI wins") << doubleBuffer << both << gdi;
    QTest::newRow("both, GDI stored: double buffer wins") << gdi << both << doubleBuffer;
    QTest::newRow("none, double buffer stored") << doubleBuffer << TPFDFlagSet {} << gdi;
    QTest::newRow("none, GDI stored") << gdi << TPFDFlagSet {} << doubleBuffer;
    QTest::newRow("others kept when one is added")
        << gdi << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_STEREO }
        << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_STEREO, f_PFD_DOUBLEBUFFER };
    QTest::newRow("exactly one: stored as given")
        << doubleBuffer << TPFDFlagSet { f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL }
        << TPFDFlagSet { f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL };
}

void TestPixelFormat::flagRule()
{
    QFETCH(TPFDFlagSet, stored);
    QFETCH(TPFDFlagSet, requested);
    QFETCH(TPFDFlagSet, expected);
    QCOMPARE(ApplyPFDFlagsRule(requested, stored).bits(), expected.bits());
}

void TestPixelFormat::requestToSurfaceAndBack_data()
{
    QTest::addColumn<TPFDFlagSet>("flags");
    QTest::addColumn<int>("pixelType");
    QTest::addColumn<int>("colorBits");
    QTest::addColumn<int>("depthBits");
    QTest::addColumn<uint>("dwFlags");
    QTest::addColumn<QList<int>>("redGreenBlueDepth");
    QTest::addColumn<QList<uint>>("describedFlagsBitsRedShift");

    QTest::newRow("GDI instead of double buffer, 16 bits")
        << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_SUPPORT_GDI } << 0 << 16
        << 16 << 0x34u << QList<int> { 5, 6, 5, 16 } << QList<uint> { 0x34, 16, 11 };
    QTest::newRow("colour index, 8 bits need a palette")
        << TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_DOUBLEBUFFER } << 1 << 8 << 0 << 0x5u
        << QList<int> { 3, 3, 2, 0 } << QList<uint> { 0xA5, 8, 5 };
    QTest::newRow("every member: GDI over double buffer, depth beyond 24") << TPFDFlagSet {
        f_PFD_DRAW_TO_WINDOW, f_PFD_DRAW_TO_BITMAP, f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL,
        f_PFD_GENERIC_ACCELERATED, f_PFD_GENERIC_FORMAT, f_PFD_NEED_PALETTE,
        f_PFD_NEED_SYSTEM_PALETTE, f_PFD_DOUBLEBUFFER, f_PFD_STEREO, f_PFD_SWAP_LAYER_BUFFERS
    } << 0 << 32 << 32 << 0x19FEu << QList<int> { 8, 8, 8, 24 } << QList<uint> { 0x36, 24, 16 };
}

// The request built from the properties, the surface format the context is asked for, and
// how the obtained format is described.
void TestPixelFormat::requestToSurfaceAndBack()
{
    QFETCH(TPFDFlagSet, flags);
    QFETCH(int, pixelType);
    QFETCH(int, colorBits);
    QFETCH(int, depthBits);
    QFETCH(uint, dwFlags);

    const PIXELFORMATDESCRIPTOR request = BuildPixelFormatRequest(
        flags, std::uint8_t(pixelType), std::uint8_t(colorBits), std::uint8_t(depthBits));
    const PIXELFORMATDESCRIPTOR expected { .nSize = 40,
        .nVersion = 1,
        .dwFlags = dwFlags,
        .iPixelType = std::uint8_t(pixelType),
        .cColorBits = std::uint8_t(colorBits),
        .cDepthBits = std::uint8_t(depthBits) };
    QCOMPARE(request.dwFlags, dwFlags);
    QVERIFY(request == expected); // every other field 0

    const QSurfaceFormat format = SurfaceFormatFromRequest(request);
    QTEST((QList<int> { format.redBufferSize(), format.greenBufferSize(), format.blueBufferSize(),
              format.depthBufferSize() }),
        "redGreenBlueDepth");
    QCOMPARE(format.alphaBufferSize() + format.stencilBufferSize(), 0);

    const PIXELFORMATDESCRIPTOR described = DescribeSurfaceFormat(format);
    QTEST((QList<uint> { described.dwFlags, described.cColorBits, described.cRedShift }),
        "describedFlagsBitsRedShift");
}

void TestPixelFormat::paletteEntries_data()
{
    QTest::addColumn<int>("blueBits");
    QTest::newRow("3-3-2") << 2;
    QTest::newRow("no blue bits: no division by zero") << 0;
}

void TestPixelFormat::paletteEntries()
{
    QFETCH(int, blueBits);
    PIXELFORMATDESCRIPTOR format = format332;
    format.cBlueBits = std::uint8_t(blueBits);
    const LogicalPalette palette = ComputeLogicalPalette(format);
    QCOMPARE(palette.palVersion, 0x300);
    QCOMPARE(palette.palNumEntries, 256);
    QCOMPARE(palette.palPalEntry.size(), std::size_t(256));

    // 0xFF white, 0x07 pure red, a red field of 3 gives 3 * 255 / 7 = 109.
    const int threeBits[] = { 0, 36, 72, 109, 145, 182, 218, 255 };
    const int twoBits[] = { 0, 85, 170, 255 };
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY &entry = palette.palPalEntry[std::size_t(i)];
        QCOMPARE(int(entry.peRed), threeBits[i & 7]);
        QCOMPARE(int(entry.peGreen), threeBits[(i >> 3) & 7]);
        QCOMPARE(int(entry.peBlue), blueBits ? twoBits[i >> 6] : 0);
    }
}

// The panel keeps the palette it made, and reports one it cannot make.
void TestPixelFormat::paletteEntryCountIsSixteenBits()
{
    PIXELFORMATDESCRIPTOR format = format332;
    format.cColorBits = 4;
    QCOMPARE(ComputeLogicalPalette(format).palNumEntries, 16);
    format.cColorBits = 32;
    QCOMPARE(ComputeLogicalPalette(format).palPalEntry.size(), std::size_t(0));

    PanelFailureCapture capture;
    TOpenGLPanel panel;
    format = format332;
    QVERIFY(panel.ConstructPalette(format));
    QCOMPARE(panel.PaletteHandle()->palNumEntries, 256);
    QVERIFY(capture.reports.isEmpty());
    format.cColorBits = 16; // 2^16 entries do not fit the count
    QVERIFY(!panel.ConstructPalette(format));
    QCOMPARE(capture.reports.size(), 1);
    QCOMPARE(capture.reports[0], QStringLiteral("CreatePalette:0"));
}

QTEST_MAIN(TestPixelFormat)
#include "tst_pixelformat.moc"
