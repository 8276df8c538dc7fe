#pragma once

#include <QFont>
#include <QPointF>
#include <QRect>

#include <optional>

class QPainter;

class QWidget;

enum class WindowSizing { Sizeable, Fixed };

// Places a window as its form does: the frame's top-left corner at (left, top)
// and a client area of width × height; shown, it stays on its screen (ScreenFit).
void PlaceWindow(QWidget &window, int left, int top, int width, int height, WindowSizing sizing);

// Where a window whose frame is frame large goes beside neighbour: right of
// it, or else left of it, their tops level as far as available allows; none
// where neither side has room within available.
std::optional<QPoint> PositionBeside(
    const QRect &neighbour, const QSize &frame, const QRect &available);

// Puts a control where its form has it, under the form's name for it.
template <typename Control>
Control *PlaceControl(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(left, top, width, height);
    return control;
}

// A form's font: the forms give character heights in pixels.
QFont PixelFont(const QString &family, int pixelSize, bool bold = false);

// A canvas coordinate: truncated toward zero and kept within what QPainter
// can take; NaN (from a computation that overflowed) lands on 0.
int ToPixel(double value);

// Within its scope, aliased lines of the painter's pen fall on the pixels of
// the designed picture scaled by the device pixel ratio. The pictures were
// designed at a ratio of 1, where Qt draws a line of odd width half a pixel
// right of and below its coordinates; at any other ratio it centres the line
// on them, a device pixel off. Fills and text keep their places: only lines
// belong in the scope.
class DesignedLines
{
public:
    explicit DesignedLines(QPainter &painter);
    ~DesignedLines();
    DesignedLines(const DesignedLines &) = delete;
    DesignedLines &operator=(const DesignedLines &) = delete;

private:
    QPainter &m_painter;
    QPointF m_offset;
};
