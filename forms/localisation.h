#pragma once

#include <functional>

class QWidget;

// Every window runs the installed localisation step at the end of its
// construction, with its section index (0 main window ... 4 phase portrait,
// 5 resonance curve, 6 energy).
using LocalisationStep = std::function<void(QWidget &window, int section)>;

// Returns the previous step; an empty step localises nothing.
LocalisationStep SetLocalisationStep(LocalisationStep step);
void RunLocalisationStep(QWidget &window, int section);
