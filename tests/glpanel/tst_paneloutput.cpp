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
#include <stdexcept>

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
    // A file cut short in its last row, and one whose pixels would start past its end.
    QFile whole(path);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bmp = whole.readAll();
    QCOMPARE(bmp.size(), 54 + 2 * 8);
    QByteArray offsetPastTheEnd = bmp;
    qToLittleEndian<quint32>(1000, offsetPastTheEnd.data() + 10);
    const QList<std::pair<QString, QByteArray>> broken
        = { { "short.bmp", bmp.left(bmp.size() - 2) }, { "offset.bmp", offsetPastTheEnd } };
    QStringList bad { m_dir.filePath("missing.bmp"), png };
    for (const auto &[name, bytes] : broken) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        bad << file.fileName();
    }
    for (const QString &file : bad)
        QVERIFY2(!TOpenGLPanel::LoadBMPTexture(QFile::encodeName(file), false), qPrintable(file));
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
