#include "graph.h"

#include "formgeometry.h"
#include "localisation.h"

TForm8 *Form8 = nullptr;

TForm8::TForm8(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Графики"));
    PlaceWindow(*this, 187, 195, 700, 473, WindowSizing::Fixed);
    RunLocalisationStep(*this, 2);
}
