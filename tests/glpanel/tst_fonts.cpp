#include "glpanel/charset.h"
#include "glpanel/openglpanel.h"
#include "panelhost.h"
#include "tests/support/near.h"

#include <QTest>

#include <functional>
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
    GLfloat buffer[512];
    glFeedbackBuffer(512, GL_2D, buffer);
    glRenderMode(GL_FEEDBACK);
    TOpenGLPanel::Draw2DText(&font, text);
    const GLint size = glRenderMode(GL_RENDER);
    QList<int> calls;
    for (GLint i = 0; i + 1 < size; i += 2)
        calls << (buffer[i] == GL_PASS_THROUGH_TOKEN ? int(buffer[i + 1]) : -1);
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

// The frame of one paint that draws in white on black, from the raster position (20, 30).
QImage frameOf(TOpenGLPanel *panel, const std::function<void(TOpenGLPanel *)> &draw)
{
    panel->OnPaint = [&draw](TOpenGLPanel *sender) {
        blackPixelCanvas(sender);
        glRasterPos2i(20, 30);
        draw(sender);
    };
    const QImage frame = panel->GrabFrame();
    panel->OnPaint = nullptr;
    return frame;
}

} // namespace

class TestFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void charset_data();
    void charset();
    void draw2DTextCallsOneListPerCharacter();
    void draw2DTextDrawsAtTheRasterPosition();
    void glyphsKeepTheirShapeAndBearing();
    void outlineMetricsAndMeasures();
    void outlinesDraw_data();
    void outlinesDraw();
    void building();

private:
    PanelHost m_host;
    TOpenGLPanel *m_panel = m_host.panel;
};

void TestFonts::initTestCase()
{
    m_panel->Font2D_Enabled = true;
    m_panel->Font2D_Type()->setPixelSize(16);
    m_panel->Font3D_Enabled = true;
    m_panel->OnInit = [](TOpenGLPanel *) {};
    QVERIFY(m_host.show());
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

// One character outside the font's codes, and the whole text draws nothing.
void TestFonts::draw2DTextCallsOneListPerCharacter()
{
    m_panel->MakeOpenGLPanelCurrent();
    std::unique_ptr<OpenGLFont2D> font = m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 96);
    QVERIFY(font);
    glListBase(7);
    QCOMPARE(listsCalled(*font, "s0"), (QList<int> { 83, 16 }));
    QCOMPARE(listsCalled(*font, " \x7f"), (QList<int> { 0, 95 }));
    QCOMPARE(listsCalled(*font, "s\x1f"), QList<int>());
    QCOMPARE(listsCalled(*font, "\x80s"), QList<int>());
    QCOMPARE(listsCalled(*font, ""), QList<int>());
    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    QCOMPARE(listBase, 7);
    glListBase(0);
    const GLuint base = font->ListBase;
    TOpenGLPanel::Release2DFont(std::move(font));
    QVERIFY(!glIsList(base) && !glIsList(base + 95));
}

void TestFonts::draw2DTextDrawsAtTheRasterPosition()
{
    QByteArray text = "s0";
    GLfloat before[4] = {}, after[4] = {};
    const auto draw = [&](TOpenGLPanel *sender) {
        glGetFloatv(GL_CURRENT_RASTER_POSITION, before);
        sender->Draw2DText(text);
        glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
    };
    const QImage frame = frameOf(m_panel, draw);
    const QRect ink = inkBounds(frame);
    // Right of the raster position and above its baseline; frame rows run top down.
    const QRect allowed(20, frame.height() - 30 - 16, 24, 17);
    const std::unique_ptr<char[]> inkText(QTest::toString(ink));
    QVERIFY2(!ink.isEmpty() && allowed.contains(ink), inkText.get());
    QCOMPARE(after[1], before[1]);
    QVERIFY(after[0] - before[0] >= 14 && after[0] - before[0] <= 20); // two glyphs of ~8 px

    text = " ";
    QVERIFY(inkBounds(frameOf(m_panel, draw)).isEmpty());
    QCOMPARE(after[0] - before[0], 4.0f); // 569/2048 em of 16 px, whole pixels
}

// A 'T' stands upright, and a glyph's ink starts right of the pen by its bearing.
void TestFonts::glyphsKeepTheirShapeAndBearing()
{
    const QImage t = frameOf(m_panel, [](TOpenGLPanel *sender) { sender->Draw2DText("T"); });
    const QRect ink = inkBounds(t);
    const auto inkInRow = [&](int y) {
        int pixels = 0;
        for (int x = ink.left(); x <= ink.right(); ++x)
            pixels += qGray(t.pixel(x, y)) > 128;
        return pixels;
    };
    QVERIFY(inkInRow(ink.top()) > 2 * inkInRow(ink.bottom()));

    PanelFont large(QFont(QStringLiteral("Arial")));
    large.setPixelSize(32);
    std::unique_ptr<OpenGLFont2D> font;
    const QImage i = frameOf(m_panel, [&](TOpenGLPanel *sender) {
        font = sender->Create2DFont(&large, 'I', 1);
        TOpenGLPanel::Draw2DText(font.get(), "I");
    });
    // Liberation Sans 'I' at 32 px: ink from 2.95 px right of the pen at x = 20.
    QCOMPARE(inkBounds(i).left(), 23);
    m_panel->MakeOpenGLPanelCurrent();
    TOpenGLPanel::Release2DFont(std::move(font));
}

// Liberation Sans, Arial's metric twin: 'A' advances 1366/2048 em and stands on the baseline.
// A text measures the advances of all but its last character, then the ink of the last.
void TestFonts::outlineMetricsAndMeasures()
{
    const OpenGLFont3D *font = m_panel->FFont3D();
    QVERIFY(font);
    const GLYPHMETRICSFLOAT &a = font->GlyphMetrics.at('A' - 32);
    QVERIFY(Near(a.gmfCellIncX, 1366.0 / 2048, { .absolute = 0.002 }));
    QCOMPARE(a.gmfCellIncY, 0.0f);
    QVERIFY(a.gmfBlackBoxX > 0.6f && a.gmfBlackBoxX < 0.7f);
    QVERIFY(a.gmfBlackBoxY > 0.65f && a.gmfBlackBoxY < 0.75f);
    QVERIFY(Near(a.gmfptGlyphOrigin.y, a.gmfBlackBoxY, { .absolute = 0.002 }));
    const GLYPHMETRICSFLOAT &g = font->GlyphMetrics.at('g' - 32);
    QVERIFY(g.gmfptGlyphOrigin.y < g.gmfBlackBoxY - 0.1f); // descends below the baseline
    const GLYPHMETRICSFLOAT &space = font->GlyphMetrics.at(0);
    QVERIFY(Near(space.gmfCellIncX, 569.0 / 2048, { .absolute = 0.002 }));
    QCOMPARE(space.gmfBlackBoxX, 0.0f);

    const auto measure = [this](QByteArrayView text) {
        double size[3] = { 7, 7, 7 };
        m_panel->Get3DTextSize(text, size);
        return QList<double>(size, size + 3);
    };
    const GLYPHMETRICSFLOAT &v = font->GlyphMetrics.at('V' - 32);
    const double depth = font->Extrusion;
    QCOMPARE(measure("A"), (QList<double> { a.gmfBlackBoxX, a.gmfBlackBoxY, depth }));
    QCOMPARE(measure("AV"),
        (QList<double> { double(a.gmfCellIncX) + v.gmfBlackBoxX,
            double(a.gmfCellIncY) + v.gmfBlackBoxY, depth }));
    QCOMPARE(measure("\x10V"), (QList<double> { 0, 0, 0 })); // out of range
    QCOMPARE(measure("AV\x80"), (QList<double> { 0, 0, 0 }));
    QCOMPARE(measure(""), (QList<double> { 7, 7, 7 }));
    double untouched[3] = { 7, 7, 7 };
    TOpenGLPanel::Get3DTextSize(nullptr, "A", untouched);
    QCOMPARE(untouched[0], 7.0);
    m_panel->Get3DTextSize("A", nullptr);
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

// Draw3DText also moves on by the advance and leaves the list base as it found it.
void TestFonts::outlinesDraw()
{
    QFETCH(int, format);
    QFETCH(float, extrusion);
    constexpr double scale = 120;
    std::unique_ptr<OpenGLFont3D> font;
    GLfloat before[16] = {}, after[16] = {};
    GLint listBase = 0;
    const QImage frame = frameOf(m_panel, [&](TOpenGLPanel *sender) {
        font = sender->Create3DFont(sender->Font3D_Type(), 'I', 1, 0.0f, extrusion, format);
        glTranslated(20, 20, 0);
        glScaled(scale, scale, scale);
        glRotated(extrusion ? 10 : 0, 0, 1, 0); // shows a little of the sides
        glListBase(5);
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        TOpenGLPanel::Draw3DText(font.get(), "I\x80"); // out of range: draws and moves nothing
        TOpenGLPanel::Draw3DText(font.get(), "I");
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        glGetIntegerv(GL_LIST_BASE, &listBase);
        glListBase(0);
    });
    QVERIFY(font);
    const GLYPHMETRICSFLOAT &bar = font->GlyphMetrics[0];
    QVERIFY(bar.gmfBlackBoxX > 0.05f);

    // 'I' is one upright bar: its middle is ink when filled, empty between the outlines.
    const int x = int(20 + scale * (bar.gmfptGlyphOrigin.x + bar.gmfBlackBoxX / 2));
    const int y
        = frame.height() - int(20 + scale * (bar.gmfptGlyphOrigin.y - bar.gmfBlackBoxY / 2));
    QTEST(qGray(frame.pixel(x, y)) > 128, "filled");
    QVERIFY(Near(inkBounds(frame).height(), scale * bar.gmfBlackBoxY, { .absolute = 3 }));
    QVERIFY(Near(after[12] - before[12], before[0] * bar.gmfCellIncX, { .absolute = 1e-3 }));
    QCOMPARE(after[13], before[13]);
    QCOMPARE(listBase, 5);
    m_panel->MakeOpenGLPanelCurrent();
    const GLuint base = font->ListBase;
    QVERIFY(glIsList(base));
    TOpenGLPanel::Release3DFont(std::move(font));
    QVERIFY(!glIsList(base));
}

// Building fails without a context, a font or a count; building the panel's 2-D font again,
// here for another character set, releases the lists of the previous one.
void TestFonts::building()
{
    QVERIFY(!m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 96)); // no context current
    m_panel->MakeOpenGLPanelCurrent();
    QVERIFY(!m_panel->Create2DFont(nullptr, 32, 96));
    QVERIFY(!m_panel->Create2DFont(m_panel->Font2D_Type(), 32, 0));
    QVERIFY(!m_panel->Create3DFont(nullptr, 32, 96, 0.0f, 0.1f, WGL_FONT_POLYGONS));
    QVERIFY(!m_panel->Create3DFont(m_panel->Font3D_Type(), 32, 0, 0.0f, 0.1f, WGL_FONT_POLYGONS));
    TOpenGLPanel::Release2DFont(nullptr);
    TOpenGLPanel::Release3DFont(nullptr);

    const OpenGLFont2D previous = *m_panel->FFont2D();
    const PanelFont ansi = *m_panel->Font2D_Type();
    PanelFont cyrillic(QFont(QStringLiteral("Arial")), 204);
    cyrillic.setPixelSize(16);
    m_panel->SetFont(&cyrillic);
    m_panel->Font2D_FirstGylph = 192;
    m_panel->Font2D_NumGylph = 64;
    m_panel->Create2DFont();
    const OpenGLFont2D rebuilt = *m_panel->FFont2D();
    QCOMPARE(rebuilt.GlyphCount, 64);
    for (GLuint list = previous.ListBase; list < previous.ListBase + 96; ++list) {
        if (list < rebuilt.ListBase || list >= rebuilt.ListBase + 64)
            QVERIFY(!glIsList(list));
    }
    const auto draw = [](TOpenGLPanel *sender) { sender->Draw2DText("\xc0\xff"); }; // А я
    QVERIFY(inkBounds(frameOf(m_panel, draw)).width() >= 14);

    m_panel->SetFont(&ansi);
    m_panel->Font2D_FirstGylph = 32;
    m_panel->Font2D_NumGylph = 96;
    m_panel->MakeOpenGLPanelCurrent();
    m_panel->Create2DFont();
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
