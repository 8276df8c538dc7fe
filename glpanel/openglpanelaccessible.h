#pragma once

// Makes assistive tools see each TOpenGLPanel as one picture, named and
// described by the panel's accessible name and description: the native
// window inside it is plumbing. Safe to call more than once.
void InstallOpenGLPanelAccessibility();
