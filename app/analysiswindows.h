#pragma once

#include <QObject>

class EnergyWindow;
class ResonanceWindow;
class TForm2;

// Opens the resonance and energy windows on the main window's requests, with
// its current parameters and motion. Each window is made at its first
// opening, as a child of the main window; this object is one too.
class AnalysisWindows : public QObject
{
    Q_OBJECT

public:
    explicit AnalysisWindows(TForm2 &mainWindow);

private:
    void OpenResonance();
    void OpenEnergy();

    TForm2 &m_mainWindow;
    ResonanceWindow *m_resonance = nullptr;
    EnergyWindow *m_energy = nullptr;
};
