#include "choice.h"

#include "formgeometry.h"
#include "localisation.h"

TForm9 *Form9 = nullptr;

TForm9::TForm9(QWidget *parent)
    : QDialog(parent)
{
    PlaceWindow(*this, 192, 114, 250, 138, WindowSizing::Sizeable);
    RunLocalisationStep(*this, 3);
}
