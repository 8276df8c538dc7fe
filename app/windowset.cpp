#include "windowset.h"

#include "errorreportingapplication.h"

#include "choice.h"
#include "field.h"
#include "graph.h"
#include "input1.h"
#include "phaseportrait.h"

WindowSet::WindowSet()
    : m_form2(Form2)
    , m_form3(Form3)
    , m_form8(Form8)
    , m_form9(Form9)
    , m_form5(Form5)
{
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
