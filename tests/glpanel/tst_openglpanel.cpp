#include "messageboxcapture.h"
#include "openglpanel.h"
#include "panelhost.h"

#include <QOpenGLContext>
#include <QPointer>
#include <QTest>

#include <cfenv>
#include <stdexcept>
#if defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#endif

namespace {

QColor centre(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// Paints the whole panel one colour.
void paintColour(TOpenGLPanel *panel, QColor *colour)
{
    panel->OnPaint
        = [colour](TOpenGLPanel *) { clearTo(colour->redF(), colour->greenF(), colour->blueF()); };
}

} // namespace

class TestOpenGLPanel : public QObject
{
    Q_OBJECT

private slots:
    void initialProperties();
    void setters();
    void constructionMasksFloatingPointExceptions();
    void callbackOrder();
    void contextCurrentOnlyInCallbacks();
    void frameIsOnScreenAfterSwap();
    void manualSwap();
    void singleBuffered();
    void withoutOnPaintNothingIsTouched();
    void withoutOnInitNoFontIsBuilt();
    void recreatingTheWindowBuildsAFreshContext();
    void failedCreationIsReported();
    void obtainedFormatIsDescribed();
    void constructPalette();
    void shareLists();
};

void TestOpenGLPanel::initialProperties()
{
    TOpenGLPanel panel;
    QCOMPARE(panel.PFDFlags().bits(),
        (TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER }.bits()));
    const PIXELFORMATDESCRIPTOR request = panel.PixelFormatRequest();
    QCOMPARE(request.nSize, 40);
    QCOMPARE(request.nVersion, 1);
    QCOMPARE(request.dwFlags, 0x25u);
    QCOMPARE(request.iPixelType, PFD_TYPE_RGBA);
    QCOMPARE(request.cColorBits, 32);
    QCOMPARE(request.cDepthBits, 32);
    QCOMPARE(panel.Font3DFormatCode(), 1);
    for (const PanelFont *font : { panel.Font2D_Type(), panel.Font3D_Type() }) {
        QCOMPARE(font->family(), QStringLiteral("Arial"));
        QCOMPARE(font->pixelSize(), 9);
        QCOMPARE(font->charset(), 0);
    }
    QVERIFY(!panel.RenderContext());
    QVERIFY(!panel.FFont2D());
    QVERIFY(!panel.FFont3D());
}

void TestOpenGLPanel::setters()
{
    TOpenGLPanel panel;
    panel.SetPFDPixelType(f_PFD_TYPE_COLORINDEX);
    QCOMPARE(panel.PixelTypeCode(), 1);
    QCOMPARE(panel.PixelFormatRequest().iPixelType, 1);
    panel.SetPFDPixelType(TPFDPixelTypes(7));
    QCOMPARE(panel.PixelTypeCode(), 1);
    panel.SetFont3DFormat(f_WGL_FONT_LINES);
    QCOMPARE(panel.Font3DFormatCode(), 0);
    panel.SetFont3DFormat(TFont3DFormat(5));
    QCOMPARE(panel.Font3DFormatCode(), 1);

    panel.SetPFDFlags({ f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_GDI, f_PFD_DOUBLEBUFFER });
    QCOMPARE(
        panel.PFDFlags().bits(), (TPFDFlagSet { f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_GDI }.bits()));
    QCOMPARE(panel.PixelFormatRequest().dwFlags, 0x14u);

    PanelFont font(QFont(QStringLiteral("Times New Roman")), 204);
    font.setPixelSize(16);
    panel.SetFont(&font);
    font.setPixelSize(20);
    QCOMPARE(panel.Font2D_Type()->pixelSize(), 16); // a copy, not the caller's object
    QCOMPARE(panel.Font2D_Type()->charset(), 204);
    QCOMPARE(panel.Font3D_Type()->charset(), 0);
}

void TestOpenGLPanel::constructionMasksFloatingPointExceptions()
{
    feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
#if defined(__i386__) || defined(__x86_64__)
    fpu_control_t word;
    _FPU_GETCW(word);
    word &= ~fpu_control_t(_FPU_MASK_DM);
    _FPU_SETCW(word);
#endif
    TOpenGLPanel panel;
    QCOMPARE(fegetexcept(), 0);
#if defined(__i386__) || defined(__x86_64__)
    _FPU_GETCW(word);
    QCOMPARE(word & 0x3F, 0x3F);
#endif
    volatile double zero = 0.0;
    QVERIFY(std::isinf(1.0 / zero)); // no trap
}

void TestOpenGLPanel::callbackOrder()
{
    PanelHost host;
    TOpenGLPanel *panel = host.panel;
    QStringList calls;
    panel->Font2D_Enabled = true;
    panel->OnPreInit = [&](TOpenGLPanel *sender) {
        QCOMPARE(sender, panel);
        calls << (panel->PanelWindow()->handle() ? "pre-init with window" : "pre-init");
    };
    QList<QSize> sizes;
    panel->OnInit = [&](TOpenGLPanel *) {
        calls << (panel->FFont2D() && glIsList(panel->FFont2D()->ListBase) ? "init with font"
                                                                           : "init");
        sizes << panel->PixelSize();
    };
    panel->OnResize = [&](TOpenGLPanel *) {
        calls << "resize";
        sizes << panel->PixelSize();
    };
    panel->OnPaint = [&](TOpenGLPanel *) { calls << "paint"; };

    QVERIFY(host.show());
    QTRY_VERIFY(calls.contains("paint"));
    QCOMPARE(calls.mid(0, 3), (QStringList { "pre-init", "init with font", "resize" }));
    QCOMPARE(calls.count("pre-init"), 1);
    QCOMPARE(calls.count("init with font"), 1);
    QCOMPARE(calls.indexOf("paint"), calls.lastIndexOf("resize") + 1);
    QCOMPARE(sizes.first(), QSize(200, 150)); // the view can be set up in OnInit already
    QCOMPARE(sizes.last(), QSize(200, 150));
}

void TestOpenGLPanel::contextCurrentOnlyInCallbacks()
{
    PanelHost host;
    TOpenGLPanel *panel = host.panel;
    QStringList notCurrent;
    const auto check = [&](const char *name) {
        return [&notCurrent, panel, name](TOpenGLPanel *) {
            if (!panel->RenderContext()
                || QOpenGLContext::currentContext() != panel->RenderContext())
                notCurrent << name;
        };
    };
    panel->OnInit = check("init");
    panel->OnResize = check("resize");
    panel->OnPaint = check("paint");

    QVERIFY(host.show());
    QVERIFY(!QOpenGLContext::currentContext());
    host.window.resize(400, 300);
    panel->resize(300, 250);
    QTRY_COMPARE(panel->PixelWidth(), 300);
    panel->Repaint();
    QVERIFY(!QOpenGLContext::currentContext());
    QCOMPARE(notCurrent, QStringList());

    panel->OnPaint = [](TOpenGLPanel *) { throw std::runtime_error("paint failed"); };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, panel->Repaint());
    QVERIFY(!QOpenGLContext::currentContext());

    panel->MakeOpenGLPanelCurrent();
    QCOMPARE(QOpenGLContext::currentContext(), panel->RenderContext());
    panel->MakeOpenGLPanelNotCurrent();
    QVERIFY(!QOpenGLContext::currentContext());
}

void TestOpenGLPanel::frameIsOnScreenAfterSwap()
{
    PanelHost host;
    QColor colour(Qt::red);
    paintColour(host.panel, &colour);
    QVERIFY(host.show());

    host.panel->Repaint();
    QCOMPARE(centre(host.onScreen()), QColor(Qt::red));

    colour = Qt::green;
    host.panel->Repaint();
    QCOMPARE(centre(host.onScreen()), QColor(Qt::green));

    colour = Qt::blue;
    const QImage frame = host.panel->GrabFrame();
    QCOMPARE(frame.size(), host.panel->PixelSize());
    QCOMPARE(centre(frame), QColor(Qt::blue));
    QCOMPARE(frame.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(centre(host.onScreen()), QColor(Qt::blue));
}

void TestOpenGLPanel::manualSwap()
{
    PanelHost host;
    QColor colour(Qt::red);
    paintColour(host.panel, &colour);
    QVERIFY(host.show());
    host.panel->Repaint();
    QCOMPARE(centre(host.onScreen()), QColor(Qt::red));

    host.panel->GLSwapBuffers = TOpenGLSwapBuffers::Manual;
    colour = Qt::green;
    host.panel->Repaint();
    QCOMPARE(centre(host.onScreen()), QColor(Qt::red));

    host.panel->OnPaint = [](TOpenGLPanel *sender) {
        clearTo(0, 0, 1);
        sender->SwapBuffers();
    };
    host.panel->Repaint();
    QCOMPARE(centre(host.onScreen()), QColor(Qt::blue));
}

void TestOpenGLPanel::singleBuffered()
{
    PanelHost host;
    host.panel->SetPFDFlags({ f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_SUPPORT_GDI });
    host.panel->OnPaint = [](TOpenGLPanel *sender) {
        clearTo(1, 1, 0);
        sender->SwapBuffers(); // nothing to swap
        glFinish();
    };
    QVERIFY(host.show());
    QVERIFY(host.panel->RenderContext());
    QVERIFY(!host.panel->DoubleBufferFormat());
    QCOMPARE(host.panel->RenderContext()->format().swapBehavior(), QSurfaceFormat::SingleBuffer);
    QCOMPARE(centre(host.panel->GrabFrame()), QColor(Qt::yellow));
    QCOMPARE(centre(host.onScreen()), QColor(Qt::yellow));
}

void TestOpenGLPanel::withoutOnPaintNothingIsTouched()
{
    PanelHost host;
    QColor colour(Qt::red);
    paintColour(host.panel, &colour);
    QVERIFY(host.show());
    host.panel->Repaint();

    host.panel->OnPaint = nullptr;
    int resizes = 0;
    host.panel->OnResize = [&](TOpenGLPanel *) { ++resizes; };
    host.panel->Repaint();
    QVERIFY(host.panel->GrabFrame().isNull());
    QVERIFY(!QOpenGLContext::currentContext());
    QCOMPARE(resizes, 0);
    QCOMPARE(centre(host.onScreen()), QColor(Qt::red)); // the last frame stays
}

void TestOpenGLPanel::withoutOnInitNoFontIsBuilt()
{
    PanelHost host;
    host.panel->Font2D_Enabled = true;
    host.panel->Font3D_Enabled = true;
    bool built = false;
    host.panel->OnPaint = [&](TOpenGLPanel *sender) {
        if (!sender->FFont2D() && !sender->FFont3D()) {
            sender->Create2DFont();
            built = sender->FFont2D() != nullptr;
        }
    };
    QVERIFY(host.show());
    QTRY_VERIFY(built);
    QVERIFY(!host.panel->FFont3D());
}

void TestOpenGLPanel::recreatingTheWindowBuildsAFreshContext()
{
    PanelHost host;
    TOpenGLPanel *panel = host.panel;
    panel->Font2D_Enabled = true;
    int preInits = 0;
    QList<GLuint> fontLists;
    panel->OnPreInit = [&](TOpenGLPanel *) { ++preInits; };
    panel->OnInit = [&](TOpenGLPanel *sender) {
        QVERIFY(sender->FFont2D());
        QVERIFY(glIsList(sender->FFont2D()->ListBase));
        fontLists << sender->FFont2D()->ListBase;
    };
    QColor colour(Qt::red);
    paintColour(panel, &colour);
    QVERIFY(host.show());
    QPointer<QOpenGLContext> first = panel->RenderContext();
    QVERIFY(first);

    // A flag change takes effect only with the next window.
    panel->SetPFDFlags({ f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_SUPPORT_GDI });
    QVERIFY(panel->DoubleBufferFormat());

    panel->RecreateWnd();
    QVERIFY(!first);
    QVERIFY(panel->RenderContext());
    QCOMPARE(preInits, 2);
    QCOMPARE(fontLists.size(), 2);
    QVERIFY(!panel->DoubleBufferFormat());
    QCOMPARE(panel->RenderContext()->format().swapBehavior(), QSurfaceFormat::SingleBuffer);

    QVERIFY(QTest::qWaitForWindowExposed(panel->PanelWindow()));
    colour = Qt::green;
    panel->OnPaint = [](TOpenGLPanel *) {
        clearTo(0, 1, 0);
        glFinish();
    };
    QCOMPARE(centre(panel->GrabFrame()), QColor(Qt::green));
}

void TestOpenGLPanel::failedCreationIsReported()
{
    MessageBoxCapture capture;
    PanelHost host;
    bool initialised = false;
    bool painted = false;
    host.panel->SetPFDFlags({ f_PFD_DRAW_TO_BITMAP, f_PFD_DOUBLEBUFFER });
    host.panel->OnInit = [&](TOpenGLPanel *) { initialised = true; };
    host.panel->OnPaint = [&](TOpenGLPanel *) { painted = true; };
    QVERIFY(host.show());
    host.panel->Repaint();

    QCOMPARE(capture.boxes.size(), 2);
    QCOMPARE(capture.boxes[0].text, QStringLiteral("ChoosePixelFormat:0"));
    QCOMPARE(capture.boxes[1].text, QStringLiteral("Open GL Context Create Failed"));
    QVERIFY(!initialised);
    QVERIFY(!painted);
    QVERIFY(!host.panel->RenderContext());

    host.window.close();
    host.panel->PanelWindow()->destroy();
    QCOMPARE(capture.boxes.size(), 2); // nothing to release, nothing to report
}

void TestOpenGLPanel::obtainedFormatIsDescribed()
{
    PanelHost host;
    QVERIFY(host.show());
    const PIXELFORMATDESCRIPTOR described = host.panel->DescribedPixelFormat();
    QCOMPARE(described.nSize, 40);
    QCOMPARE(described.dwFlags & (PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL | PFD_NEED_PALETTE),
        PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL);
    QVERIFY(described.cDepthBits >= 24); // 32 asked for; GLX drivers offer 24 at least
    QCOMPARE(int(described.cDepthBits), host.panel->RenderContext()->format().depthBufferSize());
    QVERIFY(described.cColorBits >= 24);
    QVERIFY(!host.panel->PaletteHandle());
    QVERIFY(host.panel->DoubleBufferFormat());
}

void TestOpenGLPanel::constructPalette()
{
    MessageBoxCapture capture;
    TOpenGLPanel panel;
    PIXELFORMATDESCRIPTOR format;
    format.cColorBits = 8;
    format.cRedBits = 3;
    format.cGreenBits = 3;
    format.cGreenShift = 3;
    format.cBlueBits = 2;
    format.cBlueShift = 6;
    QVERIFY(panel.ConstructPalette(format));
    QVERIFY(panel.PaletteHandle());
    QCOMPARE(panel.PaletteHandle()->palNumEntries, 256);
    QCOMPARE(panel.PaletteHandle()->palPalEntry[0x03].peRed, 109);
    QVERIFY(capture.boxes.isEmpty());

    format.cColorBits = 16; // 2^16 entries do not fit the 16-bit count
    QVERIFY(!panel.ConstructPalette(format));
    QCOMPARE(capture.boxes.size(), 1);
    QCOMPARE(capture.boxes[0].text, QStringLiteral("CreatePalette:0"));
}

void TestOpenGLPanel::shareLists()
{
    PanelHost a;
    PanelHost b;
    QVERIFY(a.show());
    QVERIFY(b.show());

    a.panel->MakeOpenGLPanelCurrent();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEndList();
    a.panel->MakeOpenGLPanelNotCurrent();

    b.panel->MakeOpenGLPanelCurrent();
    QVERIFY(!glIsList(list));
    b.panel->MakeOpenGLPanelNotCurrent();

    QVERIFY(a.panel->PanelShareLists(b.panel));
    QVERIFY(QOpenGLContext::areSharing(a.panel->RenderContext(), b.panel->RenderContext()));
    b.panel->MakeOpenGLPanelCurrent();
    QVERIFY(glIsList(list));
    b.panel->MakeOpenGLPanelNotCurrent();

    TOpenGLPanel windowless;
    QVERIFY(!a.panel->PanelShareLists(&windowless));
    QVERIFY(!a.panel->PanelShareLists(nullptr));
}

QTEST_MAIN(TestOpenGLPanel)
#include "tst_openglpanel.moc"
