#include "glpanel/openglpanel.h"

#include "glpanel/glyphlists.h"
#include "glpanel/openglpanelaccessible.h"
#include "glpanel/openglpanelwindow.h"
#include "glpanel/panelfailure.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPlatformSurfaceEvent>
#include <QResizeEvent>
#include <QtGui/qopengl.h>

#include <cfenv>
#include <cmath>
#include <new>
#include <utility>
#if defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#endif

namespace {

// Qt gives no cause when a context call fails; the messages then carry 0.
constexpr int NoErrorCode = 0;

QString failure(const char *call)
{
    return QStringLiteral("%1:%2").arg(QLatin1String(call)).arg(NoErrorCode);
}

void maskFloatingPointExceptions()
{
    fedisableexcept(FE_ALL_EXCEPT);
#if defined(__i386__) || defined(__x86_64__)
    // FE_ALL_EXCEPT leaves out the x87 denormal-operand exception.
    fpu_control_t word;
    _FPU_GETCW(word);
    word |= 0x3F;
    _FPU_SETCW(word);
#endif
}

// Leaves no context current when a handler returns or throws.
struct NotCurrentOnExit
{
    NotCurrentOnExit() = default;
    NotCurrentOnExit(const NotCurrentOnExit &) = delete;
    NotCurrentOnExit &operator=(const NotCurrentOnExit &) = delete;
    ~NotCurrentOnExit()
    {
        if (QOpenGLContext *current = QOpenGLContext::currentContext())
            current->doneCurrent();
    }
};

bool allInRange(qint32 first, qint32 count, QByteArrayView text)
{
    const qint64 last = qint64(first) + count - 1;
    for (char c : text) {
        const int code = static_cast<unsigned char>(c);
        if (code < first || code > last)
            return false;
    }
    return true;
}

} // namespace

TOpenGLPanel::TOpenGLPanel(QWidget *owner)
    : QWidget(owner)
{
    maskFloatingPointExceptions();
    InstallOpenGLPanelAccessibility();
    m_PFDFlags = { f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER };
    m_Font3D_Type = std::make_unique<PanelFont>();
    m_Font2D_Type = std::make_unique<PanelFont>();

    // The GL window covers the panel; nothing of the panel itself is ever painted.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_window = new OpenGLPanelWindow(this);
    m_container = QWidget::createWindowContainer(m_window, this);
    m_container->setAttribute(Qt::WA_NoSystemBackground);
    m_container->installEventFilter(this);
    m_container->setGeometry(rect());
}

TOpenGLPanel::~TOpenGLPanel()
{
    m_container->removeEventFilter(this);
    // Destroy the native window while the panel can still answer its last events.
    m_window->destroy();
    m_window->detachPanel();
    if (m_FRenderContext)
        DestroyGLContext();
}

void TOpenGLPanel::SetPFDPixelType(TPFDPixelTypes value)
{
    m_PixelType = value;
    m_FPixelTypeCode = value == f_PFD_TYPE_RGBA ? PFD_TYPE_RGBA : PFD_TYPE_COLORINDEX;
}

void TOpenGLPanel::SetPFDFlags(TPFDFlagSet value)
{
    m_PFDFlags = ApplyPFDFlagsRule(value, m_PFDFlags);
}

void TOpenGLPanel::SetFont3DType(const PanelFont *font)
{
    if (font)
        *m_Font3D_Type = *font;
}

void TOpenGLPanel::SetFont3DFormat(TFont3DFormat value)
{
    m_Font3D_Format = value;
    m_FFont3DFormatCode = value == f_WGL_FONT_LINES ? WGL_FONT_LINES : WGL_FONT_POLYGONS;
}

void TOpenGLPanel::SetFont(const PanelFont *font)
{
    if (font)
        *m_Font2D_Type = *font;
}

PIXELFORMATDESCRIPTOR TOpenGLPanel::PixelFormatRequest() const
{
    return BuildPixelFormatRequest(m_PFDFlags, m_FPixelTypeCode, m_cColorBits, m_cDepthBits);
}

QWindow *TOpenGLPanel::PanelWindow() const
{
    return m_window;
}

bool TOpenGLPanel::CreateGLContext()
{
    if (m_FRenderContext)
        DestroyGLContext();
    m_FPanelDC = m_window->handle() ? m_window : nullptr;
    const auto releaseDC = [this] { m_FPanelDC = nullptr; };

    // Only OpenGL surfaces of windows exist here; a request for anything else matches none.
    PIXELFORMATDESCRIPTOR format = PixelFormatRequest();
    if (!m_FPanelDC || !(format.dwFlags & PFD_SUPPORT_OPENGL)
        || !(format.dwFlags & PFD_DRAW_TO_WINDOW)) {
        ReportPanelFailure(failure("ChoosePixelFormat"));
        releaseDC();
        return false;
    }
    // The window's visual was fixed from the same request when it was created (CreateParams).
    m_FDoubleBufferFormat = format.dwFlags & PFD_DOUBLEBUFFER;
    format = DescribeSurfaceFormat(m_window->format());
    m_described = format;
    if (format.dwFlags & PFD_NEED_PALETTE) {
        if (!ConstructPalette(format)) {
            releaseDC();
            return false;
        }
    } else {
        m_FPaletteHandle.reset();
    }

    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(m_window->requestedFormat());
    if (!context->create()) {
        ReportPanelFailure(failure("wglRenderingContext"));
        m_FPaletteHandle.reset();
        releaseDC();
        return false;
    }
    m_FRenderContext = std::move(context);
    return true;
}

void TOpenGLPanel::releaseFonts()
{
    // Lists outlive their context while another context shares them, so they are deleted
    // by name, with their own context current (a name means other lists in another one).
    if ((m_FFont3D || m_FFont2D) && m_FRenderContext && m_FPanelDC
        && m_FRenderContext->makeCurrent(m_FPanelDC)) {
        Release3DFont(std::move(m_FFont3D));
        Release2DFont(std::move(m_FFont2D));
    }
    m_FFont3D.reset();
    m_FFont2D.reset();
}

void TOpenGLPanel::DestroyGLContext()
{
    releaseFonts();
    MakeOpenGLPanelNotCurrent();
    if (!m_FRenderContext)
        return;
    m_FRenderContext.reset();
    m_FPaletteHandle.reset();
    if (!m_FPanelDC)
        ReportPanelFailure(QStringLiteral("ReleaseDC: Failed"));
    m_FPanelDC = nullptr;
}

bool TOpenGLPanel::ConstructPalette(PIXELFORMATDESCRIPTOR &format)
{
    std::unique_ptr<LogicalPalette> palette;
    try {
        palette = std::make_unique<LogicalPalette>(ComputeLogicalPalette(format));
    } catch (const std::bad_alloc &) {
        ReportPanelFailure(QStringLiteral("ConstructPalette: Malloc failure"));
        return false;
    }
    if (palette->palNumEntries == 0) {
        ReportPanelFailure(failure("CreatePalette"));
        return false;
    }
    m_FPaletteHandle = std::move(palette);
    return true;
}

bool TOpenGLPanel::makeCurrent()
{
    // Without a context there is nothing to bind; its failed creation was already reported.
    if (!m_FRenderContext || !m_FPanelDC)
        return false;
    if (m_FRenderContext->makeCurrent(m_FPanelDC))
        return true;
    ReportPanelFailure(failure("wglMakeCurrent"));
    return false;
}

void TOpenGLPanel::MakeOpenGLPanelCurrent()
{
    makeCurrent();
}

void TOpenGLPanel::MakeOpenGLPanelNotCurrent()
{
    if (QOpenGLContext *current = QOpenGLContext::currentContext())
        current->doneCurrent();
}

void TOpenGLPanel::SwapBuffers()
{
    // Qt leaves swapping a window that is not on screen undefined.
    if (m_FDoubleBufferFormat && m_FRenderContext && m_FPanelDC && m_FPanelDC->isExposed())
        m_FRenderContext->swapBuffers(m_FPanelDC);
}

bool TOpenGLPanel::PanelShareLists(TOpenGLPanel *other)
{
    if (!other || other == this || !m_FRenderContext || !other->m_FRenderContext)
        return false;
    // Qt shares only between contexts told so at creation: the other context is made anew
    // and set up again as at its window's creation.
    auto shared = std::make_unique<QOpenGLContext>();
    shared->setFormat(other->m_window->requestedFormat());
    shared->setShareContext(m_FRenderContext.get());
    if (!shared->create() || shared->shareContext() != m_FRenderContext.get())
        return false;
    other->releaseFonts();
    MakeOpenGLPanelNotCurrent();
    other->m_FRenderContext = std::move(shared);
    other->initialise();
    other->Resize();
    other->Invalidate();
    return true;
}

void TOpenGLPanel::Repaint()
{
    Paint();
}

void TOpenGLPanel::Invalidate()
{
    if (m_window->handle())
        m_window->requestUpdate();
}

QImage TOpenGLPanel::GrabFrame()
{
    QImage frame;
    paintFrame(&frame);
    return frame;
}

int TOpenGLPanel::PixelWidth() const
{
    return int(std::lround(m_window->width() * m_window->devicePixelRatio()));
}

int TOpenGLPanel::PixelHeight() const
{
    return int(std::lround(m_window->height() * m_window->devicePixelRatio()));
}

void TOpenGLPanel::RecreateWnd()
{
    if (!m_window->handle())
        return; // the first show makes the window
    const bool visible = m_window->isVisible();
    m_window->destroy();
    CreateParams();
    m_window->create();
    if (visible)
        m_window->show();
}

void TOpenGLPanel::Paint()
{
    paintFrame(nullptr);
}

void TOpenGLPanel::paintFrame(QImage *grab)
{
    if (!OnPaint)
        return;
    // A palette would be selected and realized here; a true-colour display needs neither.
    if (!makeCurrent())
        return;
    const NotCurrentOnExit release;
    OnPaint(this);
    if (grab) {
        const QSize size = PixelSize();
        QImage image(size, QImage::Format_RGBA8888);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_SKIP_ROWS, 0);
        glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
        GLint readBuffer = GL_BACK;
        glGetIntegerv(GL_READ_BUFFER, &readBuffer);
        glReadBuffer(m_FDoubleBufferFormat ? GL_BACK : GL_FRONT);
        glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        glReadBuffer(GLenum(readBuffer));
        glPopClientAttrib();
        *grab = image.mirrored().convertToFormat(QImage::Format_RGB32);
    }
    if (GLSwapBuffers == TOpenGLSwapBuffers::Auto && m_FDoubleBufferFormat)
        SwapBuffers();
}

void TOpenGLPanel::Resize()
{
    if (OnResize && makeCurrent()) {
        const NotCurrentOnExit release;
        OnResize(this);
    }
}

bool TOpenGLPanel::Dispatch(QEvent *event)
{
    switch (event->type()) {
    case QEvent::PlatformSurface:
        if (static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType()
            == QPlatformSurfaceEvent::SurfaceCreated)
            WMCreate();
        else
            WMDestroy();
        return false;
    case QEvent::Expose:
        if (m_window->isExposed())
            Paint();
        return true;
    case QEvent::UpdateRequest:
        Paint();
        return true;
    case QEvent::Resize:
        if (m_window->handle())
            Resize();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        mouseEvent(*static_cast<QMouseEvent *>(event));
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return dragEvent(event);
    default:
        return false;
    }
}

void TOpenGLPanel::mouseEvent(const QMouseEvent &event)
{
    const int x = int(event.position().x());
    const int y = int(event.position().y());
    const Qt::KeyboardModifiers shift = event.modifiers();
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        m_clickPending = event.button() == Qt::LeftButton;
        if (OnMouseDown)
            OnMouseDown(this, event.button(), shift, x, y);
        break;
    case QEvent::MouseButtonDblClick:
        m_clickPending = false;
        if (OnMouseDown)
            OnMouseDown(this, event.button(), shift, x, y);
        if (OnDblClick && event.button() == Qt::LeftButton)
            OnDblClick(this);
        break;
    case QEvent::MouseButtonRelease:
        if (event.button() == Qt::LeftButton && std::exchange(m_clickPending, false) && OnClick
            && rect().contains(x, y))
            OnClick(this);
        if (OnMouseUp)
            OnMouseUp(this, event.button(), shift, x, y);
        break;
    default:
        if (OnMouseMove)
            OnMouseMove(this, event.buttons(), shift, x, y);
        break;
    }
}

bool TOpenGLPanel::dragEvent(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    const int x = int(drop->position().x());
    const int y = int(drop->position().y());
    if (event->type() == QEvent::Drop) {
        if (!OnDragDrop)
            return false;
        OnDragDrop(this, drop->source(), x, y);
        drop->acceptProposedAction();
        return true;
    }
    bool accept = false;
    if (OnDragOver)
        OnDragOver(this, drop->source(), x, y, accept);
    if (accept)
        drop->acceptProposedAction();
    else
        drop->ignore();
    return true;
}

void TOpenGLPanel::CreateParams()
{
    if (OnPreInit)
        OnPreInit(this);
    // An X11 window's visual is fixed when it is made, so the pixel format is chosen here.
    m_window->setFormat(SurfaceFormatFromRequest(PixelFormatRequest()));
}

void TOpenGLPanel::WMCreate()
{
    if (CreateGLContext())
        initialise();
    else
        ReportPanelFailure(QStringLiteral("Open GL Context Create Failed"));
    // The size the window was made with, reported after creation.
    Resize();
}

void TOpenGLPanel::initialise()
{
    if (!OnInit)
        return;
    const NotCurrentOnExit release;
    if (!m_FRenderContext->makeCurrent(m_FPanelDC))
        ReportPanelFailure(failure("wglMakeCurrent"));
    if (Font3D_Enabled)
        Create3DFont();
    if (Font2D_Enabled)
        Create2DFont();
    OnInit(this);
}

void TOpenGLPanel::WMDestroy()
{
    DestroyGLContext();
}

int TOpenGLPanel::WMQueryNewPalette()
{
    // Realizing a palette on a true-colour display remaps no entry, so nothing is repainted.
    return 0;
}

void TOpenGLPanel::WMPaletteChanged(QWindow *changedBy)
{
    if (changedBy != m_window)
        WMQueryNewPalette();
}

bool TOpenGLPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_container) {
        // The container makes the native window when it is first shown.
        if (event->type() == QEvent::Show && !m_window->handle())
            CreateParams();
        // The container holds the focus for the native window.
        else if (event->type() == QEvent::FocusIn && OnEnter)
            OnEnter(this);
        else if (event->type() == QEvent::FocusOut && OnExit)
            OnExit(this);
    }
    return QWidget::eventFilter(watched, event);
}

void TOpenGLPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_container->setGeometry(rect());
}

void TOpenGLPanel::paintEvent(QPaintEvent *) { }

void TOpenGLPanel::Create2DFont()
{
    Release2DFont(std::move(m_FFont2D));
    m_FFont2D = Create2DFont(m_Font2D_Type.get(), Font2D_FirstGylph, Font2D_NumGylph);
}

std::unique_ptr<OpenGLFont2D> TOpenGLPanel::Create2DFont(
    const PanelFont *font, qint32 first, qint32 count)
{
    if (!font || count <= 0)
        return nullptr;
    const GLuint base = glGenLists(count);
    if (base == 0)
        return nullptr;
    auto record = std::make_unique<OpenGLFont2D>(OpenGLFont2D { first, count, base });
    UseFontBitmaps(*font, first, count, base);
    return record;
}

void TOpenGLPanel::Create3DFont()
{
    Release3DFont(std::move(m_FFont3D));
    m_FFont3D = Create3DFont(m_Font3D_Type.get(), Font3D_FirstGylph, Font3D_NumGylph,
        Font3D_MaxDeviation, Font3D_Extrustion, m_FFont3DFormatCode);
}

std::unique_ptr<OpenGLFont3D> TOpenGLPanel::Create3DFont(const PanelFont *font, qint32 first,
    qint32 count, float deviation, float extrusion, qint32 format)
{
    if (!font || count <= 0)
        return nullptr;
    const GLuint base = glGenLists(count);
    if (base == 0)
        return nullptr;
    auto record = std::make_unique<OpenGLFont3D>();
    record->FirstGlyph = first;
    record->GlyphCount = count;
    record->ListBase = base;
    record->Extrusion = extrusion;
    record->GlyphMetrics.resize(std::size_t(count));
    UseFontOutlines(
        *font, first, count, base, deviation, extrusion, format, record->GlyphMetrics.data());
    return record;
}

void TOpenGLPanel::Release2DFont(std::unique_ptr<OpenGLFont2D> font)
{
    if (font)
        glDeleteLists(font->ListBase, font->GlyphCount);
}

void TOpenGLPanel::Release3DFont(std::unique_ptr<OpenGLFont3D> font)
{
    if (font)
        glDeleteLists(font->ListBase, font->GlyphCount);
}

void TOpenGLPanel::Draw2DText(QByteArrayView text)
{
    Draw2DText(m_FFont2D.get(), text);
}

void TOpenGLPanel::Draw2DText(const OpenGLFont2D *font, QByteArrayView text)
{
    if (!font || text.isEmpty() || !allInRange(font->FirstGlyph, font->GlyphCount, text))
        return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(font->ListBase - GLuint(font->FirstGlyph));
    glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
}

void TOpenGLPanel::Draw3DText(QByteArrayView text)
{
    Draw3DText(m_FFont3D.get(), text);
}

void TOpenGLPanel::Draw3DText(const OpenGLFont3D *font, QByteArrayView text)
{
    if (!font || text.isEmpty() || !allInRange(font->FirstGlyph, font->GlyphCount, text))
        return;
    glPushAttrib(GL_LIST_BIT);
    GLint frontFace = GL_CCW;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glListBase(font->ListBase - GLuint(font->FirstGlyph));
    glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
    glFrontFace(GLenum(frontFace));
    glPopAttrib();
}

void TOpenGLPanel::Get3DTextSize(QByteArrayView text, double *size) const
{
    Get3DTextSize(m_FFont3D.get(), text, size);
}

void TOpenGLPanel::Get3DTextSize(const OpenGLFont3D *font, QByteArrayView text, double *size)
{
    if (!font || !size || text.isEmpty())
        return;
    size[0] = 0.0;
    size[1] = 0.0;
    size[2] = font->Extrusion;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qint64 index = qint64(static_cast<unsigned char>(text[i])) - font->FirstGlyph;
        if (index < 0 || index >= font->GlyphCount) {
            size[0] = size[1] = size[2] = 0.0;
            return;
        }
        const GLYPHMETRICSFLOAT &metrics = font->GlyphMetrics[std::size_t(index)];
        if (i + 1 < text.size()) {
            size[0] += metrics.gmfCellIncX;
            size[1] += metrics.gmfCellIncY;
        } else {
            size[0] += metrics.gmfBlackBoxX;
            size[1] += metrics.gmfBlackBoxY;
        }
    }
}
