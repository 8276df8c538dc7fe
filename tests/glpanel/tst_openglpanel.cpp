#include "glpanel/openglpanel.h"
#include "panelhost.h"
#include "tests/support/panelfailurecapture.h"

#include <QMimeData>
#include <QOpenGLContext>
#include <QPointer>
#include <QTest>

#include <cfenv>
#include <climits>
#include <stdexcept>
#if defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#endif

namespace {

QColor centre(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

class TestOpenGLPanel : public QObject
{
    Q_OBJECT

private slots:
    void properties();
    void callbacksInOrderWithTheContextCurrent();
    void framesReachTheScreen();
    void failedCreationIsReported();
    void shareLists();
    void inputReachesTheHandlers();
    void fontCodesAtTheTopOfTheRange();
};

// What construction leaves and the setters change.
void TestOpenGLPanel::properties()
{
    feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
#if defined(__i386__) || defined(__x86_64__)
    fpu_control_t word;
    _FPU_GETCW(word);
    word &= ~fpu_control_t(_FPU_MASK_DM);
    _FPU_SETCW(word);
#endif
    TOpenGLPanel panel;
    QCOMPARE(fegetexcept(), 0); // all masked, the x87 denormal operand too
#if defined(__i386__) || defined(__x86_64__)
    _FPU_GETCW(word);
    QCOMPARE(word & 0x3F, 0x3F);
#endif

    // The request's dwFlags, iPixelType, cColorBits and cDepthBits, then the 3-D font format.
    const auto state = [&panel] {
        const PIXELFORMATDESCRIPTOR r = panel.PixelFormatRequest();
        return QList<uint> { r.dwFlags, r.iPixelType, r.cColorBits, r.cDepthBits,
            uint(panel.Font3DFormatCode()) };
    };
    QCOMPARE(state(), (QList<uint> { 0x25, 0, 32, 32, 1 }));
    panel.SetPFDPixelType(f_PFD_TYPE_COLORINDEX);
    panel.SetFont3DFormat(f_WGL_FONT_LINES);
    QCOMPARE(state(), (QList<uint> { 0x25, 1, 32, 32, 0 }));
    panel.SetPFDPixelType(f_PFD_TYPE_RGBA);
    panel.SetPFDPixelType(TPFDPixelTypes(7)); // unknown values: colour index, polygons
    panel.SetFont3DFormat(TFont3DFormat(5));
    panel.SetPFDFlags({ f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_GDI, f_PFD_DOUBLEBUFFER });
    QCOMPARE(state(), (QList<uint> { 0x14, 1, 32, 32, 1 }));

    PanelFont font(QFont(QStringLiteral("Times New Roman")), 204);
    font.setPixelSize(16);
    panel.SetFont(&font);
    font.setPixelSize(20);
    QCOMPARE(panel.Font2D_Type()->pixelSize(), 16); // a copy, not the caller's object
    QCOMPARE(panel.Font2D_Type()->charset(), 204);
    QCOMPARE(panel.Font3D_Type()->charset(), 0);
}

// The callbacks of two windows, the second made by RecreateWnd with other flags.
void TestOpenGLPanel::callbacksInOrderWithTheContextCurrent()
{
    PanelHost host;
    TOpenGLPanel *panel = host.panel;
    panel->Font2D_Enabled = true;
    QStringList calls;
    QList<QSize> sizes;
    const auto record = [&](const QString &name) {
        return [&, name](TOpenGLPanel *sender) {
            QString call = name;
            if (sender != panel || !panel->RenderContext()
                || QOpenGLContext::currentContext() != panel->RenderContext())
                call += " without its context";
            if (name == "init" && !(panel->FFont2D() && glIsList(panel->FFont2D()->ListBase)))
                call += " without fonts";
            calls << call;
            sizes << panel->PixelSize();
        };
    };
    panel->OnPreInit = [&](TOpenGLPanel *) {
        calls << (panel->PanelWindow()->handle() ? "pre-init after the window" : "pre-init");
    };
    panel->OnInit = record("init");
    panel->OnResize = record("resize");
    panel->OnPaint = record("paint");

    QVERIFY(host.show());
    QTRY_VERIFY(calls.contains("paint"));
    QCOMPARE(calls.mid(0, 3), (QStringList { "pre-init", "init", "resize" }));
    QCOMPARE(calls.indexOf("paint"), calls.lastIndexOf("resize") + 1);
    QCOMPARE(sizes.first(), QSize(200, 150)); // the view can be set up in OnInit already
    QVERIFY(!QOpenGLContext::currentContext());

    host.window.resize(400, 300);
    panel->resize(300, 250);
    QTRY_COMPARE(sizes.last(), QSize(300, 250));
    panel->Repaint();
    QVERIFY(!QOpenGLContext::currentContext());

    // A flag change takes effect only with the next window, which has a context of its own.
    QPointer<QOpenGLContext> first = panel->RenderContext();
    panel->SetPFDFlags({ f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_SUPPORT_GDI });
    QVERIFY(panel->DoubleBufferFormat());
    const qsizetype recreated = calls.size();
    panel->RecreateWnd();
    QVERIFY(!first && panel->RenderContext());
    QCOMPARE(calls.mid(recreated, 3), (QStringList { "pre-init", "init", "resize" }));
    QCOMPARE(calls.count("pre-init") + calls.count("init"), 4);
    QCOMPARE(calls.filter(" "), QStringList());
    QVERIFY(!panel->DoubleBufferFormat());
    QCOMPARE(panel->RenderContext()->format().swapBehavior(), QSurfaceFormat::SingleBuffer);

    QVERIFY(QTest::qWaitForWindowExposed(panel->PanelWindow()));
    panel->OnPaint = [](TOpenGLPanel *sender) {
        clearTo(1, 1, 0);
        sender->SwapBuffers(); // nothing to swap with a single buffer
        glFinish();
    };
    QCOMPARE(centre(panel->GrabFrame()), QColor(Qt::yellow));
    // The new window's first expose may still clear it; its repaint draws the frame again.
    QTRY_COMPARE(centre(host.onScreen()), QColor(Qt::yellow));

    panel->OnPaint = [](TOpenGLPanel *) { throw std::runtime_error("paint failed"); };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, panel->Repaint());
    QVERIFY(!QOpenGLContext::currentContext());
    panel->MakeOpenGLPanelCurrent();
    QCOMPARE(QOpenGLContext::currentContext(), panel->RenderContext());
    panel->MakeOpenGLPanelNotCurrent();
    QVERIFY(!QOpenGLContext::currentContext());
}

void TestOpenGLPanel::framesReachTheScreen()
{
    PanelHost host;
    TOpenGLPanel *panel = host.panel;
    panel->Font2D_Enabled = panel->Font3D_Enabled = true;
    QColor colour(Qt::red);
    const auto paintColour
        = [&](TOpenGLPanel *) { clearTo(colour.redF(), colour.greenF(), colour.blueF()); };
    panel->OnPaint = paintColour;
    QVERIFY(host.show());
    QVERIFY(!panel->FFont2D() && !panel->FFont3D()); // fonts are built only for an OnInit

    const PIXELFORMATDESCRIPTOR described = panel->DescribedPixelFormat();
    QCOMPARE(described.dwFlags & (PFD_DOUBLEBUFFER | PFD_NEED_PALETTE), PFD_DOUBLEBUFFER);
    QCOMPARE(int(described.cDepthBits), panel->RenderContext()->format().depthBufferSize());
    QVERIFY(described.cDepthBits >= 24); // 32 asked for; GLX drivers offer 24 at least
    QVERIFY(!panel->PaletteHandle());

    const auto shown = [&host] { return centre(host.onScreen()); };
    panel->Repaint();
    QCOMPARE(shown(), QColor(Qt::red));
    colour = Qt::green;
    const QImage frame = panel->GrabFrame();
    QCOMPARE(frame.size(), panel->PixelSize());
    QCOMPARE(frame.pixelColor(0, 0), QColor(Qt::green));
    QCOMPARE(shown(), QColor(Qt::green));

    panel->OnPaint = nullptr;
    int resizes = 0;
    panel->OnResize = [&](TOpenGLPanel *) { ++resizes; };
    panel->Repaint();
    QVERIFY(panel->GrabFrame().isNull());
    QVERIFY(!QOpenGLContext::currentContext());
    QCOMPARE(resizes, 0);
    QCOMPARE(shown(), QColor(Qt::green)); // the last frame stays

    panel->GLSwapBuffers = TOpenGLSwapBuffers::Manual;
    panel->OnPaint = paintColour;
    colour = Qt::blue;
    panel->Repaint();
    QCOMPARE(shown(), QColor(Qt::green));
    panel->OnPaint = [](TOpenGLPanel *sender) {
        clearTo(1, 1, 0);
        sender->SwapBuffers();
    };
    panel->Repaint();
    QCOMPARE(shown(), QColor(Qt::yellow));
}

void TestOpenGLPanel::failedCreationIsReported()
{
    PanelFailureCapture capture;
    PanelHost host;
    int calls = 0;
    host.panel->SetPFDFlags({ f_PFD_DRAW_TO_BITMAP, f_PFD_DOUBLEBUFFER });
    host.panel->OnInit = host.panel->OnPaint = [&](TOpenGLPanel *) { ++calls; };
    QVERIFY(host.show());
    host.panel->Repaint();

    QCOMPARE(capture.reports.size(), 2);
    QCOMPARE(capture.reports[0], QStringLiteral("ChoosePixelFormat:0"));
    QCOMPARE(capture.reports[1], QStringLiteral("Open GL Context Create Failed"));
    QCOMPARE(calls, 0);
    QVERIFY(!host.panel->RenderContext());

    host.window.close();
    host.panel->PanelWindow()->destroy();
    QCOMPARE(capture.reports.size(), 2); // nothing to release, nothing to report
}

// The other panel keeps its set-up; a context made again releases the fonts of the old one,
// which the shared lists would otherwise keep.
void TestOpenGLPanel::shareLists()
{
    PanelHost a;
    PanelHost b;
    b.panel->Font2D_Enabled = true;
    b.panel->OnInit = [](TOpenGLPanel *) { glClearColor(0, 1, 0, 1); };
    b.panel->OnPaint = [](TOpenGLPanel *) { glClear(GL_COLOR_BUFFER_BIT); };
    QVERIFY(a.show() && b.show());
    const auto hasList = [](TOpenGLPanel *panel, GLuint list) {
        panel->MakeOpenGLPanelCurrent();
        const bool has = glIsList(list);
        panel->MakeOpenGLPanelNotCurrent();
        return has;
    };

    a.panel->MakeOpenGLPanelCurrent();
    const GLuint list = glGenLists(97) + 96; // a name b's font does not hold
    glNewList(list, GL_COMPILE);
    glEndList();
    a.panel->MakeOpenGLPanelNotCurrent();
    QVERIFY(!hasList(b.panel, list));

    QVERIFY(a.panel->PanelShareLists(b.panel));
    QVERIFY(hasList(b.panel, list));
    QVERIFY(b.panel->FFont2D());
    const GLuint font = b.panel->FFont2D()->ListBase;
    QVERIFY(hasList(a.panel, font));
    QCOMPARE(centre(b.panel->TakePicture()), QColor(Qt::green));

    PanelFailureCapture capture;
    QPointer<QOpenGLContext> shared = b.panel->RenderContext();
    QVERIFY(b.panel->CreateGLContext());
    QVERIFY(!shared && b.panel->RenderContext() && !b.panel->FFont2D());
    QVERIFY(!hasList(a.panel, font) && hasList(a.panel, list));
    QVERIFY(capture.reports.isEmpty());

    TOpenGLPanel windowless;
    QVERIFY(!a.panel->PanelShareLists(&windowless));
    QVERIFY(!a.panel->PanelShareLists(nullptr));
}

void TestOpenGLPanel::inputReachesTheHandlers()
{
    PanelHost host;
    TOpenGLPanel *panel = host.panel;
    QStringList events;
    const auto mouse = [&](const char *name) {
        return [&events, name](TOpenGLPanel *, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                   int y) { events << QString("%1 %2 %3,%4").arg(name).arg(button).arg(x).arg(y); };
    };
    panel->OnMouseDown = mouse("down");
    panel->OnMouseUp = mouse("up");
    panel->OnClick = [&](TOpenGLPanel *) { events << "click"; };
    panel->OnDblClick = [&](TOpenGLPanel *) { events << "double"; };
    panel->OnMouseMove = [&](TOpenGLPanel *, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                             int y) { events << QString("move %1,%2").arg(x).arg(y); };
    panel->OnEnter = [&](TOpenGLPanel *) { events << "enter"; };
    panel->OnExit = [&](TOpenGLPanel *) { events << "exit"; };
    QVERIFY(host.show());
    QWindow *window = panel->PanelWindow();

    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(30, 40));
    QCOMPARE(events, (QStringList { "move 30,40", "down 1 30,40", "click", "up 1 30,40" }));
    events.clear();
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(5, 6));
    QTest::mouseMove(window, QPoint(7, 8));
    QCOMPARE(events, (QStringList { "move 5,6", "down 2 5,6", "up 2 5,6", "move 7,8" }));
    events.clear();
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(9, 9));
    QCOMPARE(events.count("click"), 1); // the first press and release only
    QVERIFY(events.contains("double"));

    // A drop is taken only when OnDragOver accepts it.
    QMimeData data;
    QPoint dropped;
    panel->OnDragOver
        = [&](TOpenGLPanel *, QObject *, int x, int, bool &accept) { accept = x < 100; };
    panel->OnDragDrop = [&](TOpenGLPanel *, QObject *, int x, int y) { dropped = QPoint(x, y); };
    QList<bool> accepted;
    for (const int x : { 50, 150 }) {
        QDragMoveEvent move(QPoint(x, 6), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &move);
        accepted << move.isAccepted();
    }
    QDropEvent drop(QPointF(3, 4), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window, &drop);
    QCOMPARE(accepted, (QList<bool> { true, false }));
    QCOMPARE(dropped, QPoint(3, 4));

    events.clear();
    QWidget other(&host.window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    host.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host.window));
    panel->findChild<QWidget *>()->setFocus();
    other.setFocus();
    QCOMPARE(events, (QStringList { "enter", "exit" }));
}

// Codes beyond the last byte get empty lists, even where first + count passes INT_MAX.
void TestOpenGLPanel::fontCodesAtTheTopOfTheRange()
{
    PanelHost host;
    QVERIFY(host.show());
    host.panel->MakeOpenGLPanelCurrent();
    auto font = host.panel->Create2DFont(host.panel->Font2D_Type(), INT_MAX - 1, 4);
    QVERIFY(font && glIsList(font->ListBase + 3));
    TOpenGLPanel::Release2DFont(std::move(font));
    host.panel->MakeOpenGLPanelNotCurrent();
}

QTEST_MAIN(TestOpenGLPanel)
#include "tst_openglpanel.moc"
