#include "app/analysiswindows.h"

#include "analysis/energywindow.h"
#include "analysis/resonancewindow.h"
#include "forms/field.h"
#include "output/picturemenu.h"

namespace {

// The window's chart prints with the parameters of the main window's motion,
// which the window shows.
void printWithParameters(PictureMenu &menu, const QWidget &window)
{
    menu.SetHandout([&window] { return MainWindowHandout(window); });
}

} // namespace

AnalysisWindows::AnalysisWindows(TForm2 &mainWindow)
    : QObject(&mainWindow)
    , m_mainWindow(mainWindow)
{
    connect(&mainWindow, &TForm2::ResonanceRequested, this, &AnalysisWindows::OpenResonance);
    connect(&mainWindow, &TForm2::EnergyRequested, this, &AnalysisWindows::OpenEnergy);
}

void AnalysisWindows::OpenResonance()
{
    if (!m_resonance) {
        m_resonance = new ResonanceWindow(&m_mainWindow);
        printWithParameters(*m_resonance->PaintBox1Menu, *m_resonance);
    }
    m_resonance->Open(m_mainWindow.ModelParameters);
}

void AnalysisWindows::OpenEnergy()
{
    if (!m_energy) {
        m_energy = new EnergyWindow(&m_mainWindow);
        printWithParameters(*m_energy->PaintBox1Menu, *m_energy);
    }
    m_energy->Open(m_mainWindow.ModelParameters, m_mainWindow.Motion);
}
