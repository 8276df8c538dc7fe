#include "widgets/screenfit.h"

#include <QEvent>
#include <QFrame>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <algorithm>

QRect FittedFrame(const QRect &designed, const QRect &available)
{
    const QSize size = designed.size().boundedTo(available.size());
    const int left
        = std::clamp(designed.left(), available.left(), available.right() + 1 - size.width());
    const int top
        = std::clamp(designed.top(), available.top(), available.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

ScreenFit::ScreenFit(QWidget &window)
    : QObject(&window)
    , m_window(window)
    , m_designedSize(window.size())
{
    window.installEventFilter(this);
}

bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    // Before the window system maps the window: it appears where it stays.
    if (watched == &m_window && event->type() == QEvent::Show && !event->spontaneous())
        fit();
    return QObject::eventFilter(watched, event);
}

QMargins ScreenFit::frameMargins() const
{
    if (const QWindow *handle = m_window.windowHandle(); handle && !handle->frameMargins().isNull())
        return handle->frameMargins();
    const int border = m_window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return QMargins(
        border, m_window.style()->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
}

void ScreenFit::fit()
{
    const QScreen *screen = m_window.screen();
    if (!screen)
        return;
    const QMargins margins = frameMargins();
    const QSize wanted = m_scrolls ? m_designedSize : m_window.size();
    const QRect designed(m_window.pos(), wanted.grownBy(margins));
    const QRect frame = FittedFrame(designed, screen->availableGeometry());
    const QSize client = frame.size().shrunkBy(margins);
    if (client != m_window.size()) {
        if (client.width() < wanted.width() || client.height() < wanted.height())
            scrollControls();
        if (m_window.minimumSize() == m_window.maximumSize())
            m_window.setFixedSize(client);
        else
            m_window.resize(client);
    }
    m_window.move(frame.topLeft());
}

void ScreenFit::scrollControls()
{
    if (m_scrolls || m_window.layout())
        return;
    m_scrolls = true;
    auto *surface = new QWidget;
    surface->setObjectName(QStringLiteral("screenFitSurface"));
    surface->setFixedSize(m_designedSize);
    for (QWidget *control : m_window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        const bool hidden = control->isHidden();
        const QRect place = control->geometry();
        control->setParent(surface);
        control->setGeometry(place);
        control->setVisible(!hidden);
    }
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("screenFitScrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(surface);
    auto *layout = new QVBoxLayout(&m_window);
    layout->setContentsMargins(QMargins());
    layout->addWidget(scroll);
}
