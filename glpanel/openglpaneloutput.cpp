// The panel's services around its picture and its platform: printing, saving, textures,
// extension and display queries.
#include "glpanel/extensionlist.h"
#include "glpanel/openglpanel.h"
#include "glpanel/openglpanelwindow.h"
#include "glpanel/panelfailure.h"
#include "glpanel/replacefile.h"

#include <QFile>
#include <QOpenGLContext>
#include <QPrinter>
#include <QScreen>

#include <stdexcept>

QImage TOpenGLPanel::TakePicture()
{
    if (!m_window->handle() || PixelSize().isEmpty())
        return {};
    raise();
    // A panel already its parent's last child is left where it is, though a
    // native sibling may cover its window.
    m_window->raise();
    Paint();
    // What the window shows once the frame is presented, as a printout of the screen would.
    QImage picture = m_window->screen()->grabWindow(m_window->winId()).toImage();
    if (picture.size() != PixelSize())
        return {};
    picture.setDevicePixelRatio(1.0);
    return picture.convertToFormat(QImage::Format_RGB32);
}

void TOpenGLPanel::PrintOpenGLPanel()
{
    QPrinter printer(QPrinter::HighResolution);
    PrintOpenGLPanel(printer);
}

void TOpenGLPanel::PrintOpenGLPanel(QPaintDevice &page)
{
    const QImage picture = TakePicture();
    // Before a missing picture is reported, as the scaling comes before the bitmap's memory.
    if (m_PrintScale == pglProportional && m_PixelsPerInch < 1)
        m_PixelsPerInch = 96;
    if (picture.isNull()) {
        ReportPanelFailure(QStringLiteral("Print: Malloc Error"));
        return;
    }
    const QRect target
        = PrintRectangle(m_PrintScale, picture.size(), QSize(page.width(), page.height()),
            page.logicalDpiX(), page.logicalDpiY(), m_PixelsPerInch);
    PrintPage(page, picture, target); // nearest pixel, as a device-independent bitmap
}

void TOpenGLPanel::SaveOpenGLPanelToFile(const QString &fileName)
{
    const QImage picture = TakePicture();
    if (picture.isNull())
        throw std::runtime_error("Save: the panel has no picture to save");
    try {
        ReplaceFile(fileName, [&picture](QIODevice &file) { return picture.save(&file, "BMP"); });
    } catch (const FileWriteFailure &failure) {
        throw std::runtime_error(QStringLiteral("Cannot write %1: %2")
                                     .arg(fileName, QString::fromStdString(failure.what()))
                                     .toStdString());
    }
}

std::unique_ptr<BMPTexture> TOpenGLPanel::LoadBMPTexture(QByteArrayView fileName, bool alpha)
{
    return ReadBMPTexture(QFile::decodeName(fileName.toByteArray()), alpha);
}

bool TOpenGLPanel::QueryOpenGLExtention(QByteArrayView name)
{
    if (!QOpenGLContext::currentContext())
        return false;
    return ExtensionListContains(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)), name);
}

qint32 TOpenGLPanel::GetDisplayBPP() const
{
    const QScreen *display = screen();
    return display ? display->depth() : 0;
}

bool TOpenGLPanel::SetDisplayBPP(qint32 bitsPerPixel) const
{
    return bitsPerPixel == GetDisplayBPP();
}
