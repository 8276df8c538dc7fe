#include "app/windowset.h"

#include "app/analysiswindows.h"
#include "app/errorreportingapplication.h"
#include "forms/choice.h"
#include "forms/field.h"
#include "forms/graph.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"

WindowSet::WindowSet()
    : m_form2(Form2)
    , m_form3(Form3)
    , m_form8(Form8)
    , m_form9(Form9)
    , m_form5(Form5)
{
    new AnalysisWindows(*Form2); // a child of the main window
}

WindowSet::~WindowSet() = default;

int RunProgram()
{
    return RunReportingErrors([] {
        WindowSet windows;
        Form2->show();
        QApplication::exec();
    });
}
