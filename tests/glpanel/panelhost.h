#pragma once

#include "glpanel/openglpanel.h"

#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

// A top-level window holding one panel, shown on demand.
struct PanelHost
{
    PanelHost()
    {
        window.resize(320, 240);
        panel = new TOpenGLPanel(&window);
        panel->setGeometry(8, 12, 200, 150);
    }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(panel->PanelWindow());
    }

    // What the X server shows of the panel's window.
    QImage onScreen() const
    {
        QWindow *native = panel->PanelWindow();
        return native->screen()->grabWindow(native->winId()).toImage();
    }

    QWidget window;
    TOpenGLPanel *panel = nullptr; // owned by window
};

inline void clearTo(float r, float g, float b)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Clears to black and maps one unit to one device pixel, origin bottom left, drawing white.
inline void blackPixelCanvas(TOpenGLPanel *panel)
{
    clearTo(0, 0, 0);
    glViewport(0, 0, panel->PixelWidth(), panel->PixelHeight());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, panel->PixelWidth(), 0, panel->PixelHeight(), -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
}
