#pragma once

#include "services/localisationhook.h"

#include <QString>

class QWidget;

// The dynamic property of a localised window that holds its font's character
// set (0 ANSI, 204 Cyrillic, ...).
inline constexpr char FontCharsetProperty[] = "FontCharset";

// "mirvane.xml" in the executable's folder, in both builds.
QString LocalisationFilePath();

// The localisation step of every window: without a file the window keeps its
// own captions; otherwise each entry of its section is applied in turn. The
// sections of the resonance and energy windows may be missing, those windows
// then keep their own texts. A broken file raises a LocalisationError out of
// the window's construction.
void ApplyLocalisation(QWidget &window, LocalisationSection section);
