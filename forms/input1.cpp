#include "input1.h"

#include "formgeometry.h"
#include "localisation.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Параметры моделирования"));
    PlaceWindow(*this, 175, 30, 741, 385, WindowSizing::Fixed);
    RunLocalisationStep(*this, 1);
}
