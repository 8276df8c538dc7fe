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
    void entries332_data();
    void entries332();
    void everyEntryOf332();
    void zeroBitChannel();
    void entryCountIsSixteenBits();
};

void TestLogicalPalette::entries332_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");

    QTest::newRow("0x00 black") << 0x00 << 0 << 0 << 0;
    QTest::newRow("0xFF white") << 0xFF << 255 << 255 << 255;
    QTest::newRow("0x07 pure red") << 0x07 << 255 << 0 << 0;
    QTest::newRow("0x03 red field 3") << 0x03 << 109 << 0 << 0;
    QTest::newRow("0x38 pure green") << 0x38 << 0 << 255 << 0;
    QTest::newRow("0x40 blue field 1") << 0x40 << 0 << 0 << 85;
    QTest::newRow("0x95 mixed") << 0x95 << 182 << 72 << 170;
}

void TestLogicalPalette::entries332()
{
    QFETCH(int, index);
    const LogicalPalette palette = ComputeLogicalPalette(format332());
    const PALETTEENTRY &entry = palette.palPalEntry.at(std::size_t(index));
    QTEST(int(entry.peRed), "red");
    QTEST(int(entry.peGreen), "green");
    QTEST(int(entry.peBlue), "blue");
    QCOMPARE(int(entry.peFlags), 0);
}

void TestLogicalPalette::everyEntryOf332()
{
    const LogicalPalette palette = ComputeLogicalPalette(format332());
    QCOMPARE(palette.palVersion, 0x300);
    QCOMPARE(palette.palNumEntries, 256);
    QCOMPARE(palette.palPalEntry.size(), std::size_t(256));

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
