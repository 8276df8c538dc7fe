#pragma once

#include <QObject>

class EnergyWindow;
class ExploreWindow;
class ResonanceWindow;
class TForm2;

// Opens the resonance, energy and explore windows on the main window's
// requests, with its current parameters and motion. Each window is made at
// its first opening, as a child of the main window; this object is one too.
// Values applied in the explore window reach the main window through the
// parameter file, as the parameters dialog's do.
class AnalysisWindows : public QObject
{
    Q_OBJECT

public:
    explicit AnalysisWindows(TForm2 &mainWindow);

private:
    void OpenResonance();
    void OpenEnergy();
    void OpenExplore();

    TForm2 &m_mainWindow;
    ResonanceWindow *m_resonance = nullptr;
    EnergyWindow *m_energy = nullptr;
    ExploreWindow *m_explore = nullptr;
};
