#include "forms/scene.h"

#include "glpanel/openglpanel.h"

#include <GL/gl.h>

#include <cmath>

namespace {

float Sign(float value)
{
    return value < 0 ? -1.0f : 1.0f;
}

// The larger magnitude of a range's ends: the reference of a force arrow.
float Reference(const SeriesRange &range)
{
    return std::fabs(range.max) > std::fabs(range.min) ? std::fabs(range.max)
                                                       : std::fabs(range.min);
}

void quad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

void line(float x0, float y0, float x1, float y1)
{
    glBegin(GL_LINES);
    glVertex2f(x0, y0);
    glVertex2f(x1, y1);
    glEnd();
}

void drawPlane(float angle, float lineScale)
{
    glColor3f(0.5f, 0.5f, 0.5f);
    if (angle == 0 || angle == 90) {
        glLineWidth(3 * lineScale);
        line(0, 0, angle == 0 ? 230 : 0, angle == 0 ? 0 : 230);
        return;
    }
    const double a = angle * 3.141592654 / 180;
    glBegin(GL_TRIANGLES);
    glVertex2d(0, 0);
    glVertex2d(230 * std::cos(a), 0);
    glVertex2d(230 * std::cos(a), 230 * std::sin(a));
    glEnd();
}

void drawSpring(float end, float pitch)
{
    glBegin(GL_LINE_STRIP);
    float s = 1;
    // A non-positive pitch would never reach the end.
    for (float u = 0; u < end && pitch > 0; u += pitch) {
        glVertex2f(u - 10, 10 + 5 * s);
        s = -s;
    }
    glEnd();
}

// An arrow needs a reference to scale by; a zero or undefined one (the mass
// never moved) draws nothing rather than an arrow of undefined length.
void drawVectorArrow(float r, float g, float b, float value, float reference, float lineScale)
{
    if (reference == 0 || !std::isfinite(reference))
        return;
    glPushMatrix();
    glTranslated(0, 15, 0);
    glColor3f(r, g, b);
    DrawArrow(value, reference, lineScale);
    glPopMatrix();
}

} // namespace

int SetUpSceneView(int width, int height)
{
    const double aspect = height == 0 ? width : static_cast<double>(width) / height;
    glViewport(0, 0, width, height);
    glLoadIdentity();
    const int sceneWidth = static_cast<int>(260 * aspect);
    glOrtho(0, sceneWidth, 0, 260, 0, 1);
    return sceneWidth;
}

void DrawArrow(float a, float r, float lineScale)
{
    const float length = 40 * a / r;
    const float tip = Sign(length) * length;
    glPushMatrix();
    if (a < 0)
        glRotated(180, 0, 0, 1);
    glLineWidth(3 * lineScale);
    line(0, 0, tip, 0);
    glBegin(GL_TRIANGLES);
    glVertex2f(tip, -2.5f);
    glVertex2f(tip, 2.5f);
    glVertex2f(tip + 5, 0);
    glEnd();
    glPopMatrix();
}

void DrawScene(const SceneFrame &frame, TOpenGLPanel &panel)
{
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    glTranslated(60, 20, 0);
    drawPlane(frame.PlaneAngle, frame.LineScale);

    glPushMatrix();
    glRotated(frame.PlaneAngle, 0, 0, 1);
    quad(0, 0, 10, 30); // the spring's support, still grey

    glColor3f(0.2f, 0.2f, 0.2f);
    glLineWidth(2 * frame.LineScale);
    const bool damped = frame.Damping != 0;
    if (damped) {
        line(0, 45, 230, 45);
        line(0, 35, 230, 35);
    }
    glTranslated(20, 0, 0);

    // 0.4 is the drawing's own spring length, whatever the parameter says.
    const float d = frame.OriginPosition - 0.4f + frame.Coordinate;
    const float S = frame.SceneScale;
    const float massPosition = d * S + 100;
    const float springEnd = d * S + 110;
    const float pitch = (d * S + 110) * 0.05f;
    drawSpring(springEnd, pitch);

    glPushMatrix();
    glTranslated(massPosition, 0, 0);
    if (damped) {
        line(0, 0, 0, 37);
        quad(-5, 36, 5, 44);
    }
    quad(-10, 0, 10, 30); // the mass covers the spring's end

    const SeriesRange &velocity = frame.VelocityRange;
    if (frame.ShowVelocity && (velocity.max != 0 || velocity.min != 0))
        drawVectorArrow(0, 0, 1, frame.Velocity, Reference(velocity), frame.LineScale);
    if (frame.ShowResistance && damped)
        drawVectorArrow(
            0, 1, 0, frame.ResistanceForce, Reference(frame.ResistanceRange), frame.LineScale);
    if (frame.ShowElastic && frame.Stiffness != 0)
        drawVectorArrow(
            1, 0, 1, frame.ElasticForce, Reference(frame.ElasticRange), frame.LineScale);
    if (frame.ShowDriving && frame.ForceAmplitude != 0)
        drawVectorArrow(1, 0, 0, frame.DrivingForce, frame.ForceAmplitude, frame.LineScale);
    glPopMatrix();

    const float origin = (frame.OriginPosition - 0.4f) * S + 100;
    glColor3f(1, 0, 0);
    glLineWidth(2 * frame.LineScale);
    line(origin, 0, origin, 60);
    // An origin far off the view (or NaN, from a mass or stiffness of 0) has
    // no whole-number position; the label would fall outside the view anyway.
    if (std::fabs(origin) < 1e9f) {
        glRasterPos2i(static_cast<int>(origin + 5), 60);
        panel.Draw2DText("s0");
    }

    glPopMatrix();
    glPopMatrix();
}
