#include "glpanel/openglpanelwindow.h"

#include "glpanel/openglpanel.h"

OpenGLPanelWindow::OpenGLPanelWindow(TOpenGLPanel *panel)
    : m_panel(panel)
{
    setSurfaceType(QSurface::OpenGLSurface);
}

bool OpenGLPanelWindow::event(QEvent *event)
{
    if (m_panel && m_panel->Dispatch(event))
        return true;
    return QWindow::event(event);
}
