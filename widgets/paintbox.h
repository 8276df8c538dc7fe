#pragma once

#include <QWidget>

#include <functional>

class QPainter;

// A plain 2-D canvas: every paint calls OnPaint with a painter on the widget,
// set to the widget's font. It paints no background of its own unless told to
// fill itself with the button face first.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TPaintBox(QWidget *parent = nullptr);

    std::function<void(QPainter &canvas)> OnPaint;

    // Filled, the box covers all of itself, so nothing behind it is painted.
    void SetFillsBackground(bool fills);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_fillsBackground = false;
};
