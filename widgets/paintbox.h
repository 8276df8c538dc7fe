#pragma once

#include "widgets/chartpalette.h"

#include <QWidget>

#include <functional>

class QPainter;

// A plain 2-D canvas: every paint calls OnPaint with a painter on the widget,
// set to the widget's font, and the screen's colours. It paints no background
// of its own unless told to fill itself with the button face first. Printing
// and SVG call OnPaint on their own painters with the paper's colours.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TPaintBox(QWidget *parent = nullptr);

    std::function<void(QPainter &canvas, const ChartColours &colours)> OnPaint;

    // Filled, the box covers all of itself, so nothing behind it is painted.
    void SetFillsBackground(bool fills);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_fillsBackground = false;
};
