#include "paintbox.h"

#include <QPainter>

TPaintBox::TPaintBox(QWidget *parent)
    : QWidget(parent)
{ }

void TPaintBox::paintEvent(QPaintEvent *)
{
    if (!OnPaint)
        return;
    QPainter canvas(this);
    canvas.setFont(font());
    OnPaint(canvas);
}
