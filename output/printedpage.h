#pragma once

#include "widgets/chartpalette.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class QPaintDevice;
class QWidget;
class TOpenGLPanel;
class TPaintBox;

// One line of a handout's parameter table, as the parameters dialog shows it.
struct HandoutParameter
{
    QString name;
    QString value;
};

// A curve named under the chart beside a sample of its line, so that a page
// printed in grey tells which line is which where the window's names do not.
struct HandoutCurve
{
    ChartLine line;
    QString name;
};

// What a printed chart carries besides the chart: the window's caption, what
// the window says of how the chart was made and the values it was computed from.
struct Handout
{
    QString title;
    // The part of the window printed as the chart, in its coordinates: the
    // canvas with the captions around it that name its axes. Empty: the canvas.
    QRect chart;
    QList<HandoutCurve> curves; // under the chart, in the paper's colours
    QStringList notes; // lines under the curves
    QString parametersCaption; // above the table; no table without parameters
    QList<HandoutParameter> parameters;
};

// One page: the title, dateLine, the chart drawn as lines and text across the
// printable width within the margins, keeping its proportions (smaller only
// when the page is too short), the curves, the notes and the parameter table
// below it.
// The chart is the handout's part of window, or else canvas alone, in the
// paper's colours. Throws PrintFailure.
void PrintHandout(const QWidget &window, const TPaintBox &canvas, const Handout &handout,
    const QString &dateLine, QPaintDevice &page);
// Whether PrintHandout is drawing widget now: a chart zoomed in on the
// screen puts the whole of its data on paper.
bool OnPrintedPage(const QWidget &widget);

// The panel's own printing at the pixels per inch that make its picture as
// wide as the printable area, or as high where the page is too short; the
// panel's print settings stay the user's. Throws PrintFailure.
void PrintPanelFitted(TOpenGLPanel &panel, QPaintDevice &page);
