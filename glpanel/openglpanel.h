#pragma once

#include "glpanel/bmptexture.h"
#include "glpanel/logicalpalette.h"
#include "glpanel/openglfont.h"
#include "glpanel/panelfont.h"
#include "glpanel/pixelformat.h"
#include "glpanel/printlayout.h"

#include <QByteArrayView>
#include <QImage>
#include <QWidget>
#include <QtGui/qopengl.h> // users draw with OpenGL 1.1 in the handlers

#include <functional>
#include <memory>

class QMouseEvent;
class QOpenGLContext;
class QPaintDevice;
class OpenGLPanelWindow;

enum class TOpenGLSwapBuffers { Auto = 0, Manual = 1 };
enum TFont3DFormat { f_WGL_FONT_LINES = 0, f_WGL_FONT_POLYGONS = 1 };

// A control that owns one OpenGL context on a native child window and calls its user's
// handlers with that context current: OnPreInit before the window exists, OnInit once the
// window and context are made (fonts already built), OnResize and OnPaint afterwards. The
// context is current only inside those handlers, or between MakeOpenGLPanelCurrent and
// MakeOpenGLPanelNotCurrent. Platform failures are shown in message boxes, never thrown.
//
// Sizes: the window may be scaled by a device pixel ratio. OnResize and OnPaint should set
// glViewport(0, 0, PixelWidth(), PixelHeight()); width() and height() are logical pixels.
// Pictures taken of the panel (printing, saving) are in device pixels; mouse positions are in
// logical pixels from the panel's top left.
class TOpenGLPanel : public QWidget
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TOpenGLPanel *sender)>;
    using TMouseEvent = std::function<void(
        TOpenGLPanel *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(
        TOpenGLPanel *sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y)>;
    // source: the widget or object the drag comes from, null from another program.
    using TDragOverEvent
        = std::function<void(TOpenGLPanel *sender, QObject *source, int x, int y, bool &accept)>;
    using TDragDropEvent = std::function<void(TOpenGLPanel *sender, QObject *source, int x, int y)>;

    explicit TOpenGLPanel(QWidget *owner = nullptr);
    ~TOpenGLPanel() override;

    // Properties with a setter read through the function of the same name; none of the
    // setters rebuilds anything (pixel format: next window creation; fonts: next build).
    TPFDPixelTypes PixelType() const { return m_PixelType; }
    void SetPFDPixelType(TPFDPixelTypes value);
    TPFDFlagSet PFDFlags() const { return m_PFDFlags; }
    void SetPFDFlags(TPFDFlagSet value);
    quint8 cColorBits() const { return m_cColorBits; }
    void SetPFDNumColorBits(quint8 value) { m_cColorBits = value; }
    quint8 cDepthBits() const { return m_cDepthBits; }
    void SetPFDNumDepthBits(quint8 value) { m_cDepthBits = value; }
    TOpenGLSwapBuffers GLSwapBuffers = TOpenGLSwapBuffers::Auto;
    qint32 PixelsPerInch() const { return m_PixelsPerInch; }
    void SetOpenGLPixelsPerInch(qint32 value) { m_PixelsPerInch = value; }
    TOpenGLPrintScale PrintScale() const { return m_PrintScale; }
    void SetOpenGLPrintScale(TOpenGLPrintScale value) { m_PrintScale = value; }

    bool Font3D_Enabled = false;
    PanelFont *Font3D_Type() const { return m_Font3D_Type.get(); } // owned by the panel
    void SetFont3DType(const PanelFont *font);
    qint32 Font3D_FirstGylph = 32;
    qint32 Font3D_NumGylph = 96;
    float Font3D_MaxDeviation = 0.0f;
    float Font3D_Extrustion = 0.1f;
    TFont3DFormat Font3D_Format() const { return m_Font3D_Format; }
    void SetFont3DFormat(TFont3DFormat value);

    bool Font2D_Enabled = false;
    PanelFont *Font2D_Type() const { return m_Font2D_Type.get(); } // owned by the panel
    void SetFont(const PanelFont *font);
    qint32 Font2D_FirstGylph = 32;
    qint32 Font2D_NumGylph = 96;

    TNotifyEvent OnInit;
    TNotifyEvent OnPreInit;
    TNotifyEvent OnResize;
    TNotifyEvent OnPaint;

    // Input, as any panel reports it. OnClick follows a left press and release inside the
    // panel, before OnMouseUp; a double click reports OnMouseDown and OnDblClick instead.
    // OnEnter and OnExit: the panel gains and loses the keyboard focus.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TDragOverEvent OnDragOver; // accept starts false; set it to take the drop
    TDragDropEvent OnDragDrop;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Context.
    bool CreateGLContext(); // a context made before is released first, with its fonts
    void DestroyGLContext();
    bool ConstructPalette(PIXELFORMATDESCRIPTOR &format);
    void MakeOpenGLPanelCurrent();
    void MakeOpenGLPanelNotCurrent();
    void SwapBuffers(); // presents only for a double-buffered format; ignores GLSwapBuffers
    // The other panel's context is made anew sharing this panel's display lists. Its lists
    // go with the old context; its fonts, OnInit and OnResize run again in the new one, so
    // it draws as before. Returns with no context current.
    bool PanelShareLists(TOpenGLPanel *other);

    // Painting. Repaint paints at once through OnPaint (and the swap); Invalidate asks for a
    // paint from the event loop. GrabFrame paints at once and returns the frame OnPaint drew,
    // read from the back buffer before the swap, in device pixels; null without a context or
    // OnPaint, and black when OnPaint swaps itself. TakePicture raises the panel above its
    // siblings, paints at once and returns what the screen then shows of it, in device
    // pixels; null before the window exists, when the panel has no area, or when the screen
    // gives less than all of it.
    void Repaint();
    void Invalidate();
    QImage GrabFrame();
    QImage TakePicture();
    int PixelWidth() const;
    int PixelHeight() const;
    QSize PixelSize() const { return { PixelWidth(), PixelHeight() }; }
    // Destroys the native window and creates it again with the current properties; does
    // nothing before the window was first made.
    void RecreateWnd();

    // The picture on the default printer, or on page (a printer or an image), as one page
    // scaled by PrintScale. Shows "Print: Malloc Error" and prints nothing when there is no
    // picture to take; throws PrintFailure when the printer cannot begin or end it.
    void PrintOpenGLPanel();
    void PrintOpenGLPanel(QPaintDevice &page);
    // The picture as a 24-bit BMP, replacing the file; throws std::runtime_error when there
    // is no picture or the file cannot be written, leaving an existing file as it was.
    void SaveOpenGLPanelToFile(const QString &fileName);
    // fileName in the local 8-bit encoding of file names; null on any failure.
    static std::unique_ptr<BMPTexture> LoadBMPTexture(QByteArrayView fileName, bool alpha);
    // Whether the current context lists the extension; false without a current context.
    static bool QueryOpenGLExtention(QByteArrayView name);
    qint32 GetDisplayBPP() const;
    // The depth of a display cannot be changed here: true only for the depth it has.
    bool SetDisplayBPP(qint32 bitsPerPixel) const;

    // Fonts. Building and drawing need the context current. Records made by the argument
    // forms belong to the caller; release them with the context they were built in current.
    void Create2DFont();
    std::unique_ptr<OpenGLFont2D> Create2DFont(const PanelFont *font, qint32 first, qint32 count);
    void Create3DFont();
    std::unique_ptr<OpenGLFont3D> Create3DFont(const PanelFont *font, qint32 first, qint32 count,
        float deviation, float extrusion, qint32 format);
    static void Release2DFont(std::unique_ptr<OpenGLFont2D> font);
    static void Release3DFont(std::unique_ptr<OpenGLFont3D> font);
    void Draw2DText(QByteArrayView text);
    static void Draw2DText(const OpenGLFont2D *font, QByteArrayView text);
    void Draw3DText(QByteArrayView text);
    static void Draw3DText(const OpenGLFont3D *font, QByteArrayView text);
    // size: x extent, y extent, depth; untouched for an empty text or a null size.
    void Get3DTextSize(QByteArrayView text, double *size) const;
    static void Get3DTextSize(const OpenGLFont3D *font, QByteArrayView text, double *size);

    // State the properties lead to.
    quint8 PixelTypeCode() const { return m_FPixelTypeCode; }
    qint32 Font3DFormatCode() const { return m_FFont3DFormatCode; }
    PIXELFORMATDESCRIPTOR PixelFormatRequest() const;
    PIXELFORMATDESCRIPTOR DescribedPixelFormat() const { return m_described; }
    bool DoubleBufferFormat() const { return m_FDoubleBufferFormat; }
    QOpenGLContext *RenderContext() const { return m_FRenderContext.get(); }
    const LogicalPalette *PaletteHandle() const { return m_FPaletteHandle.get(); }
    const OpenGLFont2D *FFont2D() const { return m_FFont2D.get(); }
    const OpenGLFont3D *FFont3D() const { return m_FFont3D.get(); }
    QWindow *PanelWindow() const;

    // Window messages, routed from the native window.
    bool Dispatch(QEvent *event);
    int WMEraseBkgnd() const { return 1; } // never erased: no flicker between frames
    int WMQueryNewPalette();
    void WMPaletteChanged(QWindow *changedBy);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Steps of the window's life, reached through Dispatch in the order the window takes.
    void CreateParams();
    void WMCreate();
    void WMDestroy();
    void Paint();
    void Resize();

    bool makeCurrent(); // the wglMakeCurrent of Paint, Resize and WMCreate, with its message
    void initialise(); // fonts and OnInit in a new context
    void releaseFonts();
    void paintFrame(QImage *grab);
    void mouseEvent(const QMouseEvent &event);
    bool dragEvent(QEvent *event);

    TPFDFlagSet m_PFDFlags;
    bool m_FDoubleBufferFormat = false;
    TPFDPixelTypes m_PixelType = f_PFD_TYPE_RGBA;
    quint8 m_FPixelTypeCode = 0;
    quint8 m_cColorBits = 32;
    quint8 m_cDepthBits = 32;
    TOpenGLPrintScale m_PrintScale = pglProportional;
    qint32 m_PixelsPerInch = 96;
    std::unique_ptr<PanelFont> m_Font3D_Type;
    TFont3DFormat m_Font3D_Format = f_WGL_FONT_POLYGONS;
    qint32 m_FFont3DFormatCode = WGL_FONT_POLYGONS;
    std::unique_ptr<OpenGLFont3D> m_FFont3D;
    std::unique_ptr<PanelFont> m_Font2D_Type;
    std::unique_ptr<OpenGLFont2D> m_FFont2D;

    OpenGLPanelWindow *m_FPanelDC = nullptr; // the window while a context is made for it
    std::unique_ptr<QOpenGLContext> m_FRenderContext;
    std::unique_ptr<LogicalPalette> m_FPaletteHandle;
    PIXELFORMATDESCRIPTOR m_described;

    OpenGLPanelWindow *m_window = nullptr; // owned by m_container
    QWidget *m_container = nullptr;
    bool m_clickPending = false; // a left press not yet released, and not a double click
};
