#include "charset.h"
#include "openglpanel.h"
#include "panelhost.h"

#include <QTest>

#include <memory>

namespace {

// The codes of the font's lists that one Draw2DText call runs, in order: every list of the
// font's block is replaced by a pass-through token carrying its offset.
QList<int> listsCalled(const OpenGLFont2D &font, QByteArrayView text)
{
    for (int i = 0; i < font.GlyphCount; ++i) {
        glNewList(font.ListBase + GLuint(i), GL_COMPILE);
        glPassThrough(GLfloat(i));
        glEndList();
    }
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    TOpenGLPanel::Draw2DText(&font, text);
    const GLint size = glRenderMode(GL_RENDER);

    QList<int> calls;
    for (GLint i = 0; i + 1 < size; i += 2) {
        if (buffer[std::size_t(i)] != GL_PASS_THROUGH_TOKEN)
            return { -1 };
        calls << int(buffer[std::size_t(i) + 1]);
    }
    return calls;
}

// Pixels brighter than mid grey, in the frame's own (top-down) coordinates.
QRect inkBounds(const QImage &frame)
{
    QRect bounds;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (qGray(frame.pixel(x, y)) > 128)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

void pixelProjection(TOpenGLPanel *panel)
{
    glViewport(0, 0, panel->PixelWidth(), panel->PixelHeight());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, panel->PixelWidth(), 0, panel->PixelHeight(), -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
}

} // namespace

class TestFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void charset_data();
    void charset();
    void panelFontsBuiltAtCreation();
    void draw2DTextCallsOneListPerCharacter_data();
    void draw2DTextCallsOneListPerCharacter();
    void draw2DTextDrawsAtTheRasterPosition();
    void otherCharacterSet();
    void measure3DText_data();
    void measure3DText();
    void outlineMetrics();
    void draw3DTextTranslatesAndRestores();
    void outlinesDraw_data();
    void outlinesDraw();
    void releaseDeletesLists();
    void buildingFailsWithoutFontCountOrContext();
    void rebuildingReleasesThePreviousFont();

private:
    std::unique_ptr<PanelHost> m_host;
    TOpenGLPanel *m_panel = nullptr;
};

void TestFonts::initTestCase()
{
    m_host = std::make_unique<PanelHost>();
    m_panel = m_host->panel;
    m_panel->Font2D_Enabled = true;
    m_panel->Font2D_Type()->setFamily(QStringLiteral("Arial"));
    m_panel->Font2D_Type()->setPixelSize(16);
    m_panel->Font3D_Enabled = true;
    m_panel->OnInit = [](TOpenGLPanel *) {};
    QVERIFY(m_host->show());
}

void TestFonts::init()
{
    m_panel->OnPaint = nullptr;
}

void TestFonts::cleanup()
{
    m_panel->MakeOpenGLPanelNotCurrent();
}

void TestFonts::charset_data()
{
    QTest::addColumn<int>("charset");
    QTest::addColumn<int>("code");
    QTest::addColumn<uint>("character");

    QTest::newRow("ANSI letter") << 0 << 0x41 << 0x41u;
    QTest::newRow("ANSI euro") << 0 << 0x80 << 0x20ACu;
    QTest::newRow("ANSI A grave") << 0 << 0xC0 << 0xC0u;
    QTest::newRow("ANSI undefined 0x81") << 0 << 0x81 << 0u;
    QTest::newRow("Cyrillic A") << 204 << 0xC0 << 0x410u;
    QTest::newRow("Cyrillic ya") << 204 << 0xFF << 0x44Fu;
    QTest::newRow("Cyrillic undefined 0x98") << 204 << 0x98 << 0u;
    QTest::newRow("East European S caron") << 238 << 0x8A << 0x160u;
    QTest::newRow("unknown set as ANSI") << 99 << 0x80 << 0x20ACu;
}

void TestFonts::charset()
{
    QFETCH(int, charset);
    QFETCH(int, code);
    QTEST(uint(DecodeCharsetByte(charset, static_cast<unsigned char>(code))), "character");
}

void TestFonts::panelFontsBuiltAtCreation()
{
    const OpenGLFont2D *font2D = m_panel->FFont2D();
    QVERIFY(font2D);
    QCOMPARE(font2D->FirstGlyph, 32);
    QCOMPARE(font2D->GlyphCount, 96);
    const OpenGLFont3D *font3D = m_panel->FFont3D();
    QVERIFY(font3D);
    QCOMPARE(font3D->GlyphMetrics.size(), std::size_t(96));
    QCOMPARE(font3D->Extrusion, 0.1f);

    m_panel->MakeOpenGLPanelCurrent();
    QVERIFY(glIsList(font2D->ListBase));
    QVERIFY(glIsList(font2D->ListBase + 95));
    QVERIFY(glIsList(font3D->ListBase + 95));
}

void TestFonts::draw2DTextCallsOneListPerCharacter_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("lists");

    QTest::newRow("s0") << QByteArray("s0") << QList<int> { 83, 16 };
    QTest::newRow("first and last code") << QByteArray(" \x7f") << QList<int> { 0, 95 };
    QTest::newRow("below the range") << QByteArray("s\x1f") << QList<int> {};
    QTest::newRow("above the range") << QByteArray("\x80s") << QList<int> {};
    QTest::newRow("Cyrillic letter") << QByteArray("s\xc0") << QList<int> {};
    QTest::newRow("empty") << QByteArray() << QList<int> {};
}

void TestFonts::draw2DTextCallsOneListPerCharacter()
{
    QFETCH(QByteArray, text);
    m_panel->MakeOpenGLPanelCurrent();
    std::unique_ptr<OpenGLFont2D> font = m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 96);
    QVERIFY(font);
    glListBase(7);

    QTEST(listsCalled(*font, text), "lists");
    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    QCOMPARE(listBase, 7);
    glListBase(0);
    TOpenGLPanel::Release2DFont(std::move(font));
}

void TestFonts::draw2DTextDrawsAtTheRasterPosition()
{
    QByteArray text = "s0";
    GLfloat before[4] = {}, after[4] = {};
    m_panel->OnPaint = [&](TOpenGLPanel *sender) {
        clearTo(0, 0, 0);
        pixelProjection(sender);
        glRasterPos2i(20, 30);
        glGetFloatv(GL_CURRENT_RASTER_POSITION, before);
        sender->Draw2DText(text);
        glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
    };

    QImage frame = m_panel->GrabFrame();
    const QRect ink = inkBounds(frame);
    QVERIFY(!ink.isEmpty());
    const int baseline = frame.height() - 30; // frame rows run top down
    QVERIFY2(ink.left() >= 20 && ink.right() < 20 + 24, qPrintable(QString::number(ink.left())));
    QVERIFY(ink.bottom() < baseline + 1);
    QVERIFY(ink.top() >= baseline - 16);
    QCOMPARE(after[1], before[1]);
    QVERIFY(after[0] - before[0] >= 14 && after[0] - before[0] <= 20); // two glyphs of ~8 px

    text = " ";
    QVERIFY(inkBounds(m_panel->GrabFrame()).isEmpty());
    QCOMPARE(after[0] - before[0], 4.0f); // 569/2048 em of 16 px, whole pixels

    text = "s\xc0";
    frame = m_panel->GrabFrame();
    QVERIFY(inkBounds(frame).isEmpty());
    QCOMPARE(after[0], before[0]);
}

void TestFonts::otherCharacterSet()
{
    PanelFont cyrillic(QFont(QStringLiteral("Arial")), 204);
    cyrillic.setPixelSize(16);
    std::unique_ptr<OpenGLFont2D> font;
    m_panel->OnPaint = [&](TOpenGLPanel *sender) {
        clearTo(0, 0, 0);
        pixelProjection(sender);
        if (!font)
            font = sender->Create2DFont(&cyrillic, 192, 64);
        glRasterPos2i(20, 30);
        TOpenGLPanel::Draw2DText(font.get(), "\xc0\xff"); // А я
    };
    const QRect ink = inkBounds(m_panel->GrabFrame());
    QVERIFY(font);
    QVERIFY(ink.width() >= 14);
    m_panel->MakeOpenGLPanelCurrent();
    TOpenGLPanel::Release2DFont(std::move(font));
}

void TestFonts::measure3DText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("advancing");
    QTest::addColumn<char>("last");
    QTest::addColumn<bool>("outOfRange");

    QTest::newRow("one character") << QByteArray("A") << QByteArray() << 'A' << false;
    QTest::newRow("two characters") << QByteArray("AV") << QByteArray("A") << 'V' << false;
    QTest::newRow("three characters") << QByteArray("Wa.") << QByteArray("Wa") << '.' << false;
    QTest::newRow("out of range first") << QByteArray("\x10V") << QByteArray() << '\0' << true;
    QTest::newRow("out of range last") << QByteArray("AV\x80") << QByteArray() << '\0' << true;
}

void TestFonts::measure3DText()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, advancing);
    QFETCH(char, last);
    QFETCH(bool, outOfRange);

    const OpenGLFont3D *font = m_panel->FFont3D();
    QVERIFY(font);
    const auto metrics = [font](char c) { return font->GlyphMetrics.at(std::size_t(c - 32)); };
    double expected[3] = {};
    if (!outOfRange) {
        for (char c : advancing) {
            expected[0] += metrics(c).gmfCellIncX;
            expected[1] += metrics(c).gmfCellIncY;
        }
        expected[0] += metrics(last).gmfBlackBoxX;
        expected[1] += metrics(last).gmfBlackBoxY;
        expected[2] = font->Extrusion;
    }

    double size[3] = { 7, 7, 7 };
    m_panel->Get3DTextSize(text, size);
    QCOMPARE(size[0], expected[0]);
    QCOMPARE(size[1], expected[1]);
    QCOMPARE(size[2], expected[2]);

    double untouched[3] = { 7, 7, 7 };
    m_panel->Get3DTextSize("", untouched);
    TOpenGLPanel::Get3DTextSize(nullptr, text, untouched);
    QCOMPARE(untouched[0], 7.0);
    m_panel->Get3DTextSize(text, nullptr);
}

void TestFonts::outlineMetrics()
{
    // Liberation Sans, Arial's metric twin: 'A' advances 1366/2048 em and stands on the baseline.
    const OpenGLFont3D *font = m_panel->FFont3D();
    QVERIFY(font);
    const GLYPHMETRICSFLOAT &a = font->GlyphMetrics.at('A' - 32);
    QVERIFY(qAbs(a.gmfCellIncX - 1366.0f / 2048) < 0.002f);
    QCOMPARE(a.gmfCellIncY, 0.0f);
    QVERIFY(a.gmfBlackBoxX > 0.6f && a.gmfBlackBoxX < 0.7f);
    QVERIFY(a.gmfBlackBoxY > 0.65f && a.gmfBlackBoxY < 0.75f);
    QVERIFY(qAbs(a.gmfptGlyphOrigin.y - a.gmfBlackBoxY) < 0.002f);

    const GLYPHMETRICSFLOAT &g = font->GlyphMetrics.at('g' - 32);
    QVERIFY(g.gmfptGlyphOrigin.y < g.gmfBlackBoxY - 0.1f); // descends below the baseline

    const GLYPHMETRICSFLOAT &space = font->GlyphMetrics.at(0);
    QVERIFY(qAbs(space.gmfCellIncX - 569.0f / 2048) < 0.002f);
    QCOMPARE(space.gmfBlackBoxX, 0.0f);
}

void TestFonts::draw3DTextTranslatesAndRestores()
{
    const OpenGLFont3D *font = m_panel->FFont3D();
    QVERIFY(font);
    m_panel->MakeOpenGLPanelCurrent();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFrontFace(GL_CW);
    glListBase(5);

    m_panel->Draw3DText("AV");
    GLfloat matrix[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    const float advance
        = font->GlyphMetrics['A' - 32].gmfCellIncX + font->GlyphMetrics['V' - 32].gmfCellIncX;
    QVERIFY(qAbs(matrix[12] - advance) < 1e-6f);
    QCOMPARE(matrix[13], 0.0f);
    GLint frontFace = 0, listBase = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_LIST_BASE, &listBase);
    QCOMPARE(frontFace, GLint(GL_CW));
    QCOMPARE(listBase, 5);

    glLoadIdentity();
    m_panel->Draw3DText("A\x80");
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    QCOMPARE(matrix[12], 0.0f);
    glFrontFace(GL_CCW);
    glListBase(0);
}

void TestFonts::outlinesDraw_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<float>("extrusion");
    QTest::addColumn<bool>("filled");

    QTest::newRow("lines") << WGL_FONT_LINES << 0.0f << false;
    QTest::newRow("polygons") << WGL_FONT_POLYGONS << 0.0f << true;
    QTest::newRow("extruded polygons") << WGL_FONT_POLYGONS << 0.2f << true;
}

void TestFonts::outlinesDraw()
{
    QFETCH(int, format);
    QFETCH(float, extrusion);
    QFETCH(bool, filled);

    constexpr double scale = 120;
    std::unique_ptr<OpenGLFont3D> font;
    m_panel->OnPaint = [&](TOpenGLPanel *sender) {
        clearTo(0, 0, 0);
        pixelProjection(sender);
        if (!font)
            font = sender->Create3DFont(sender->Font3D_Type(), 'I', 1, 0.0f, extrusion, format);
        glTranslated(20, 20, 0);
        glScaled(scale, scale, scale);
        glRotated(extrusion ? 10 : 0, 0, 1, 0); // shows a little of the sides
        TOpenGLPanel::Draw3DText(font.get(), "I");
    };
    const QImage frame = m_panel->GrabFrame();
    QVERIFY(font);
    const GLYPHMETRICSFLOAT &bar = font->GlyphMetrics[0];
    QVERIFY(bar.gmfBlackBoxX > 0.05f);

    // 'I' is one upright bar: its middle is ink when filled, empty between the outlines.
    const int x = int(20 + scale * (bar.gmfptGlyphOrigin.x + bar.gmfBlackBoxX / 2));
    const int y
        = frame.height() - int(20 + scale * (bar.gmfptGlyphOrigin.y - bar.gmfBlackBoxY / 2));
    QCOMPARE(qGray(frame.pixel(x, y)) > 128, filled);
    const QRect ink = inkBounds(frame);
    QVERIFY(!ink.isEmpty());
    QVERIFY(qAbs(ink.height() - scale * bar.gmfBlackBoxY) < 3);
    m_panel->MakeOpenGLPanelCurrent();
    TOpenGLPanel::Release3DFont(std::move(font));
}

void TestFonts::releaseDeletesLists()
{
    m_panel->MakeOpenGLPanelCurrent();
    std::unique_ptr<OpenGLFont2D> font2D = m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 96);
    std::unique_ptr<OpenGLFont3D> font3D
        = m_panel->Create3DFont(m_panel->Font3D_Type(), 48, 10, 0.0f, 0.1f, WGL_FONT_POLYGONS);
    QVERIFY(font2D && font3D);
    const GLuint base2D = font2D->ListBase, base3D = font3D->ListBase;
    QVERIFY(glIsList(base2D) && glIsList(base2D + 95));
    QVERIFY(glIsList(base3D) && glIsList(base3D + 9));

    TOpenGLPanel::Release2DFont(std::move(font2D));
    TOpenGLPanel::Release3DFont(std::move(font3D));
    QVERIFY(!glIsList(base2D) && !glIsList(base2D + 95));
    QVERIFY(!glIsList(base3D) && !glIsList(base3D + 9));
    TOpenGLPanel::Release2DFont(nullptr);
}

void TestFonts::buildingFailsWithoutFontCountOrContext()
{
    QVERIFY(!m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 96)); // no context current
    m_panel->MakeOpenGLPanelCurrent();
    QVERIFY(!m_panel->Create2DFont(nullptr, 32, 96));
    QVERIFY(!m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 0));
    QVERIFY(!m_panel->Create3DFont(nullptr, 32, 96, 0.0f, 0.1f, WGL_FONT_POLYGONS));
    QVERIFY(!m_panel->Create3DFont(m_panel->Font3D_Type(), 32, 0, 0.0f, 0.1f, WGL_FONT_POLYGONS));
}

void TestFonts::rebuildingReleasesThePreviousFont()
{
    m_panel->MakeOpenGLPanelCurrent();
    const OpenGLFont2D previous = *m_panel->FFont2D();
    m_panel->Font2D_NumGylph = 10;
    m_panel->Create2DFont();
    const OpenGLFont2D *rebuilt = m_panel->FFont2D();
    QVERIFY(rebuilt);
    QCOMPARE(rebuilt->GlyphCount, 10);
    QVERIFY(glIsList(rebuilt->ListBase));
    for (GLuint list = previous.ListBase; list < previous.ListBase + GLuint(previous.GlyphCount);
         ++list) {
        if (list < rebuilt->ListBase || list >= rebuilt->ListBase + 10)
            QVERIFY(!glIsList(list));
    }
    m_panel->Font2D_NumGylph = 96;
    m_panel->Create2DFont();
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
