#include "glpanel/extensionlist.h"
#include "glpanel/openglpanel.h"
#include "panelhost.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/panelfailurecapture.h"

#include <QOpenGLContext>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <climits>
#include <csignal>
#include <stdexcept>
#include <sys/stat.h>

Q_DECLARE_METATYPE(TOpenGLPrintScale)

namespace {

// Left half red, right half blue, the bottom third green across: a mirrored or turned
// picture shows at its corners.
void paintCorners(TOpenGLPanel *panel)
{
    blackPixelCanvas(panel);
    const int w = panel->PixelWidth(), h = panel->PixelHeight();
    glColor3f(1, 0, 0);
    glRecti(0, 0, w / 2, h);
    glColor3f(0, 0, 1);
    glRecti(w / 2, 0, w, h);
    glColor3f(0, 1, 0);
    glRecti(0, 0, w, h / 3);
}

quint32 le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// A BMP file with an info header of 40 bytes; table holds the palette or the colour masks.
QByteArray bmpFile(qint32 width, qint32 height, quint16 bits, quint32 compression,
    const QByteArray &table, const QByteArray &pixels)
{
    QByteArray file(54, '\0');
    file.replace(0, 2, "BM");
    qToLittleEndian<quint32>(54 + table.size() + pixels.size(), file.data() + 2);
    qToLittleEndian<quint32>(54 + table.size(), file.data() + 10);
    qToLittleEndian<quint32>(40, file.data() + 14);
    qToLittleEndian<qint32>(width, file.data() + 18);
    qToLittleEndian<qint32>(height, file.data() + 22);
    qToLittleEndian<quint16>(1, file.data() + 26);
    qToLittleEndian<quint16>(bits, file.data() + 28);
    qToLittleEndian<quint32>(compression, file.data() + 30);
    if (bits <= 8)
        qToLittleEndian<quint32>(table.size() / 4, file.data() + 46); // colours in the palette
    return file + table + pixels;
}

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits); // spaces skipped
}

// Blue, green, red, 0 of entries 0 to 3; the test picture is 3 x 2 with the indices
// 3 0 1 in its bottom row and 2 1 0 above.
const QByteArray palette = hex("1e140a00 3c322800 5a504600 786e6400");
const QByteArray bottomRow24 = hex("786e64 1e140a 3c3228 000000");
const QByteArray topRow24 = hex("5a5046 3c3228 1e140a 000000");
const QByteArray rows8 = hex("03000100 02010000");
const QByteArray runLengths8 = hex("0003 03000100 0000 0102 0101 0100 0001");
const QByteArray runLengths4 = hex("0003 3010 0000 0221 0100 0001");
const QByteArray masks565 = hex("00f80000 e0070000 1f000000");
const QByteArray rows565 = hex("00f8 e007 1f00 0000 ffff 0000 1f00 0000");

std::unique_ptr<BMPTexture> loadBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return nullptr;
    file.close();
    return TOpenGLPanel::LoadBMPTexture(QFile::encodeName(path), false);
}

} // namespace

class TestPanelOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void margins();
    void printRectangle_data();
    void printRectangle();
    void printsOnAPage();
    void printFailures();
    void savesBottomUpBmpAndLoadsItBack();
    void textures();
    void decodesEachKind_data();
    void decodesEachKind();
    void malformedFilesGiveNoTexture_data();
    void malformedFilesGiveNoTexture();
    void extensionWalk();
    void queries();

private:
    PanelHost m_host;
    TOpenGLPanel *m_panel = m_host.panel;
    QTemporaryDir m_dir;
};

void TestPanelOutput::initTestCase()
{
    m_panel->resize(199, 150); // BMP rows of 597 bytes, padded to 600
    m_panel->OnPaint = paintCorners;
    QVERIFY(m_host.show());
    QVERIFY(m_dir.isValid());
}

void TestPanelOutput::margins()
{
    QList<int> margins;
    for (const int dpi : { 72, 96, 300, 600, 1200 })
        margins << PrintMargin(dpi);
    QCOMPARE(margins, (QList<int> { 12, 17, 53, 107, 215 }));
}

void TestPanelOutput::printRectangle_data()
{
    QTest::addColumn<TOpenGLPrintScale>("scale");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pixelsPerInch");
    QTest::addColumn<QRect>("target");

    const QSize a4(4800, 6600);
    const QRect proportional(107, 107, 3331, 2756); // 533 / 96 * 600, 441 / 96 * 600
    QTest::newRow("proportional") << pglProportional << QSize(533, 441) << a4 << 600 << 96
                                  << proportional;
    QTest::newRow("proportional at 0 ppi as at 96")
        << pglProportional << QSize(533, 441) << a4 << 600 << 0 << proportional;
    QTest::newRow("proportional at -1 ppi as at 96")
        << pglProportional << QSize(533, 441) << a4 << 600 << -1 << proportional;
    QTest::newRow("proportional beyond the printer's coordinates")
        << pglProportional << QSize(533, 441) << a4 << INT_MAX << 1 << QRect();
    QTest::newRow("none") << pglNone << QSize(533, 441) << a4 << 600 << 96
                          << QRect(107, 107, 533, 441);
    // 96 dpi: margins 17. Fitting leaves the margin out of right and bottom.
    QTest::newRow("fit, height limits: 566 div 100")
        << pglPrintToFit << QSize(200, 100) << QSize(1000, 600) << 96 << 96
        << QRect(17, 17, 1000 - 17, 566 - 17);
    QTest::newRow("fit, width limits: 566 div 200")
        << pglPrintToFit << QSize(200, 100) << QSize(600, 1000) << 96 << 96
        << QRect(17, 17, 566 - 17, 200 - 17);
    QTest::newRow("fit, factor 1.9 prints at 1")
        << pglPrintToFit << QSize(100, 100) << QSize(1000, 224) << 96 << 96
        << QRect(17, 17, 100 - 17, 190 - 17);
    QTest::newRow("fit, larger than the page: factor 0")
        << pglPrintToFit << QSize(2000, 100) << QSize(1000, 1200) << 96 << 96 << QRect();
    QTest::newRow("fit, no width") << pglPrintToFit << QSize(0, 100) << a4 << 96 << 96 << QRect();
}

void TestPanelOutput::printRectangle()
{
    QFETCH(TOpenGLPrintScale, scale);
    QFETCH(QSize, picture);
    QFETCH(QSize, page);
    QFETCH(int, dpi);
    QFETCH(int, pixelsPerInch);
    QTEST(PrintRectangle(scale, picture, page, dpi, dpi, pixelsPerInch), "target");
}

// A 600-dpi image stands in for the printer page; then one PDF.
void TestPanelOutput::printsOnAPage()
{
    QImage page(1600, 1300, QImage::Format_RGB32);
    page.setDotsPerMeterX(23622); // 600 dpi
    page.setDotsPerMeterY(23622);
    page.fill(Qt::white);
    m_panel->SetOpenGLPixelsPerInch(0);
    m_panel->PrintOpenGLPanel(page);
    QCOMPARE(m_panel->PixelsPerInch(), 96);

    const QRect target(107, 107, 199 * 600 / 96, 150 * 600 / 96); // 1243 x 937
    const auto at = [&page](QPoint point) { return QColor(page.pixel(point)).name(); };
    QCOMPARE(QStringList({ at(target.topLeft()), at(target.topRight()), at(target.bottomLeft()),
                 at(target.topLeft() - QPoint(1, 1)), at(target.bottomRight() + QPoint(1, 1)) }),
        QStringList({ "#ff0000", "#0000ff", "#00ff00", "#ffffff", "#ffffff" }));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath("panel.pdf"));
    m_panel->PrintOpenGLPanel(printer);
    QFile pdf(printer.outputFileName());
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.read(4), QByteArray("%PDF"));
}

void TestPanelOutput::printFailures()
{
    PanelFailureCapture capture;
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    TOpenGLPanel windowless;
    windowless.SetOpenGLPixelsPerInch(0);
    windowless.PrintOpenGLPanel(page);
    QCOMPARE(windowless.PixelsPerInch(), 96);
    QCOMPARE(capture.reports.size(), 1);
    QCOMPARE(capture.reports[0], QStringLiteral("Print: Malloc Error"));
    QCOMPARE(page.pixelColor(50, 50), QColor(Qt::white));
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error, windowless.SaveOpenGLPanelToFile(m_dir.filePath("windowless.bmp")));
    QVERIFY(!QFile::exists(m_dir.filePath("windowless.bmp")));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath("no/such/folder/panel.pdf"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_panel->PrintOpenGLPanel(printer));
    QCOMPARE(capture.reports.size(), 1);
}

void TestPanelOutput::savesBottomUpBmpAndLoadsItBack()
{
    const QString path = m_dir.filePath("panel.bmp");
    QFile::remove(path);
    QFile(path).open(QIODevice::WriteOnly); // an existing file is replaced
    m_panel->SaveOpenGLPanelToFile(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();

    // Size, pixel offset, info header size, width, height (positive: bottom up), 24 bits.
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(QList<quint32>({ le32(bmp, 2), le32(bmp, 10), le32(bmp, 14), le32(bmp, 18),
                 le32(bmp, 22), qFromLittleEndian<quint16>(bmp.constData() + 28) }),
        QList<quint32>({ 54 + 600 * 150, 54, 40, 199, 150, 24 }));
    QCOMPARE(bmp.size(), 54 + 600 * 150);
    QCOMPARE(bmp.mid(54, 3), QByteArray("\x00\xff\x00", 3)); // bottom left: green, as BGR
    QCOMPARE(bmp.mid(54 + 600 * 149, 3), QByteArray("\x00\x00\xff", 3)); // top left: red

    // The texture holds the picture bottom row first, without row padding.
    const QImage picture = m_panel->TakePicture().convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<BMPTexture> texture
        = TOpenGLPanel::LoadBMPTexture(QFile::encodeName(path), false);
    QVERIFY(texture);
    QCOMPARE(QList<qint64>({ texture->Components, texture->Width, texture->Height, texture->Format,
                 texture->DataType }),
        QList<qint64>({ 3, 199, 150, GL_RGB, GL_UNSIGNED_BYTE }));
    QByteArray expected;
    for (int row = picture.height() - 1; row >= 0; --row)
        expected.append(reinterpret_cast<const char *>(picture.constScanLine(row)), 199 * 3);
    QVERIFY(QByteArrayView(texture->Pixels.data(), qsizetype(texture->Pixels.size())) == expected);

    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error, m_panel->SaveOpenGLPanelToFile(m_dir.filePath("no/such/x.bmp")));
    // The program ignores SIGXFSZ from its start; this test stands in for it.
    std::signal(SIGXFSZ, SIG_IGN);
    {
        const FileSizeLimit fullDisk(1000);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_panel->SaveOpenGLPanelToFile(path));
    }
    QFile kept(path); // the old file stays whole
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bmp);
}

void TestPanelOutput::textures()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(1, 0, qRgb(4, 5, 6));
    image.setPixel(0, 1, qRgb(10, 20, 30)); // bottom left
    image.setPixel(1, 1, qRgb(40, 50, 60));
    const QString path = m_dir.filePath("тест.bmp"); // 8-bit names are file names
    QVERIFY(image.save(path, "BMP"));
    const auto texture = TOpenGLPanel::LoadBMPTexture(QFile::encodeName(path), true);
    QVERIFY(texture);
    QCOMPARE(QList<qint32>({ texture->Components, texture->Width, texture->Height }),
        QList<qint32>({ 4, 2, 2 }));
    QCOMPARE(texture->Format, GLenum(GL_RGBA));
    QCOMPARE(QList<int>(texture->Pixels.begin(), texture->Pixels.end()),
        QList<int>({ 10, 20, 30, 255, 40, 50, 60, 255, 1, 2, 3, 255, 4, 5, 6, 255 }));

    const QString png = m_dir.filePath("picture.bmp");
    QVERIFY(image.save(png, "PNG"));
    const QString pipe = m_dir.filePath("pipe.bmp"); // opening it would wait for a writer
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &file : { m_dir.filePath("missing.bmp"), png, pipe })
        QVERIFY2(!TOpenGLPanel::LoadBMPTexture(QFile::encodeName(file), false), qPrintable(file));
}

// The test picture in each kind of file; a top-down file gives the bottom-up file's texture.
void TestPanelOutput::decodesEachKind_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("texture");
    const QByteArray picture = hex("646e78 0a141e 28323c 46505a 28323c 0a141e");
    QTest::newRow("24 bits") << bmpFile(3, 2, 24, 0, {}, bottomRow24 + topRow24) << picture;
    QTest::newRow("24 bits, top down")
        << bmpFile(3, -2, 24, 0, {}, topRow24 + bottomRow24) << picture;
    QTest::newRow("8 bits") << bmpFile(3, 2, 8, 0, palette, rows8) << picture;
    QTest::newRow("4 bits") << bmpFile(3, 2, 4, 0, palette, hex("30100000 21000000")) << picture;
    QTest::newRow("run-length, 8 bits") << bmpFile(3, 2, 8, 1, palette, runLengths8) << picture;
    QTest::newRow("run-length, 4 bits") << bmpFile(3, 2, 4, 2, palette, runLengths4) << picture;
    QTest::newRow("16 bits, masks 5-6-5") << bmpFile(3, 2, 16, 3, masks565, rows565)
                                          << hex("ff0000 00ff00 0000ff ffffff 000000 0000ff");
}

void TestPanelOutput::decodesEachKind()
{
    QFETCH(QByteArray, bytes);
    const auto texture = loadBytes(m_dir.filePath("good.bmp"), bytes);
    QVERIFY(texture);
    QCOMPARE(QList<qint32>({ texture->Width, texture->Height }), QList<qint32>({ 3, 2 }));
    QTEST(QByteArray(reinterpret_cast<const char *>(texture->Pixels.data()),
              qsizetype(texture->Pixels.size())),
        "texture");
}

// Each file leaves a pixel of its picture to chance; it gives no texture.
void TestPanelOutput::malformedFilesGiveNoTexture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const auto rle8 = [](const char *digits) { return bmpFile(3, 2, 8, 1, palette, hex(digits)); };
    const auto rle4 = [](const char *digits) { return bmpFile(3, 2, 4, 2, palette, hex(digits)); };
    const QByteArray twoColours = palette.left(8);

    const QByteArray whole = bmpFile(3, 2, 24, 0, {}, bottomRow24 + topRow24);
    QByteArray offsetPastTheEnd = whole;
    qToLittleEndian<quint32>(1000, offsetPastTheEnd.data() + 10);
    QTest::newRow("pixels past the end") << offsetPastTheEnd;
    QTest::newRow("last row without its padding") << whole.chopped(2);
    QTest::newRow("8 bits, index past the palette") << bmpFile(3, 2, 8, 0, twoColours, rows8);
    QTest::newRow("colour masks cut short") << bmpFile(3, 2, 16, 3, masks565.left(8), rows565);
    QTest::newRow("empty colour mask")
        << bmpFile(3, 2, 16, 3, hex("00f80000 00000000 1f000000"), rows565);

    QTest::newRow("run-length, index past the palette")
        << bmpFile(3, 2, 8, 1, twoColours, runLengths8);
    QTest::newRow("run-length, top down") << bmpFile(3, -2, 8, 1, palette, runLengths8);
    QTest::newRow("run-length, no end code") << rle8("0003 03000100 0000 0102 0101 0100");
    QTest::newRow("run-length, cut in an absolute block") << rle8("0003 0300");
    QTest::newRow("run-length, end code before the last row") << rle8("0003 03000100 0000 0001");
    QTest::newRow("run-length, row ended early") << rle8("0203 0000 0102 0101 0100 0001");
    QTest::newRow("run-length, run longer than the row")
        << rle8("0003 03000100 0000 0102 0101 0200 0001");
    QTest::newRow("run-length, absolute block longer than the row")
        << rle8("0003 03000100 0000 0004 02010000 0001");
    QTest::newRow("run-length, jump past the picture") << rle8("0003 03000100 0002 0005 0001");
    QTest::newRow("run-length, rows past the picture")
        << rle8("0003 03000100 0000 0102 0101 0100 0000 0101 0001");
    QTest::newRow("run-length 4, run longer than the row") << rle4("0003 3010 0000 0421 0001");
    QTest::newRow("run-length 4, cut in an absolute block") << rle4("0003 30");
}

void TestPanelOutput::malformedFilesGiveNoTexture()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!loadBytes(m_dir.filePath("malformed.bmp"), bytes));
}

// Whole names only: the first and the last match; a prefix, a longer name, another case,
// two names and the empty run between two spaces do not.
void TestPanelOutput::extensionWalk()
{
    const char *list = "GL_ARB_one GL_EXT_two  GL_last";
    QList<bool> found;
    for (const char *name : { "GL_ARB_one", "GL_last", "GL_EXT_tw", "GL_EXT_twoo", "gl_last",
             "GL_EXT_two GL_last", "" })
        found << ExtensionListContains(list, name);
    QCOMPARE(found, (QList<bool> { true, true, false, false, false, false, false }));
    QVERIFY(!ExtensionListContains(nullptr, "GL_last"));
}

// The extension query needs a current context; the display's depth cannot change.
void TestPanelOutput::queries()
{
    m_panel->MakeOpenGLPanelCurrent();
    const QByteArray all(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)));
    const QByteArray last = all.trimmed().split(' ').last();
    QVERIFY(TOpenGLPanel::QueryOpenGLExtention(last));
    m_panel->MakeOpenGLPanelNotCurrent();
    QVERIFY(!TOpenGLPanel::QueryOpenGLExtention(last));

    QCOMPARE(m_panel->GetDisplayBPP(), 24);
    QVERIFY(!m_panel->SetDisplayBPP(16));
    QVERIFY(m_panel->SetDisplayBPP(24));
    QCOMPARE(m_panel->GetDisplayBPP(), 24);
}

QTEST_MAIN(TestPanelOutput)
#include "tst_paneloutput.moc"
