#include "widgets/paintbox.h"

#include <QPainter>
#include <QPalette>

TPaintBox::TPaintBox(QWidget *parent)
    : QWidget(parent)
{ }

void TPaintBox::SetFillsBackground(bool fills)
{
    m_fillsBackground = fills;
    setAttribute(Qt::WA_OpaquePaintEvent, fills);
}

void TPaintBox::paintEvent(QPaintEvent *)
{
    if (!OnPaint && !m_fillsBackground)
        return;
    QPainter canvas(this);
    if (m_fillsBackground)
        canvas.fillRect(rect(), palette().color(QPalette::Button));
    canvas.setFont(font());
    if (OnPaint)
        OnPaint(canvas, ChartColours::Screen());
}
