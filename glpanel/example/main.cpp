// The panel on its own: a rotating triangle with a text label.
// "--frames N" quits after N frames, which lets the tests run it.
#include "openglpanel.h"

#include <QApplication>
#include <QTimer>

#include <cmath>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype framesAt = arguments.indexOf(QStringLiteral("--frames"));
    const int frameLimit = framesAt >= 0 ? arguments.value(framesAt + 1).toInt() : 0;
    int frames = 0;

    QWidget window;
    window.setWindowTitle(QStringLiteral("OpenGL panel"));
    window.resize(400, 320);

    auto *panel = new TOpenGLPanel(&window);
    panel->setGeometry(8, 8, 384, 304);
    panel->Font2D_Enabled = true;
    panel->Font2D_Type()->setFamily(QStringLiteral("Arial"));
    panel->Font2D_Type()->setPixelSize(16);

    float angle = 0.0f;
    panel->OnInit = [](TOpenGLPanel *) { glClearColor(0.1f, 0.1f, 0.2f, 1.0f); };
    panel->OnResize = [](TOpenGLPanel *sender) {
        glViewport(0, 0, sender->PixelWidth(), sender->PixelHeight());
    };
    panel->OnPaint = [&angle, &frames](TOpenGLPanel *sender) {
        ++frames;
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(angle, 0.0f, 0.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        glColor3f(1.0f, 0.0f, 0.0f);
        glVertex2f(0.0f, 0.8f);
        glColor3f(0.0f, 1.0f, 0.0f);
        glVertex2f(-0.7f, -0.5f);
        glColor3f(0.0f, 0.0f, 1.0f);
        glVertex2f(0.7f, -0.5f);
        glEnd();

        glLoadIdentity();
        glColor3f(1.0f, 1.0f, 1.0f);
        glRasterPos2f(-0.95f, -0.92f);
        sender->Draw2DText(QByteArray("angle ") + QByteArray::number(int(angle)));
    };

    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, panel, [&] {
        angle = std::fmod(angle + 2.0f, 360.0f);
        panel->Repaint();
        if (frameLimit > 0 && frames >= frameLimit)
            app.quit();
    });
    timer.start(20);

    window.show();
    return app.exec();
}
