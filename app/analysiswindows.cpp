#include "app/analysiswindows.h"

#include "analysis/energywindow.h"
#include "analysis/resonancewindow.h"
#include "forms/field.h"

AnalysisWindows::AnalysisWindows(TForm2 &mainWindow)
    : QObject(&mainWindow)
    , m_mainWindow(mainWindow)
{
    connect(&mainWindow, &TForm2::ResonanceRequested, this, &AnalysisWindows::OpenResonance);
    connect(&mainWindow, &TForm2::EnergyRequested, this, &AnalysisWindows::OpenEnergy);
}

void AnalysisWindows::OpenResonance()
{
    if (!m_resonance)
        m_resonance = new ResonanceWindow(&m_mainWindow);
    m_resonance->Open(m_mainWindow.ModelParameters);
}

void AnalysisWindows::OpenEnergy()
{
    if (!m_energy)
        m_energy = new EnergyWindow(&m_mainWindow);
    m_energy->Open(m_mainWindow.ModelParameters, m_mainWindow.Motion);
}
