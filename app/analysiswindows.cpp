#include "app/analysiswindows.h"

#include "analysis/energywindow.h"
#include "analysis/explorechart.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "forms/field.h"
#include "forms/input1.h"
#include "output/picturemenu.h"

#include <array>

namespace {

// The page of window's chart: the values it was drawn from, and what the
// window says under it.
template <typename Window>
Handout handoutWithNotes(const Window &window, const ModelParameters &values)
{
    Handout handout = ParameterHandout(window, values);
    handout.notes = window.HandoutNotes();
    return handout;
}

} // namespace

AnalysisWindows::AnalysisWindows(TForm2 &mainWindow)
    : QObject(&mainWindow)
    , m_mainWindow(mainWindow)
{
    connect(&mainWindow, &TForm2::ResonanceRequested, this, &AnalysisWindows::OpenResonance);
    connect(&mainWindow, &TForm2::EnergyRequested, this, &AnalysisWindows::OpenEnergy);
    connect(&mainWindow, &TForm2::ExploreRequested, this, &AnalysisWindows::OpenExplore);
    connect(&mainWindow, &TForm2::ParameterFileReloaded, this, [this] {
        if (!Exploring())
            FollowFile();
    });
}

bool AnalysisWindows::Exploring() const
{
    return m_explore && m_explore->isVisible();
}

void AnalysisWindows::OpenResonance()
{
    if (!m_resonance) {
        m_resonance = new ResonanceWindow(&m_mainWindow);
        m_resonance->ChartMenu->SetHandout([resonance = m_resonance] {
            return handoutWithNotes(*resonance, resonance->Parameters());
        });
    }
    if (Exploring())
        m_resonance->Open(m_explore->Values(), ParameterSource::Explore);
    else
        m_resonance->Open(m_mainWindow.ModelParameters, ParameterSource::File);
}

void AnalysisWindows::OpenEnergy()
{
    if (!m_energy) {
        m_energy = new EnergyWindow(&m_mainWindow);
        m_energy->ChartMenu->SetHandout(
            [energy = m_energy] { return handoutWithNotes(*energy, energy->Parameters()); });
    }
    if (Exploring())
        m_energy->Open(m_explore->Values(), m_explore->Chart->Motion(), ParameterSource::Explore);
    else
        m_energy->Open(m_mainWindow.ModelParameters, &m_mainWindow.Motion, ParameterSource::File);
}

void AnalysisWindows::OpenExplore()
{
    if (!m_explore) {
        std::array<QString, ModelParameters::Count> captions;
        for (std::size_t i = 0; i < captions.size(); ++i)
            captions[i] = Form3->ParameterCaption(i);
        m_explore = new ExploreWindow(captions, &m_mainWindow);
        connect(m_explore, &ExploreWindow::Applied, &m_mainWindow, &TForm2::ReloadParameterFile);
        connect(m_explore, &ExploreWindow::ValuesShown, this, &AnalysisWindows::FollowValues);
        connect(m_explore, &ExploreWindow::MotionShown, this, &AnalysisWindows::FollowMotion);
        connect(m_explore, &ExploreWindow::Closed, this, &AnalysisWindows::FollowFile);
        // Its chart is drawn from the values the sliders give; what they
        // mean, as the window derives it, goes under it.
        m_explore->ChartMenu->SetHandout(
            [explore = m_explore] { return handoutWithNotes(*explore, explore->Values()); });
    }
    m_explore->Open(m_mainWindow.ModelParameters);
}

void AnalysisWindows::FollowValues(const ModelParameters &values)
{
    if (m_resonance)
        m_resonance->Follow(values, ParameterSource::Explore);
}

void AnalysisWindows::FollowMotion(const ModelParameters &values, const MotionModel *motion)
{
    if (m_energy)
        m_energy->Follow(values, motion, ParameterSource::Explore);
}

void AnalysisWindows::FollowFile()
{
    if (m_resonance)
        m_resonance->Follow(m_mainWindow.ModelParameters, ParameterSource::File);
    if (m_energy)
        m_energy->Follow(m_mainWindow.ModelParameters, &m_mainWindow.Motion, ParameterSource::File);
}
