#pragma once

#include <functional>

class QWidget;

// The windows in the order of their sections in the localisation file.
enum class LocalisationSection {
    MainWindow,
    ParametersDialog,
    Graphs,
    GraphChoice,
    PhasePortrait,
    // Beyond the designed windows: files made before them may lack these.
    Resonance,
    Energy,
    Explore,
};

// Every window runs the installed localisation step at the end of its
// construction, with its section.
using LocalisationStep = std::function<void(QWidget &window, LocalisationSection section)>;

// Returns the previous step; an empty step localises nothing.
LocalisationStep SetLocalisationStep(LocalisationStep step);
void RunLocalisationStep(QWidget &window, LocalisationSection section);
