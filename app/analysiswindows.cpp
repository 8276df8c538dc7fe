#include "app/analysiswindows.h"

#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "forms/field.h"
#include "forms/input1.h"
#include "output/picturemenu.h"

#include <array>

namespace {

// The chart of window prints with parameters, those of the motion it shows.
void printWithParameters(
    PictureMenu &menu, const QWidget &window, const ModelParameters &parameters)
{
    menu.SetHandout([&window, &parameters] { return ParameterHandout(window, parameters); });
}

} // namespace

AnalysisWindows::AnalysisWindows(TForm2 &mainWindow)
    : QObject(&mainWindow)
    , m_mainWindow(mainWindow)
{
    connect(&mainWindow, &TForm2::ResonanceRequested, this, &AnalysisWindows::OpenResonance);
    connect(&mainWindow, &TForm2::EnergyRequested, this, &AnalysisWindows::OpenEnergy);
    connect(&mainWindow, &TForm2::ExploreRequested, this, &AnalysisWindows::OpenExplore);
}

void AnalysisWindows::OpenResonance()
{
    if (!m_resonance) {
        m_resonance = new ResonanceWindow(&m_mainWindow);
        printWithParameters(*m_resonance->ChartMenu, *m_resonance, m_mainWindow.ModelParameters);
    }
    m_resonance->Open(m_mainWindow.ModelParameters);
}

void AnalysisWindows::OpenEnergy()
{
    if (!m_energy) {
        m_energy = new EnergyWindow(&m_mainWindow);
        printWithParameters(*m_energy->ChartMenu, *m_energy, m_mainWindow.ModelParameters);
    }
    m_energy->Open(m_mainWindow.ModelParameters, m_mainWindow.Motion);
}

void AnalysisWindows::OpenExplore()
{
    if (!m_explore) {
        std::array<QString, ModelParameters::Count> captions;
        for (std::size_t i = 0; i < captions.size(); ++i)
            captions[i] = Form3->ParameterCaption(i);
        m_explore = new ExploreWindow(captions, &m_mainWindow);
        connect(m_explore, &ExploreWindow::Applied, &m_mainWindow, &TForm2::ReloadParameterFile);
        // Its chart is drawn from the values the sliders give.
        m_explore->ChartMenu->SetHandout(
            [explore = m_explore] { return ParameterHandout(*explore, explore->Values()); });
    }
    m_explore->Open(m_mainWindow.ModelParameters);
}
