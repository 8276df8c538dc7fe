#include "widgets/formgeometry.h"

#include "widgets/screenfit.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

void PlaceWindow(QWidget &window, int left, int top, int width, int height, WindowSizing sizing)
{
    if (sizing == WindowSizing::Fixed)
        window.setFixedSize(width, height);
    else
        window.resize(width, height);
    window.move(left, top);
    new ScreenFit(window);
}

std::optional<QPoint> PositionBeside(
    const QRect &neighbour, const QSize &frame, const QRect &available)
{
    const int top = std::clamp(neighbour.top(), available.top(),
        std::max(available.top(), available.bottom() + 1 - frame.height()));
    if (available.right() - neighbour.right() >= frame.width())
        return QPoint(neighbour.right() + 1, top);
    if (neighbour.left() - available.left() >= frame.width())
        return QPoint(neighbour.left() - frame.width(), top);
    return std::nullopt;
}

QFont PixelFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    // Without the bitmap font its nearest installed match is far wider than
    // the forms were laid out for; Arial's metric twin comes close.
    if (family == QLatin1String("MS Sans Serif"))
        font.setFamilies({ family, QStringLiteral("Liberation Sans") });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

int ToPixel(double value)
{
    constexpr double limit = 1 << 20;
    if (std::isnan(value))
        return 0;
    return int(std::clamp(value, -limit, limit));
}

DesignedLines::DesignedLines(QPainter &painter)
    : m_painter(painter)
{
    const QPaintDevice *device = painter.device();
    if (device && device->devicePixelRatioF() != 1 && painter.pen().width() % 2 == 1)
        m_offset = QPointF(0.5, 0.5);
    painter.translate(m_offset);
}

DesignedLines::~DesignedLines()
{
    m_painter.translate(-m_offset);
}
