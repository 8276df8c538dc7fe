#pragma once

#include <QWidget>

#include <functional>

class QPainter;

// A plain 2-D canvas: every paint calls OnPaint with a painter on the widget,
// set to the widget's font. It paints no background of its own.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TPaintBox(QWidget *parent = nullptr);

    std::function<void(QPainter &canvas)> OnPaint;

protected:
    void paintEvent(QPaintEvent *event) override;
};
