#pragma once

#include "model/motionmodel.h"

class TOpenGLPanel;

// What one frame of the animation shows: one sample of the motion and the
// parameters and options that shape the picture.
struct SceneFrame
{
    float PlaneAngle = 0; // degrees
    float Damping = 0;
    float Stiffness = 0;
    float ForceAmplitude = 0;
    float OriginPosition = 0;
    float SceneScale = 0;
    float Coordinate = 0;
    float Velocity = 0;
    float ResistanceForce = 0;
    float ElasticForce = 0;
    float DrivingForce = 0;
    SeriesRange VelocityRange;
    SeriesRange ResistanceRange;
    SeriesRange ElasticRange;
    bool ShowVelocity = false;
    bool ShowResistance = false;
    bool ShowElastic = false;
    bool ShowDriving = false;
    float LineScale = 1; // device pixels per logical pixel, for line widths
};

// The view: 260 scene units high, origin at the lower left. Sets the viewport
// and projection for a panel of width × height pixels and returns the view's
// width in scene units.
int SetUpSceneView(int width, int height);

// Draws the plane, support, damper, spring, mass, arrows and origin marker.
void DrawScene(const SceneFrame &frame, TOpenGLPanel &panel);

// An arrow of 40 · a / r units along the current x axis, turned round for a
// negative value, with a 5-unit head.
void DrawArrow(float a, float r, float lineScale = 1);
