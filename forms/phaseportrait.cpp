#include "phaseportrait.h"

#include "formgeometry.h"
#include "localisation.h"

TForm5 *Form5 = nullptr;

TForm5::TForm5(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Фазовый портрет"));
    PlaceWindow(*this, 86, 87, 621, 473, WindowSizing::Fixed);
    RunLocalisationStep(*this, 4);
}
