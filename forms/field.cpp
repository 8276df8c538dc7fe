#include "field.h"

#include "formgeometry.h"
#include "localisation.h"
#include "parameterfile.h"

#include <QShowEvent>

TForm2 *Form2 = nullptr;

TForm2::TForm2(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Визуализация"));
    PlaceWindow(*this, 60, 113, 807, 467, WindowSizing::Sizeable);
    RunLocalisationStep(*this, 0);
}

TForm2::~TForm2() = default;

bool TForm2::ReadParameterFile()
{
    if (::ReadParameterFile(ParameterFilePath(), ModelParameters))
        return true;
    ReportParameterFileFailure();
    return false;
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is a spontaneous show, not a new showing.
    if (!event->spontaneous())
        FormShow();
}

void TForm2::FormShow()
{
    if (!ReadParameterFile())
        return;
}
