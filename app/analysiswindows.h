#pragma once

#include <QObject>

class EnergyWindow;
class ExploreWindow;
class ResonanceWindow;
class TForm2;
class MotionModel;
struct ModelParameters;

// Opens the resonance, energy and explore windows on the main window's
// requests. Each window is made at its first opening, as a child of the main
// window; this object is one too. While the explore window is open, the
// resonance and energy windows follow its values; otherwise they show the
// main window's, those of the parameter file. Values applied in the explore
// window reach the main window through the parameter file, as the
// parameters dialog's do.
class AnalysisWindows : public QObject
{
    Q_OBJECT

public:
    explicit AnalysisWindows(TForm2 &mainWindow);

private:
    void OpenResonance();
    void OpenEnergy();
    void OpenExplore();
    // The explore window's values, or the file's when it is closed.
    void FollowValues(const ModelParameters &values);
    void FollowMotion(const ModelParameters &values, const MotionModel *motion);
    void FollowFile();
    bool Exploring() const;

    TForm2 &m_mainWindow;
    ResonanceWindow *m_resonance = nullptr;
    EnergyWindow *m_energy = nullptr;
    ExploreWindow *m_explore = nullptr;
};
