#include "logicalpalette.h"

#include <QTest>

namespace {

PIXELFORMATDESCRIPTOR format332()
{
    PIXELFORMATDESCRIPTOR format;
    format.cColorBits = 8;
    format.cRedBits = 3;
    format.cRedShift = 0;
    format.cGreenBits = 3;
    format.cGreenShift = 3;
    format.cBlueBits = 2;
    format.cBlueShift = 6;
    return format;
}

} // namespace

class TestLogicalPalette : public QObject
{
    Q_OBJECT

private slots:
    void everyEntryOf332();
    void zeroBitChannel();
    void entryCountIsSixteenBits();
};

void TestLogicalPalette::everyEntryOf332()
{
    const LogicalPalette palette = ComputeLogicalPalette(format332());
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
        QCOMPARE(int(entry.peBlue), twoBits[i >> 6]);
    }
}

void TestLogicalPalette::zeroBitChannel()
{
    PIXELFORMATDESCRIPTOR format = format332();
    format.cBlueBits = 0;
    const LogicalPalette palette = ComputeLogicalPalette(format);
    QCOMPARE(palette.palNumEntries, 256);
    for (const PALETTEENTRY &entry : palette.palPalEntry)
        QCOMPARE(int(entry.peBlue), 0);
    QCOMPARE(int(palette.palPalEntry[0x3F].peRed), 255);
}

void TestLogicalPalette::entryCountIsSixteenBits()
{
    PIXELFORMATDESCRIPTOR format = format332();
    format.cColorBits = 4;
    QCOMPARE(ComputeLogicalPalette(format).palNumEntries, 16);
    format.cColorBits = 16; // 2^16 does not fit the count
    QCOMPARE(ComputeLogicalPalette(format).palNumEntries, 0);
    format.cColorBits = 32;
    QCOMPARE(ComputeLogicalPalette(format).palPalEntry.size(), std::size_t(0));
}

QTEST_GUILESS_MAIN(TestLogicalPalette)
#include "tst_logicalpalette.moc"
