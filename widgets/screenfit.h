#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window's frame goes on a screen: at its designed place where that
// lies wholly inside available, else moved in as little as it takes; a frame
// larger than available is cut to it, the window then scrolling.
QRect FittedFrame(const QRect &designed, const QRect &available);

// Keeps a window wholly on the available area of its screen each time it is
// shown, its designed place kept where it fits. Cut smaller than its design,
// the window shows its controls in a scroll area; a window that lays out
// its own content (with a layout of its own) is only resized. Made by
// PlaceWindow for every window; a child of the window.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    explicit ScreenFit(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fit();
    // The frame around the client area: the window system's once known,
    // a title bar's and a border's before.
    QMargins frameMargins() const;
    void scrollControls();

    QWidget &m_window;
    const QSize m_designedSize; // of the client area
    bool m_scrolls = false;
};
