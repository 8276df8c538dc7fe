#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QPaintDevice;
class QWidget;
class TOpenGLPanel;

// One line of a handout's parameter table, as the parameters dialog shows it.
struct HandoutParameter
{
    QString name;
    QString value;
};

// What a printed chart carries besides the chart: the window's caption and
// the values the chart was computed from.
struct Handout
{
    QString title;
    // The part of the window printed as the chart, in its coordinates: the
    // canvas with the captions around it that name its axes. Empty: the canvas.
    QRect chart;
    QString parametersCaption; // above the table; no table without parameters
    QList<HandoutParameter> parameters;
};

// One page: the title, dateLine, the chart painted as vectors across the
// printable width within the margins, keeping its proportions (smaller only
// when the page is too short), and the parameter table below it. The chart is
// the handout's part of window, or else canvas alone, on the paper's white
// instead of the surface it lies on. Throws PrintFailure.
void PrintHandout(QWidget &window, QWidget &canvas, const Handout &handout, const QString &dateLine,
    QPaintDevice &page);
// Whether PrintHandout is painting widget now: a chart zoomed in on the
// screen puts the whole of its data on paper.
bool OnPrintedPage(const QWidget &widget);

// The panel's own printing at the pixels per inch that make its picture as
// wide as the printable area, or as high where the page is too short; the
// panel's print settings stay the user's. Throws PrintFailure.
void PrintPanelFitted(TOpenGLPanel &panel, QPaintDevice &page);
