#pragma once

#include "openglpanel.h"

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
