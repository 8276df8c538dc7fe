// The panel on its own: a rotating triangle with a text label. P prints the picture to
// glpanel-example.pdf, S saves it as glpanel-example.bmp, both in the current folder.
// "--frames N" quits after N frames, which lets the tests run it; "--print-pdf FILE" and
// "--save-bmp FILE" do the same as the keys just before, and a failure exits with 1.
#include "glpanel/openglpanel.h"
#include "glpanel/panelfailure.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QShortcut>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

void printToPdf(TOpenGLPanel *panel, const QString &fileName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    panel->PrintOpenGLPanel(printer);
}

// The panel reports an untaken picture through its failure report and a
// failed file in an exception.
bool outputWorked(const std::function<void()> &output)
{
    bool reported = false;
    const PanelFailureReport previous = SetPanelFailureReport([&](const QString &text) {
        reported = true;
        std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    bool worked = true;
    try {
        output();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        worked = false;
    }
    SetPanelFailureReport(previous);
    return worked && !reported;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype framesAt = arguments.indexOf(QStringLiteral("--frames"));
    const int frameLimit = framesAt >= 0 ? arguments.value(framesAt + 1).toInt() : 0;
    const auto option = [&arguments](const char *name) {
        const qsizetype at = arguments.indexOf(QLatin1String(name));
        return at >= 0 ? arguments.value(at + 1) : QString();
    };
    const QString pdfAtEnd = option("--print-pdf");
    const QString bmpAtEnd = option("--save-bmp");
    int frames = 0;

    QWidget window;
    window.setWindowTitle(QStringLiteral("OpenGL panel (P: print to PDF, S: save BMP)"));
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

    const auto onKey = [&window](const char *key, const std::function<void()> &output) {
        QObject::connect(new QShortcut(QKeySequence(QLatin1String(key)), &window),
            &QShortcut::activated, &window, [&window, output] {
                try {
                    output();
                } catch (const std::exception &error) {
                    QMessageBox::warning(&window, QString(), QString::fromLocal8Bit(error.what()));
                }
            });
    };
    onKey("P", [panel] { printToPdf(panel, QStringLiteral("glpanel-example.pdf")); });
    onKey("S", [panel] { panel->SaveOpenGLPanelToFile(QStringLiteral("glpanel-example.bmp")); });

    int exitCode = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, panel, [&] {
        angle = std::fmod(angle + 2.0f, 360.0f);
        panel->Repaint();
        if (frameLimit <= 0 || frames < frameLimit)
            return;
        timer.stop();
        if (!pdfAtEnd.isEmpty() && !outputWorked([&] { printToPdf(panel, pdfAtEnd); }))
            exitCode = 1;
        if (!bmpAtEnd.isEmpty() && !outputWorked([&] { panel->SaveOpenGLPanelToFile(bmpAtEnd); }))
            exitCode = 1;
        app.exit(exitCode);
    });
    timer.start(20);

    window.show();
    return app.exec();
}
